#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <memory>
#include <utility>

class Connection;

// The SQL of each engine lives in files under sql/<engine>/ in the resources:
// upgrade/ holds the numbered schema scripts, statements/ one named statement
// per file. Adding an engine means adding a folder, not editing callers.

// The folder of a connection's driver ("QSQLITE" -> "sqlite", "QPSQL" ->
// "postgresql"); empty for an
// engine the store has no SQL for.
QString engineFolder(const QString &driverName);

// The text of the named statement (statements/<name>.sql, without its comment
// lines and final ';') for the driver, read once and kept. A name with no file
// is a mistake in the program: it asserts, and throws DbError when built without
// assertions.
QString storeStatement(const QString &driverName, const char *name);

// A value as a PostgreSQL register takes it: yes/no as 1 / 0, a text's NUL
// characters as U+FFFD.
QVariant serverBindable(const QVariant &value);

// A statement's values by placeholder name, without the colon: {{"rowId", 7}}.
using StatementValues = std::initializer_list<std::pair<const char *, QVariant>>;

// Prepares the named statement on the connection, binds the values and runs it;
// the query is forward-only, ready to be read. Throws DbError.
QSqlQuery runStatement(Connection &connection, const char *name, StatementValues values);

// The id an insert just gave: the row its RETURNING clause reads on a server
// register, the engine's last row id on a file.
qint64 insertedId(QSqlQuery &query);

// The connection a store works on: one of its own to the file, closed with the
// store, or the caller's, so that its statements share the caller's transaction.
// The stores build on it; it is never used on its own.
class StoreConnection
{
public:
    explicit StoreConnection(const QString &connectionString);
    explicit StoreConnection(Connection &connection);
    ~StoreConnection();
    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

protected:
    Connection &connection() { return m_connection; }
    // The named statement, prepared, bound and run on the store's connection.
    QSqlQuery run(const char *name, StatementValues values) { return runStatement(m_connection, name, values); }

private:
    std::unique_ptr<Connection> m_own;
    Connection &m_connection;
};
