#pragma once

#include "store/Statements.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <variant>
#include <vector>

class Connection;

// The tables a change can touch, each keyed by its first column.
enum class StoredTable { Deadlines, Counterparties, Sheets };   // Transactions, Accounts, Dbs

// One value as SQLite stores it, storage class included, so that a row written
// back is byte for byte the row that was read: Null, an integer, a real, a text
// (its UTF-8 bytes) or a blob.
struct StoredBlob
{
    QByteArray bytes;
    friend bool operator==(const StoredBlob &, const StoredBlob &) = default;
};
using StoredValue = std::variant<std::monostate, qint64, double, QByteArray, StoredBlob>;

// A whole row, every column in the table's order; the first is its id.
struct StoredRow
{
    std::vector<StoredValue> values;

    qint64 id() const { return integer(0); }
    qint64 integer(int column) const;   // 0 unless the column holds an integer
    QString text(int column) const;     // null unless the column holds a text
    friend bool operator==(const StoredRow &, const StoredRow &) = default;
};

// One change to the register, as whole rows before and after it, so that it can
// be taken back and made again exactly, ids included. A writer reads the rows it
// is about to touch, writes, then reads them again, all inside its own
// transaction; any writer with a list of rows (an import too) records the same way.
class RowChange
{
public:
    // Transactions' columns in the order every StoredRow of that table holds them.
    enum DeadlineColumn { TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance,
                          TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId };
    enum CounterpartyColumn { AcId, AcName, AcNotes };
    enum SheetColumn { DbId, DbName };

    // Before the write: the rows with those ids (an id with no row is simply not
    // there), or the rows a named statement selects, all the table's columns in
    // its order. Throws DbError.
    void readBefore(Connection &connection, StoredTable table, const QList<qint64> &ids);
    void readBeforeWhere(Connection &connection, StoredTable table, const char *statementName,
                         StatementValues values);
    // After the write: every row read before, as it is now, and the new rows
    // given by id. Throws DbError.
    void readAfter(Connection &connection, const QList<qint64> &newDeadlines = {},
                   const QList<qint64> &newCounterparties = {}, const QList<qint64> &newSheets = {});

    // Nothing differs between before and after.
    bool isEmpty() const;

    const std::vector<StoredRow> &before(StoredTable table) const { return m_tables[index(table)].before; }
    const std::vector<StoredRow> &after(StoredTable table) const { return m_tables[index(table)].after; }

    enum class Direction { Undo, Redo };
    // The ids of the table the step would delete: rows on the side it leaves that
    // the side it restores does not have.
    QList<qint64> removedIds(StoredTable table, Direction direction) const;
    // The deadline rows the change touched, by sheet (both sides' sheets).
    QHash<qint32, QList<qint32>> deadlinesBySheet() const;

    enum class Outcome { Done, Changed };
    // In one transaction: every row must still be what the side being left says
    // (Changed otherwise, and nothing is written); then its rows are deleted and
    // the other side's inserted with their ids. Throws DbError, leaving nothing.
    Outcome apply(Connection &connection, Direction direction) const;

private:
    struct TableRows
    {
        std::vector<StoredRow> before;
        std::vector<StoredRow> after;
    };
    static int index(StoredTable table) { return int(table); }
    std::array<TableRows, 3> m_tables;
};

// For retriedWrite: a write run again forgets what its refused attempt recorded.
inline auto forgetting(RowChange *change)
{
    return [change] {
        if (change)
            *change = RowChange();
    };
}
