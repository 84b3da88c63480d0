#pragma once

#include "store/SchemaInfo.h"

#include <QString>
#include <QVariant>

// How values sit in the SQLite file and how the store hands them out: dates as
// 'yyyy-MM-dd' text read as QDate, money as integer ten-thousandths read as
// Currency, yes/no as 1/0 read as bool.
namespace StoredValue {

// The value a field of that kind reads as.
QVariant fromStorage(const QVariant &stored, ColumnKind kind);
// What goes into the file for a value written to a column of that kind. Throws
// DbError when the value cannot be stored there.
QVariant toStorage(const QVariant &value, ColumnKind kind, const QString &column);

} // namespace StoredValue
