#pragma once

#include "store/Currency.h"

#include <QLocale>
#include <QString>

// An amount as money in the locale's currency format: its symbol, grouping, decimal
// separator and negative form, with the currency's usual number of decimals. Built
// from the exact 64-bit value; digits beyond the currency's decimals are kept when
// the amount has them (0.0001 stays visible), never rounded away.
QString formatMoney(Currency amount, const QLocale &locale = QLocale());
