#include "entry_rules.h"

namespace quendril::core {

namespace {

constexpr qsizetype kExaminedPositions = 9;

// The one-character text at a position, or an empty text past the end.
QStringView characterAt(QStringView entry, qsizetype position)
{
    return position < entry.size() ? entry.mid(position, 1) : QStringView();
}

} // namespace

EntryVerdict checkEntry(QStringView entry)
{
    if (entry.isEmpty())
        return EntryVerdict::Empty;

    int zeros = 0;
    for (qsizetype i = 0; i < kExaminedPositions; ++i) {
        if (characterAt(entry, i) == u"0")
            ++zeros;
    }
    if (zeros >= 4)
        return EntryVerdict::TooManyZeros;

    if (entry.size() < kExaminedPositions)
        return EntryVerdict::TooShort;

    int equalNeighbours = 0;
    QStringView previous;
    for (qsizetype i = 0; i < kExaminedPositions; ++i) {
        const QStringView current = characterAt(entry, i);
        if (current == previous)
            ++equalNeighbours;
        previous = current;
    }
    if (equalNeighbours >= 8)
        return EntryVerdict::SameDigit;

    return EntryVerdict::Accepted;
}

QString entryMessage(EntryVerdict verdict)
{
    switch (verdict) {
    case EntryVerdict::Accepted:
        return {};
    case EntryVerdict::Empty:
        return QStringLiteral("Please Enter Number !");
    case EntryVerdict::TooManyZeros:
        return QStringLiteral("You Can't Enter More Than Three Zeros!");
    case EntryVerdict::TooShort:
        return QStringLiteral("Please Enter A 9 Digit Numbers!");
    case EntryVerdict::SameDigit:
        return QStringLiteral("You Can't Enter Same Digit Numbers!");
    }
    return {};
}

} // namespace quendril::core
