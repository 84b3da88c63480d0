#pragma once

#include "store/Currency.h"

#include <QLocale>
#include <QString>

#include <optional>

// Amounts as the user reads and types them: the locale's currency symbol, grouping
// and decimal separator. Converted digit by digit, never through a double, so
// every amount the column can hold comes back exactly.
namespace AmountText {

// "1.234,50 €" (Italian) or "$1,234.50" / "1,234.50" (English). Blanks and the
// currency symbol or code may stand before or after the number; a sign or
// parentheses make it negative. Digits past the fourth decimal are rounded half to
// even. Nothing when the text is not a number or lies outside the currency range.
std::optional<Currency> parse(const QString &text, const QLocale &locale = QLocale());

// An amount as the user enters it into a deadline, however it got into the box
// (typed or pasted): as parse(), but a deadline's amount is never negative, so a
// sign or brackets are refused, and group separators must stand where the locale
// puts them ("12,34,5" is no amount in English).
std::optional<Currency> parseEntry(const QString &text, const QLocale &locale = QLocale());

// The amount in the locale's currency format with two decimals (four when the
// amount needs them), e.g. "1.234,50 €".
QString format(Currency amount, const QLocale &locale = QLocale());

} // namespace AmountText
