#include "platform/grid/GridValues.h"

#include "platform/DateFormat.h"

#include <QDate>
#include <QLocale>

#include <cmath>

namespace GridValues {

bool isIntegral(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

QString plainText(const QVariant &value)
{
    if (isCurrency(value))
        return value.value<Currency>().toPlainText();
    if (value.typeId() == QMetaType::QDate)
        return shortDateText(value.toDate());
    return value.toString();
}

std::optional<Currency> toCurrency(const QVariant &value)
{
    if (isNull(value))
        return Currency();
    if (isCurrency(value))
        return value.value<Currency>();
    if (value.typeId() == QMetaType::Bool)
        return Currency::fromWhole(value.toBool() ? 1 : 0);
    if (isIntegral(value))
        return Currency::fromWhole(value.toLongLong());
    if (isFloating(value))
        return Currency::fromRoundedUnits(value.toDouble() * Currency::Scale);
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return Currency();
    if (auto amount = Currency::parse(text))
        return amount;
    return Currency::parse(text, QLocale().decimalPoint().at(0));
}

} // namespace GridValues
