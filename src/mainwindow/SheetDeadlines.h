#pragma once

#include "platform/grid/GridRecords.h"

#include <QList>

#include <utility>
#include <vector>

class DeadlineStore;
struct DeadlineColumns;

// The active sheet's deadlines as the list's grid holds them: read once, in
// row-id order (the order a pass over the file gives them, so nothing is moved),
// every view and layout then chosen by the grid from what it holds; the list
// breaks the sort's ties by date, then by that order. After a write only the
// rows it names are read again, and go back to the places they held.
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

    // Deadlines as the list's columns 1..17, in row-id order.
    static GridRecords records(DeadlineColumns rows);

private:
    // The row's entry in m_bookmarkOf, or its end.
    std::vector<std::pair<qint32, int>>::iterator held(qint32 rowId);

    qint32 m_sheetId = 0;
    int m_count = 0;
    // Each row id held with its bookmark, ordered by row id.
    std::vector<std::pair<qint32, int>> m_bookmarkOf;
};
