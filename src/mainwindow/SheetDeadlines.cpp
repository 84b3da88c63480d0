#include "mainwindow/SheetDeadlines.h"

#include "mainwindow/DeadlineList.h"
#include "store/DeadlineStore.h"

#include <algorithm>
#include <numeric>

namespace {

// The rows in row-id order, as the list ties them: the order a file's read
// gives already, and a server's usually.
DeadlineColumns inRowIdOrder(DeadlineColumns rows)
{
    if (std::is_sorted(rows.rowId.begin(), rows.rowId.end()))
        return rows;
    std::vector<int> order(rows.rowId.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&rows](int a, int b) { return rows.rowId[size_t(a)] < rows.rowId[size_t(b)]; });
    return std::move(rows).picked(order);
}

// An id of 0 is none: Null in the grid.
std::vector<qint32> nullForZero(std::vector<qint32> ids)
{
    std::replace(ids.begin(), ids.end(), qint32(0), GridCells::NullNumber);
    return ids;
}

// A value no amount holds stays something no reader takes for an amount.
GridCells amounts(std::vector<qint64> units)
{
    static_assert(DeadlineColumns::Unreadable == GridCells::NullMoney);
    std::vector<int> unreadable;
    for (int row = 0; row < int(units.size()); ++row)
        if (units[size_t(row)] == DeadlineColumns::Unreadable)
            unreadable.push_back(row);
    GridCells cells = GridCells::ofMoney(std::move(units));
    for (int row : unreadable)
        cells.set(row, QVariant(QStringLiteral("?")));
    return cells;
}

// Deadlines as the list's columns 1..17, each vector taken over by its column.
GridRecords columnsOf(DeadlineColumns rows)
{
    static_assert(DeadlineColumns::NoDay == GridCells::NullNumber);
    using Kind = GridCells::Kind;
    GridRecords records;
    records.fieldNames = listFieldNames();
    records.rowCount = rows.size();
    records.columns.reserve(ListColumn::Fields);
    auto &columns = records.columns;
    columns.push_back(GridCells::ofNumbers(Kind::Integer, std::move(rows.rowId)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, std::move(rows.sheetId)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, std::move(rows.type)));
    columns.push_back(GridCells::ofNumbers(Kind::Boolean, std::move(rows.done)));
    columns.push_back(GridCells::ofNumbers(Kind::Date, std::move(rows.day)));
    columns.push_back(GridCells::ofTexts(std::move(rows.description)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, nullForZero(std::move(rows.counterpartyRef))));
    columns.push_back(amounts(std::move(rows.amount)));
    columns.push_back(amounts(std::move(rows.balance)));
    columns.push_back(GridCells::ofTexts(std::move(rows.cadence)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, std::move(rows.groupRow)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, std::move(rows.groupSize)));
    columns.push_back(GridCells::ofTexts(std::move(rows.notes)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, std::move(rows.groupId)));
    columns.push_back(GridCells::ofNumbers(Kind::Integer, nullForZero(std::move(rows.counterpartyId))));
    columns.push_back(GridCells::ofTexts(std::move(rows.counterpartyName)));
    columns.push_back(GridCells::ofTexts(std::move(rows.counterpartyNotes)));
    return records;
}

} // namespace

GridRecords SheetDeadlines::records(DeadlineColumns rows)
{
    return columnsOf(inRowIdOrder(std::move(rows)));
}

GridRecords SheetDeadlines::load(DeadlineStore &store, qint32 sheetId)
{
    DeadlineColumns rows = inRowIdOrder(store.sheetRows(sheetId));
    // Bookmarks follow the row ids, so this is in row-id order too.
    m_bookmarkOf.clear();
    m_bookmarkOf.reserve(size_t(rows.size()));
    for (int b = 0; b < rows.size(); ++b)
        m_bookmarkOf.push_back({rows.rowId[size_t(b)], b});
    m_count = rows.size();
    m_sheetId = sheetId;
    return columnsOf(std::move(rows));
}

std::vector<std::pair<qint32, int>>::iterator SheetDeadlines::held(qint32 rowId)
{
    const auto found = std::lower_bound(m_bookmarkOf.begin(), m_bookmarkOf.end(), std::pair(rowId, 0),
                                        [](const auto &a, const auto &b) { return a.first < b.first; });
    return found != m_bookmarkOf.end() && found->first == rowId ? found : m_bookmarkOf.end();
}

SheetDeadlines::Changes SheetDeadlines::reread(DeadlineStore &store, const QList<qint32> &rowIds)
{
    DeadlineColumns read = store.rowsById(rowIds);
    std::vector<int> inSheet;
    for (int i = 0; i < read.size(); ++i)
        if (read.sheetId[size_t(i)] == m_sheetId)
            inSheet.push_back(i);
    DeadlineColumns fresh = inRowIdOrder(std::move(read).picked(inSheet));
    Changes changes;
    for (qint32 id : fresh.rowId) {
        const auto found = held(id);
        changes.bookmarks.push_back(found == m_bookmarkOf.end() ? -1 : found->second);
        if (found == m_bookmarkOf.end()) {
            const std::pair<qint32, int> added(id, m_count++);
            m_bookmarkOf.insert(std::upper_bound(m_bookmarkOf.begin(), m_bookmarkOf.end(), added), added);
        }
    }
    // Rows named but not read back left the sheet: their places go empty.
    for (qint32 id : rowIds) {
        const auto found = held(id);
        if (found == m_bookmarkOf.end() || std::find(fresh.rowId.begin(), fresh.rowId.end(), id) != fresh.rowId.end())
            continue;
        changes.bookmarks.push_back(found->second);
        m_bookmarkOf.erase(found);
    }
    changes.rows = columnsOf(std::move(fresh));
    // The emptied places: Nulls in every column.
    for (auto &column : changes.rows.columns)
        column.resize(int(changes.bookmarks.size()));
    changes.rows.rowCount = int(changes.bookmarks.size());
    return changes;
}

void SheetDeadlines::clear()
{
    m_sheetId = 0;
    m_count = 0;
    m_bookmarkOf.clear();
}
