#pragma once

#include "store/Currency.h"
#include "store/Statements.h"
#include "store/TextColumn.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Connection;
struct pg_conn;
struct pg_result;
struct sqlite3;
struct sqlite3_stmt;

// The connection's own SQLite handle. Throws DbError on another engine.
sqlite3 *sqliteHandle(Connection &connection);

// Reads the rows of one named statement straight from SQLite on the connection's
// own handle, each column taken as the type the caller asks for. No row goes
// through a record of the SQL module, which is what a list of 100,000 rows spends
// most of its time on otherwise. One reader is one prepared statement: run()
// binds new values and starts again without preparing it anew. On a server
// register the rows come the same way, straight from libpq on the connection's
// own handle, typed from the text the server sends.
class RowReader
{
public:
    // Throws DbError when the engine refuses the statement.
    RowReader(Connection &connection, const char *statementName);
    RowReader(Connection &connection, const char *statementName, StatementValues values);
    ~RowReader();
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    // Binds the values by placeholder name and starts from the first row again.
    void run(StatementValues values);
    // Moves to the next row; false after the last. Throws DbError.
    bool next();
    // How many rows the last run returned, on a server register (which sends them
    // all at once); -1 on a file, which finds them as it steps.
    int rowCount() const;

    bool isNull(int column) const;
    qint64 integer(int column) const;    // 0 for Null
    // Null stays a null QString, so it reads apart from an empty text.
    QString text(int column) const;
    // The same, appended to a column that holds each distinct text once.
    void appendText(int column, TextColumn &into) const;
    // 'yyyy-MM-dd', possibly followed by a time another tool wrote; otherwise
    // (Null, or something else) an invalid date.
    QDate date(int column) const;
    // The stored ten-thousandths; a Null amount is zero. A value no amount holds (a
    // number out of range, a text) gives nothing, and readers say so.
    std::optional<Currency> amount(int column) const;

private:
    const char *value(int column) const;

    sqlite3_stmt *m_statement = nullptr;
    // On a server register instead of m_statement: the statement with numbered
    // parameters, their names in order, and the whole result of the last run.
    pg_conn *m_server = nullptr;
    QByteArray m_serverSql;
    std::vector<QByteArray> m_parameters;
    pg_result *m_result = nullptr;
    int m_row = -1;
    QString m_sql;
    // Texts that repeat down a column (a counterparty's name and notes, the
    // cadence code, empty notes) are made once and shared by every row; a column
    // with too many different texts stops pooling.
    mutable std::vector<TextPool> m_pools;
};
