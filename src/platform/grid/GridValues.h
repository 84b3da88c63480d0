#pragma once

#include "store/Currency.h"

#include <QString>
#include <QVariant>

#include <optional>

// What the grid needs to know of a cell's value whatever column it sits in: its
// kind, its text without locale, and the exact amount it stands for. Ordering,
// finding, sums and formatting all read values through these.
namespace GridValues {

// The kind tests run once per cell when a column is ordered, so they are inline.
inline bool isNull(const QVariant &value)   // no value at all, or SQL Null
{
    return !value.isValid() || value.isNull();
}
bool isIntegral(const QVariant &value);     // integers of any width, and yes/no
inline bool isFloating(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}
inline bool isCurrency(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<Currency>();
}
// Money with a point ("12.5"), dates in the locale's short form, the rest as
// QVariant converts it.
QString plainText(const QVariant &value);
// The exact amount a value stands for: Null and blank text are 0, yes/no is 1 or
// 0, numeric text is parsed with a point or the locale's decimal separator.
// Nothing for text that is not a number and for a number past the range.
std::optional<Currency> toCurrency(const QVariant &value);

} // namespace GridValues
