#include "date_text.h"

#include <QRegularExpression>

#include <algorithm>

namespace quendril::site {

namespace {

// True when the format shows the year with exactly two digits.
bool hasTwoDigitYear(const QString &format)
{
    static const QRegularExpression kYearRun(QStringLiteral("y+"));
    auto runs = kYearRun.globalMatch(format);
    while (runs.hasNext()) {
        if (runs.next().capturedLength() == 2)
            return true;
    }
    return false;
}

QDate nearestCentury(QDate parsed, QDate today)
{
    QDate best = parsed;
    qint64 bestDistance = -1;
    for (int shift = -2; shift <= 2; ++shift) {
        const QDate candidate = parsed.addYears(100 * shift);
        if (!candidate.isValid())
            continue;
        const qint64 distance = qAbs(candidate.daysTo(today));
        if (bestDistance < 0 || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<QDate> localeTextToDate(const QString &text, const QLocale &locale, QDate today)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const QDate parsed = locale.toDate(text, format);
    if (!parsed.isValid())
        return std::nullopt;
    return hasTwoDigitYear(format) ? nearestCentury(parsed, today) : parsed;
}

bool isLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xff; });
}

} // namespace

QString dateToText(QDate date, const QLocale &locale)
{
    const QString text = locale.toString(date, QLocale::ShortFormat);
    if (isLatin1(text) && localeTextToDate(text, locale, date) == date)
        return text;
    return date.toString(Qt::ISODate);
}

std::optional<QDate> textToDate(QStringView text, const QLocale &locale, QDate today)
{
    if (const auto date = localeTextToDate(text.toString(), locale, today))
        return date;
    const QDate iso = QDate::fromString(text.toString(), Qt::ISODate);
    if (!iso.isValid())
        return std::nullopt;
    return iso;
}

} // namespace quendril::site
