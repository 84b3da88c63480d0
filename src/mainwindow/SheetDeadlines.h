#pragma once

#include "platform/grid/GridRecords.h"
#include "store/DeadlineStore.h"

#include <QDate>
#include <QList>

#include <functional>
#include <vector>

// The active sheet's deadlines, read once and held in memory in the order the
// sheet's date index gives them (date, then row id). A view or a layout is
// chosen from them without a read; after a write only the rows it names are
// read again.
class SheetDeadlines
{
public:
    // Reads every deadline of the sheet. Throws DbError and keeps the rows it had.
    void load(DeadlineStore &store, qint32 sheetId);
    // Reads the named rows again: a row still in the sheet takes its new values
    // and place, a row gone or moved to another sheet leaves, a new one joins.
    // Throws DbError and keeps the rows it had.
    void reread(DeadlineStore &store, const QList<qint32> &rowIds);
    void clear();

    qint32 sheetId() const { return m_sheetId; }
    const std::vector<DeadlineRow> &rows() const { return m_rows; }

    // The rows the filter keeps, column by column as the list's grid takes them.
    GridRecords records(const std::function<bool(const DeadlineRow &)> &shows) const;

private:
    qint32 m_sheetId = 0;
    std::vector<DeadlineRow> m_rows;
};
