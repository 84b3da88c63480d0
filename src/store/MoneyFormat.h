#pragma once

#include "store/Currency.h"

#include <QLocale>
#include <QString>

// An amount as the locale writes money: its currency symbol where the locale puts
// it, its grouping, its decimal separator and its number of currency digits
// ("$1,250.00", "1.250,00 €", "¥1,250"). Computed from the 64-bit value alone, so
// no amount ever passes through a double; a value finer than the currency digits
// is rounded half away from zero, and an amount that rounds to zero has no sign.
QString formatMoney(Currency amount, const QLocale &locale = QLocale());
