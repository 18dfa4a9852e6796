// Any text as the number box's entry: the entry rules and the reading.
#include "core/entry_rules.h"
#include "core/reading.h"
#include "fuzz_support.h"

#include <algorithm>

namespace core = quendril::core;

namespace {

constexpr qsizetype kExamined = 9;

const core::ReadingTexts &referenceTable()
{
    static const core::ReadingTexts table = [] {
        core::ReadingTexts filled;
        core::FillReadingTable(filled);
        return filled;
    }();
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString entry = quendril::fuzz::textFromBytes(data, size);
    const QStringView examined = QStringView(entry).first(std::min(entry.size(), kExamined));
    const bool nineDigits = examined.size() == kExamined
        && std::all_of(examined.begin(), examined.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const auto zeros = std::count(examined.begin(), examined.end(), u'0');
    const bool allEqual = examined.size() == kExamined
        && std::all_of(examined.begin(), examined.end(), [&](QChar c) { return c == examined[0]; });

    const core::EntryVerdict verdict = core::checkEntry(entry);
    FUZZ_CHECK((verdict == core::EntryVerdict::Accepted) == core::entryMessage(verdict).isEmpty());
    FUZZ_CHECK((verdict == core::EntryVerdict::Empty) == entry.isEmpty());
    if (!entry.isEmpty())
        FUZZ_CHECK((verdict == core::EntryVerdict::TooManyZeros) == (zeros >= 4));
    if (!entry.isEmpty() && zeros < 4) {
        FUZZ_CHECK((verdict == core::EntryVerdict::TooShort) == (entry.size() < kExamined));
        if (entry.size() >= kExamined)
            FUZZ_CHECK((verdict == core::EntryVerdict::SameDigit) == allEqual);
    }

    // The state is kept from one reading to the next, as the program keeps it.
    static core::ReadingState state;
    const auto reading = core::computeReading(entry, state);
    if (!nineDigits) {
        FUZZ_CHECK(!reading);
        return 0;
    }
    int sum = 4;
    for (const QChar c : examined)
        sum += c.unicode() - u'0';
    if (sum > core::kLargestReadingNumber) {
        FUZZ_CHECK(!reading);
        return 0;
    }
    FUZZ_CHECK(reading);
    FUZZ_CHECK(reading->number == sum);
    FUZZ_CHECK(reading->text == referenceTable()[static_cast<std::size_t>(sum)]);
    FUZZ_CHECK(!reading->text.isEmpty());
    if (verdict == core::EntryVerdict::Accepted)
        FUZZ_CHECK(reading->number >= 10 && reading->number <= core::kLargestReadingNumber);
    return 0;
}
