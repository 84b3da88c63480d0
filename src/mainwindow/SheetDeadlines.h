#pragma once

#include "platform/grid/GridRecords.h"

#include <QHash>
#include <QList>

#include <vector>

class DeadlineStore;
struct DeadlineRow;

// The active sheet's deadlines as the list's grid holds them: read once, in the
// order the sheet's date index gives them (date, then row id), every view and
// layout then chosen by the grid from what it holds. After a write only the rows
// it names are read again, and go back to the places they held.
class SheetDeadlines
{
public:
    // The sheet's rows, column by column. Throws DbError.
    GridRecords load(DeadlineStore &store, qint32 sheetId);

    // What a write changed: each bookmark (-1 for a row new to the sheet) with its
    // row, the same index in rows. A row gone or moved to another sheet becomes a
    // row of Nulls that no view lists.
    struct Changes
    {
        std::vector<int> bookmarks;
        GridRecords rows;
    };
    // Throws DbError and changes nothing then.
    Changes reread(DeadlineStore &store, const QList<qint32> &rowIds);

    qint32 sheetId() const { return m_sheetId; }
    void clear();

    // Deadlines as the list's columns 1..17, in the index's order.
    static GridRecords records(const std::vector<DeadlineRow> &rows);

private:
    qint32 m_sheetId = 0;
    int m_count = 0;
    QHash<qint32, int> m_bookmarkOf;
};
