#pragma once

#include "store/SchemaInfo.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

class Connection;
struct sqlite3_stmt;

// Reads the rows of one SELECT straight from SQLite on the connection's own
// handle: the statement is prepared once, its parameters bound, and every
// column of a row read by its stored type and turned at once into the value the
// store hands out for its kind (QDate, Currency, bool, int, text). No row goes
// through an intermediate record of the SQL module, which is what a list of
// 100,000 rows spends most of its time on otherwise.
class RowReader
{
public:
    // sql: the statement as SQLite reads it (already translated from Jet);
    // parameters: values bound to its parameters in order. Throws DbError.
    RowReader(Connection &connection, const QString &sql, const QVariantList &parameters = {});
    ~RowReader();
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    int columnCount() const { return int(m_names.size()); }
    const QStringList &columnNames() const { return m_names; }
    // The kind each column reads as; a missing entry or Other reads as stored.
    void setKinds(std::vector<ColumnKind> kinds) { m_kinds = std::move(kinds); }

    // Moves to the next row; false after the last. Throws DbError.
    bool next();
    QVariant value(int column) const;

private:
    sqlite3_stmt *m_statement = nullptr;
    QString m_sql;
    QStringList m_names;
    std::vector<ColumnKind> m_kinds;
    // Texts that repeat down a column (a counterparty's name and notes, the
    // cadence code, empty notes) are made once and shared by every row; a
    // column with too many different texts stops pooling.
    struct TextPool;
    mutable std::vector<TextPool> m_pools;
};
