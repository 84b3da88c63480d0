#pragma once

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/TransactionGuard.h"

#include <QString>

// The store: connections to "orvel2.mdb" (an SQLite file), or to a register on a
// PostgreSQL server, on which the typed stores run their named statements.
//
// How the values are stored:
//   dates     -> 'yyyy-MM-dd' text (whole days)
//   money     -> integer ten-thousandths (Currency)
//   yes/no    -> 1 / 0
//   texts     -> text

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

// The same file opened for reading only ("Mode=Read"): nothing can write through
// it, not even the engine's own journal.
QString readOnly(const QString &connectionString);
bool isReadOnly(const QString &connectionString);

// A register on a PostgreSQL server is named the way libpq names a database: a
// URI ("postgresql://host:5432/orvel?sslmode=require", "postgres://...") or
// "service=name" from pg_service.conf. Anything else names a file.
bool isServerRegister(const QString &connectionString);
// The libpq key='value' parameters of a server register, quoted for a conninfo
// string; empty when the string names no server register or is no valid URI.
QString serverParameters(const QString &connectionString);

} // namespace Database
