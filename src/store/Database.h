#pragma once

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/Recordset.h"
#include "store/TransactionGuard.h"

#include <QString>

// The store: connections to "orvel2.mdb" (an SQLite file) that accept the
// statement forms the program was written in (Jet SQL) and translate them.
//
// Value conventions of every field read through this layer:
//   Null            -> invalid QVariant (QVariant())
//   date columns    -> QDate (whole days; stored as 'yyyy-MM-dd' text)
//   currency        -> Currency (stored as integer ten-thousandths)
//   yes/no columns  -> bool (stored as 1 / 0)
//   counters, ints  -> int / qlonglong
//   texts           -> QString
// Column kinds come from the declared types of the schema (DATETIME, CURRENCY,
// YESNO, ...), so the translator knows which literals to convert.

namespace Database {

// The database file the program works on, in the folder the user chose.
inline const QString FileName = QStringLiteral("orvel2.mdb");

// "Provider=...;Data Source=<folder>/orvel2.mdb;Persist Security Info=False", with
// the platform's separator.
QString connectionString(const QString &folder);
// The data source of a connection string: the path of the database file.
QString dataSource(const QString &connectionString);
// True when a test connection with the string fails (missing or damaged file).
bool isUnavailable(const QString &connectionString);

} // namespace Database
