#pragma once

#include <QString>

// The SQL of each engine lives in files under sql/<engine>/ in the resources:
// upgrade/ holds the numbered schema scripts, statements/ one named statement
// per file. Adding an engine means adding a folder, not editing callers.

// The folder of a connection's driver ("QSQLITE" -> "sqlite"); empty for an
// engine the store has no SQL for.
QString engineFolder(const QString &driverName);

// The text of the named statement (statements/<name>.sql, without its comment
// lines and final ';') for the driver, read once and kept. A name with no file
// is a mistake in the program: it asserts, and throws DbError when built without
// assertions.
QString storeStatement(const QString &driverName, const char *name);
