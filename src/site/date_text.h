#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace quendril::site {

// A date as text in the locale's short-date format. Where that text could not
// be stored and read back (the settings store keeps 8-bit characters only, and
// a few locales cannot read their own short dates), the ISO form yyyy-MM-dd.
QString dateToText(QDate date, const QLocale &locale);

// Reads a text written by dateToText back into the date it was written from.
// Short formats often carry a two-digit year; it is taken in the century that
// puts the date nearest to today. Gives nothing for a text that is no date.
std::optional<QDate> textToDate(QStringView text, const QLocale &locale, QDate today);

} // namespace quendril::site
