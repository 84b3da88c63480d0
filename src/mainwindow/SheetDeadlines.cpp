#include "mainwindow/SheetDeadlines.h"

#include "mainwindow/DeadlineList.h"
#include "store/DeadlineStore.h"

#include <algorithm>
#include <numeric>

namespace {

// The index's order: a row without a date first, as the index keeps Null first.
bool listedBefore(const DeadlineRow &a, const DeadlineRow &b)
{
    if (a.date != b.date)
        return !a.date.isValid() || (b.date.isValid() && a.date < b.date);
    return a.rowId < b.rowId;
}

void appendAmount(GridCells &column, const std::optional<Currency> &amount)
{
    // A value no amount holds stays something no reader takes for an amount.
    if (amount)
        column.appendMoney(*amount);
    else
        column.append(QVariant(QStringLiteral("?")));
}

void appendId(GridCells &column, qint32 id)
{
    if (id == 0)
        column.appendNull();
    else
        column.appendInteger(id);
}

// Deadlines as the list's columns 1..17, in the given order of rows, each column
// held by its type.
GridRecords columnsOf(const std::vector<DeadlineRow> &rows, const std::vector<int> &order)
{
    using namespace ListColumn;
    using Kind = GridCells::Kind;
    static constexpr Kind kinds[Fields] = {Kind::Integer, Kind::Integer, Kind::Integer, Kind::Boolean, Kind::Date,
                                           Kind::Text,    Kind::Integer, Kind::Money,   Kind::Money,   Kind::Text,
                                           Kind::Integer, Kind::Integer, Kind::Text,    Kind::Integer, Kind::Integer,
                                           Kind::Text,    Kind::Text};
    GridRecords records;
    records.fieldNames = listFieldNames();
    records.columns.reserve(Fields);
    // Room for the deadlines the user saves next, which are added at the end.
    for (Kind kind : kinds) {
        records.columns.emplace_back(kind);
        records.columns.back().reserve(int(rows.size() + rows.size() / 16 + 16));
    }
    auto column = [&records](int number) -> GridCells & { return records.columns[number - 1]; };
    for (int index : order) {
        const DeadlineRow &row = rows[index];
        column(TrRowId).appendInteger(row.rowId);
        column(TrDbId).appendInteger(row.sheetId);
        column(TrType).appendInteger(row.type);
        column(TrDone).appendInteger(row.done ? 1 : 0);
        column(TrDate).appendDate(row.date);
        column(TrDescription).appendText(row.description);
        appendId(column(TrAcId), row.counterpartyRef);
        appendAmount(column(TrValue), row.amount);
        appendAmount(column(TrBalance), row.balance);
        column(TrGrpType).appendText(row.cadence);
        column(TrGrpRow).appendInteger(row.groupRow);
        column(TrGrpMDay).appendInteger(row.groupSize);
        column(TrNotes).appendText(row.notes);
        column(TrGrpId).appendInteger(row.groupId);
        appendId(column(AcId), row.counterpartyId);
        column(AcName).appendText(row.counterpartyName);
        column(AcNotes).appendText(row.counterpartyNotes);
    }
    records.rowCount = int(order.size());
    return records;
}

std::vector<int> listedOrder(const std::vector<DeadlineRow> &rows)
{
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    // Only the indexes move, not the rows.
    std::sort(order.begin(), order.end(), [&rows](int a, int b) { return listedBefore(rows[a], rows[b]); });
    return order;
}

} // namespace

GridRecords SheetDeadlines::records(const std::vector<DeadlineRow> &rows)
{
    return columnsOf(rows, listedOrder(rows));
}

GridRecords SheetDeadlines::load(DeadlineStore &store, qint32 sheetId)
{
    const std::vector<DeadlineRow> rows = store.sheetRows(sheetId);
    const std::vector<int> order = listedOrder(rows);
    m_bookmarkOf.clear();
    m_bookmarkOf.reserve(qsizetype(rows.size()));
    for (int b = 0; b < int(order.size()); ++b)
        m_bookmarkOf.insert(rows[order[b]].rowId, b);
    m_count = int(rows.size());
    m_sheetId = sheetId;
    return columnsOf(rows, order);
}

SheetDeadlines::Changes SheetDeadlines::reread(DeadlineStore &store, const QList<qint32> &rowIds)
{
    std::vector<DeadlineRow> fresh = store.rowsById(rowIds);
    std::erase_if(fresh, [this](const DeadlineRow &row) { return row.sheetId != m_sheetId; });
    std::sort(fresh.begin(), fresh.end(), listedBefore);
    Changes changes;
    for (const DeadlineRow &row : fresh) {
        const auto held = m_bookmarkOf.constFind(row.rowId);
        changes.bookmarks.push_back(held == m_bookmarkOf.constEnd() ? -1 : *held);
        if (held == m_bookmarkOf.constEnd())
            m_bookmarkOf.insert(row.rowId, m_count++);
    }
    // Rows named but not read back left the sheet: their places go empty.
    for (qint32 id : rowIds) {
        const auto held = m_bookmarkOf.constFind(id);
        if (held == m_bookmarkOf.constEnd()
            || std::any_of(fresh.begin(), fresh.end(), [id](const DeadlineRow &row) { return row.rowId == id; }))
            continue;
        changes.bookmarks.push_back(*held);
        m_bookmarkOf.erase(held);
    }
    changes.rows = records(fresh);
    // The emptied places: Nulls in every column.
    for (size_t i = fresh.size(); i < changes.bookmarks.size(); ++i) {
        for (auto &column : changes.rows.columns)
            column.appendNull();
        ++changes.rows.rowCount;
    }
    return changes;
}

void SheetDeadlines::clear()
{
    m_sheetId = 0;
    m_count = 0;
    m_bookmarkOf.clear();
}
