#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QString>
#include <QVariant>

// Helpers for building Jet SQL text and reading fields that may be Null.

// The text with every single quote doubled; the caller adds the enclosing quotes.
QString QuoteSqlText(const QString &text);

// "#mm/dd/yyyy#": month first, two-digit month and day, four-digit year, always "/".
QString SqlDateLiteral(const QDate &date);

// A currency value as SQL text: point separator, a blank before a non-negative number.
QString SqlCurrencyText(Currency value);

// The value as text when it is not Null; otherwise the default.
QString StringOrDefault(const QVariant &value, const QString &defaultValue);

// The value as a double when it is numeric (numbers, Currency, numeric texts);
// otherwise the default.
double NumberOrDefault(const QVariant &value, double defaultValue);
