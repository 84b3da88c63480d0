#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

// Dates as people type them, whole, in the order of the locale's short date
// format: one- or two-digit day and month, a two- or four-digit year, any of the
// usual separators ("2/15/2017", "2-15-17", "02.15.2017"), or the digits alone
// ("02152017"). Kept free of widgets so the rules can be checked on their own.
namespace DateText {

// The date the text stands for, or nothing. A two-digit year is the one nearest
// referenceDate's year (within 50 years); day and month alone take its year.
std::optional<QDate> parse(const QString &text, const QLocale &locale, const QDate &referenceDate);

} // namespace DateText
