#include "store/Currency.h"

#include <QMetaType>

#include <cmath>
#include <limits>

namespace {

// Converters let a Currency held in a QVariant read as a number or a text
// (grids, NumberOrDefault) without every caller knowing the type.
bool registerCurrencyOnce()
{
    qRegisterMetaType<Currency>();
    if (!QMetaType::hasRegisteredConverterFunction<Currency, double>())
        QMetaType::registerConverter<Currency, double>(&Currency::toDouble);
    if (!QMetaType::hasRegisteredConverterFunction<Currency, QString>())
        QMetaType::registerConverter<Currency, QString>(&Currency::toPlainText);
    return true;
}

const bool s_registered = registerCurrencyOnce();

QString unitsToText(qint64 units)
{
    // Work on the magnitude as unsigned so the most negative value survives.
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    const quint64 whole = magnitude / quint64(Currency::Scale);
    quint64 fraction = magnitude % quint64(Currency::Scale);
    QString text = QString::number(whole);
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return negative ? u'-' + text : text;
}

} // namespace

void registerCurrencyMetaType()
{
    static const bool once = registerCurrencyOnce();
    Q_UNUSED(once);
}

std::optional<Currency> Currency::parse(QStringView text, QChar decimalPoint)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate the magnitude as unsigned so the most negative value parses.
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    quint64 whole = 0;
    int wholeDigits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        const quint64 digit = text[i].unicode() - u'0';
        if (whole > (limit - digit) / 10)
            return std::nullopt;
        whole = whole * 10 + digit;
        ++wholeDigits;
        ++i;
    }
    quint64 fraction = 0;
    int fractionDigits = 0;
    if (i < n && text[i] == decimalPoint) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            if (++fractionDigits > 4)
                return std::nullopt;
            fraction = fraction * 10 + (text[i].unicode() - u'0');
            ++i;
        }
    }
    while (i < n && text[i].isSpace())
        ++i;
    if (i != n || (wholeDigits == 0 && fractionDigits == 0))
        return std::nullopt;
    for (int k = fractionDigits; k < 4; ++k)
        fraction *= 10;
    if (whole > (limit - fraction) / quint64(Scale))
        return std::nullopt;
    const quint64 magnitude = whole * quint64(Scale) + fraction;
    const qint64 units = negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
    return fromUnits(units);
}

std::optional<Currency> Currency::fromRoundedUnits(double units)
{
    // 2^63 is exact as a double; anything from there on (and NaN) has no qint64,
    // and converting it anyway gives the most negative amount.
    constexpr double limit = 9223372036854775808.0;
    const double rounded = std::round(units);
    if (!(rounded >= -limit && rounded < limit))
        return std::nullopt;
    return fromUnits(qint64(rounded));
}

QString Currency::toPlainText() const
{
    return unitsToText(m_units);
}

std::optional<Currency> Currency::checkedAdd(Currency other) const
{
    qint64 result = 0;
    if (qAddOverflow(m_units, other.m_units, &result))
        return std::nullopt;
    return fromUnits(result);
}

std::optional<Currency> Currency::checkedMul(qint64 factor) const
{
    qint64 result = 0;
    if (qMulOverflow(m_units, factor, &result))
        return std::nullopt;
    return fromUnits(result);
}
