#pragma once

#include "store/Currency.h"

#include <QString>
#include <QVariant>

// How a value reads in a cell under its column's display format.
namespace GridFormat {

// "Short Date" (also dates without a format), "Long Date" or a date pattern;
// "Currency" in the locale's money format, exact; anything else as the value's
// own text in the locale. Null gives an empty text.
QString text(const QVariant &value, const QString &format);
// An amount in the locale's money format (the program's one money formatter).
QString currencyText(Currency amount);

} // namespace GridFormat
