#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QString>
#include <QVariant>

// Helpers for building Jet SQL text and reading fields that may be Null.

// The text with every single quote doubled; the caller adds the enclosing quotes.
QString quoteSqlText(const QString &text);

// "#mm/dd/yyyy#": month first, two-digit month and day, four-digit year, always "/".
QString sqlDateLiteral(const QDate &date);

// The value as text when it is not Null; otherwise the default.
QString stringOrDefault(const QVariant &value, const QString &defaultValue);

// The value as a double when it is numeric (numbers, Currency, numeric texts);
// otherwise the default.
double numberOrDefault(const QVariant &value, double defaultValue);
