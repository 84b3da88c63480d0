#pragma once

#include "store/Currency.h"
#include "store/MoneySum.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

// Amounts as money in a locale's currency format: its symbol, grouping, decimal
// separator and negative form, with the currency's usual number of decimals. Built
// from the exact 64-bit value; digits beyond the currency's decimals are kept when
// the amount has them (0.0001 stays visible), never rounded away. Reads the
// locale's format once, for callers that format many amounts.
class MoneyFormatter
{
public:
    explicit MoneyFormatter(const QLocale &locale = QLocale());

    QString format(Currency amount) const;
    // A sum of amounts counted in ten-thousandths, which may lie past Currency's
    // range: shown as it is, or an empty text when even its whole part is too
    // long to show (the caller says it overflowed rather than show a wrong number).
    QString formatUnits(__int128 units) const;
    const QLocale &locale() const { return m_locale; }

private:
    QLocale m_locale;
    QString m_decimalPoint;
    int m_decimals = 2;
    // The locale's pattern for a positive and a negative one-digit amount, and
    // where in each the digit stands ("7 €", "($7)").
    QString m_positivePattern;
    QString m_negativePattern;
    qsizetype m_positiveDigitAt = -1;
    qsizetype m_negativeDigitAt = -1;
    qsizetype m_digitSize = 1;
    bool m_asciiDigits = true;
};

// One amount in the locale's currency format; see MoneyFormatter. Keeps the
// formatter of the last locale asked for, so a list formatting every cell does
// not read the locale's patterns again for each.
QString formatMoney(Currency amount, const QLocale &locale = QLocale());
// A wide sum, as MoneyFormatter::formatUnits.
QString formatMoneyUnits(__int128 units, const QLocale &locale = QLocale());

// What shows where a number cannot: the words of these text ids, looked up
// through the caller's text table.
constexpr int AmountOutOfRangeTextId = 2781;   // "amount out of range"
constexpr int TotalTooLargeTextId = 2200;      // "total too large"
using MoneyTextLookup = std::function<QString(int id)>;

// An amount read from the file (storedAmount()) as money, or the words
// "amount out of range" when it is no amount.
QString formatStoredAmount(std::optional<Currency> amount, const QLocale &locale, const MoneyTextLookup &text);
// A total as money, or the words that say why it is no number: "amount out of
// range" when one of its amounts was, "total too large" when it is too long to show.
QString formatMoneySum(const MoneySum &sum, const QLocale &locale, const MoneyTextLookup &text);
