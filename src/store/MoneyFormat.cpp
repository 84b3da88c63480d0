#include "store/MoneyFormat.h"

namespace {

// How many decimals the locale's currency shows: Qt applies them when it formats
// a double as money, so they show in the text of one unit.
int currencyDigits(const QLocale &locale)
{
    const QString one = locale.toCurrencyString(1.0);
    for (int digits = 4; digits > 0; --digits) {
        if (one.contains(locale.toString(1.0, 'f', digits)))
            return digits;
    }
    return 0;
}

quint64 powerOfTen(int exponent)
{
    quint64 result = 1;
    while (exponent-- > 0)
        result *= 10;
    return result;
}

} // namespace

QString formatMoney(Currency amount, const QLocale &locale)
{
    const int digits = currencyDigits(locale);
    const qint64 units = amount.units();
    // The magnitude as unsigned, so the most negative amount has one too.
    const quint64 magnitude = units < 0 ? quint64(0) - quint64(units) : quint64(units);
    const quint64 step = powerOfTen(4 - digits);
    const quint64 rounded = magnitude / step + ((magnitude % step) * 2 >= step ? 1 : 0);
    const quint64 fractionBase = powerOfTen(digits);
    const bool negative = units < 0 && rounded != 0;

    QString number = locale.toString(rounded / fractionBase);
    if (digits > 0) {
        QString fraction;
        quint64 rest = rounded % fractionBase;
        for (quint64 place = fractionBase / 10; place > 0; place /= 10) {
            fraction += locale.toString(int(rest / place));
            rest %= place;
        }
        number += locale.decimalPoint() + fraction;
    }

    // The locale's own money pattern (symbol, its side, the blank, the sign's
    // form) around a placeholder number, which the exact number then replaces.
    const QString placeholder = locale.toString(7);
    QString text = locale.toCurrencyString(negative ? qlonglong(-7) : qlonglong(7));
    const qsizetype at = text.lastIndexOf(placeholder);
    if (at < 0)
        return (negative ? locale.negativeSign() : QString()) + number;
    return text.replace(at, placeholder.size(), number);
}
