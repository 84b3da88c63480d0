#include "store/MoneyFormat.h"

namespace {

// QLocale knows how many decimals its currency uses but only shows it by formatting
// a number; zero is exact in a double, so this reads the count without rounding any
// real amount through one.
int currencyDecimals(const QLocale &locale)
{
    const QString zero = locale.toCurrencyString(0.0);
    const qsizetype point = zero.indexOf(locale.decimalPoint());
    if (point < 0)
        return 0;
    int digits = 0;
    for (qsizetype i = point + locale.decimalPoint().size(); i < zero.size() && zero.at(i).isDigit(); ++i)
        ++digits;
    return digits;
}

QString localeDigits(const QString &asciiDigits, const QLocale &locale)
{
    const QString zero = locale.zeroDigit();
    if (zero == u"0")
        return asciiDigits;
    QString out;
    for (QChar c : asciiDigits)
        out += locale.toString(c.unicode() - u'0');
    return out;
}

} // namespace

QString formatMoney(Currency amount, const QLocale &locale)
{
    const qint64 units = amount.units();
    const bool negative = units < 0;
    // The magnitude as unsigned, so the most negative amount survives.
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    const quint64 whole = magnitude / quint64(Currency::Scale);
    const quint64 fraction = magnitude % quint64(Currency::Scale);

    QString fractionDigits = QString::number(fraction).rightJustified(4, u'0');
    const int decimals = qMin(currencyDecimals(locale), 4);
    while (fractionDigits.size() > decimals && fractionDigits.endsWith(u'0'))
        fractionDigits.chop(1);

    QString number = locale.toString(whole);   // grouping and the locale's digits
    if (!fractionDigits.isEmpty())
        number += locale.decimalPoint() + localeDigits(fractionDigits, locale);

    // The locale's own currency pattern, read from a one-digit amount of the same
    // sign: the symbol's place, the blank and the negative form ("-7 €", "($7)").
    const QString pattern = locale.toCurrencyString(qlonglong(negative ? -7 : 7));
    const QString seven = locale.toString(7);
    const qsizetype at = pattern.lastIndexOf(seven);
    if (at < 0)
        return (negative ? locale.negativeSign() : QString()) + number;
    return QString(pattern).replace(at, seven.size(), number);
}
