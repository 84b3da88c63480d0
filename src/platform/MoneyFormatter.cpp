#include "platform/MoneyFormatter.h"

#include <limits>

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
    return qMin(digits, 4);
}

} // namespace

MoneyFormatter::MoneyFormatter(const QLocale &locale)
    : m_locale(locale),
      m_decimalPoint(locale.decimalPoint()),
      m_decimals(currencyDecimals(locale)),
      m_positivePattern(locale.toCurrencyString(qlonglong(7))),
      m_negativePattern(locale.toCurrencyString(qlonglong(-7))),
      m_asciiDigits(locale.zeroDigit() == u"0")
{
    const QString seven = locale.toString(7);
    m_digitSize = seven.size();
    m_positiveDigitAt = m_positivePattern.lastIndexOf(seven);
    m_negativeDigitAt = m_negativePattern.lastIndexOf(seven);
}

QString MoneyFormatter::format(Currency amount) const
{
    return formatUnits(amount.units());
}

QString MoneyFormatter::formatUnits(__int128 units) const
{
    const bool negative = units < 0;
    // The magnitude as unsigned, so the most negative amount survives.
    using Wide = unsigned __int128;
    const Wide magnitude = negative ? Wide(0) - Wide(units) : Wide(units);
    const Wide wideWhole = magnitude / Wide(Currency::Scale);
    if (wideWhole > Wide(std::numeric_limits<quint64>::max()))
        return {};
    const quint64 whole = quint64(wideWhole);
    quint64 fraction = quint64(magnitude % Wide(Currency::Scale));

    char16_t fractionDigits[4];
    for (int i = 3; i >= 0; --i) {
        fractionDigits[i] = char16_t(u'0' + fraction % 10);
        fraction /= 10;
    }
    int decimals = 4;
    while (decimals > m_decimals && fractionDigits[decimals - 1] == u'0')
        --decimals;

    QString number = m_locale.toString(whole);   // grouping and the locale's digits
    if (decimals > 0) {
        number += m_decimalPoint;
        for (int i = 0; i < decimals; ++i) {
            if (m_asciiDigits)
                number += QChar(fractionDigits[i]);
            else
                number += m_locale.toString(int(fractionDigits[i] - u'0'));
        }
    }

    const QString &pattern = negative ? m_negativePattern : m_positivePattern;
    const qsizetype at = negative ? m_negativeDigitAt : m_positiveDigitAt;
    if (at < 0)
        return (negative ? m_locale.negativeSign() : QString()) + number;
    return QString(pattern).replace(at, m_digitSize, number);
}

namespace {

const MoneyFormatter &formatterFor(const QLocale &locale)
{
    // One thread formats; the locale rarely changes between calls.
    static MoneyFormatter last{QLocale::c()};
    if (!(last.locale() == locale))
        last = MoneyFormatter(locale);
    return last;
}

} // namespace

QString formatMoney(Currency amount, const QLocale &locale)
{
    return formatterFor(locale).format(amount);
}

QString formatMoneyUnits(__int128 units, const QLocale &locale)
{
    return formatterFor(locale).formatUnits(units);
}

QString formatStoredAmount(std::optional<Currency> amount, const QLocale &locale, const MoneyTextLookup &text)
{
    return amount ? formatMoney(*amount, locale) : text(AmountOutOfRangeTextId);
}

QString formatMoneySum(const MoneySum &sum, const QLocale &locale, const MoneyTextLookup &text)
{
    if (sum.isOutOfRange())
        return text(AmountOutOfRangeTextId);
    const QString money = formatMoneyUnits(sum.units(), locale);
    return money.isEmpty() ? text(TotalTooLargeTextId) : money;
}
