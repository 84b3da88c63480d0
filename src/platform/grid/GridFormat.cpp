#include "platform/grid/GridFormat.h"

#include "platform/DateFormat.h"
#include "platform/grid/GridValues.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace GridFormat {

QString text(const QVariant &value, const QString &format)
{
    using namespace GridValues;
    if (isNull(value))
        return {};
    const QLocale loc;
    const bool isDate = value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
    if (format.compare(QLatin1String("Currency"), Qt::CaseInsensitive) == 0) {
        if (const auto amount = toCurrency(value);
            amount && (isCurrency(value) || isIntegral(value) || isFloating(value) || !value.toString().trimmed().isEmpty()))
            return currencyText(*amount);
        return value.toString();
    }
    if (isDate) {
        const QDate date = value.toDate();
        if (format.isEmpty() || format.compare(QLatin1String("Short Date"), Qt::CaseInsensitive) == 0)
            return shortDateText(date, loc);
        if (format.compare(QLatin1String("Long Date"), Qt::CaseInsensitive) == 0)
            return loc.toString(date, QLocale::LongFormat);
        return loc.toString(date, format);
    }
    if (isCurrency(value)) {
        QString text = value.value<Currency>().toPlainText();
        return text.replace(QLatin1Char('.'), loc.decimalPoint());
    }
    if (isFloating(value))
        return loc.toString(value.toDouble(), 'g', 15);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

QString currencyText(Currency amount)
{
    // The locale's pattern is taken from a probe number and the digits are put in
    // from whole cents, so a sign, symbol and separators come out as the locale has them.
    const QLocale loc;
    const qint64 units = amount.units();
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    const quint64 cents = (magnitude + 50) / 100;
    const QString number = loc.toString(qulonglong(cents / 100)) + loc.decimalPoint()
        + QStringLiteral("%1").arg(int(cents % 100), 2, 10, QLatin1Char('0'));
    const bool showNegative = negative && cents > 0;
    const double probe = showNegative ? -1234.5 : 1234.5;
    QString pattern = loc.toCurrencyString(probe);
    const QString probeNumber = loc.toString(1234.5, 'f', 2);
    const int at = pattern.indexOf(probeNumber);
    if (at < 0)
        return loc.toCurrencyString(amount.toDouble());
    return pattern.replace(at, probeNumber.size(), number);
}

} // namespace GridFormat
