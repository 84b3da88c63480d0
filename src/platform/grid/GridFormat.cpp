#include "platform/grid/GridFormat.h"

#include "platform/DateFormat.h"
#include "platform/grid/GridValues.h"
#include "platform/MoneyFormatter.h"

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
    return formatMoney(amount);
}

} // namespace GridFormat
