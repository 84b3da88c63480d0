#include "mainwindow/SheetDeadlines.h"

#include "mainwindow/DeadlineList.h"
#include "store/DeadlineStore.h"

#include <algorithm>

namespace {

// The index's order: a row without a date first, as the index keeps Null first.
bool listedBefore(const DeadlineRow &a, const DeadlineRow &b)
{
    if (a.date != b.date)
        return !a.date.isValid() || (b.date.isValid() && a.date < b.date);
    return a.rowId < b.rowId;
}

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

QVariant amountValue(const std::optional<Currency> &amount)
{
    // A value no amount holds stays something no reader takes for an amount.
    return amount ? QVariant::fromValue(*amount) : QVariant(QStringLiteral("?"));
}

QVariant idValue(qint32 id)
{
    return id == 0 ? QVariant() : QVariant(int(id));
}

} // namespace

GridRecords SheetDeadlines::records(const std::vector<DeadlineRow> &rows)
{
    GridRecords records;
    records.fieldNames = listFieldNames();
    records.columns.resize(records.fieldNames.size());
    // Room for the deadlines the user saves next, which are added at the end.
    for (auto &column : records.columns)
        column.reserve(rows.size() + rows.size() / 16 + 16);
    auto put = [&records](int column, QVariant value) { records.columns[column - 1].push_back(std::move(value)); };
    for (const DeadlineRow &row : rows) {
        using namespace ListColumn;
        put(TrRowId, int(row.rowId));
        put(TrDbId, int(row.sheetId));
        put(TrType, row.type);
        put(TrDone, row.done);
        put(TrDate, row.date.isValid() ? QVariant(row.date) : QVariant());
        put(TrDescription, textValue(row.description));
        put(TrAcId, idValue(row.counterpartyRef));
        put(TrValue, amountValue(row.amount));
        put(TrBalance, amountValue(row.balance));
        put(TrGrpType, textValue(row.cadence));
        put(TrGrpRow, row.groupRow);
        put(TrGrpMDay, row.groupSize);
        put(TrNotes, textValue(row.notes));
        put(TrGrpId, int(row.groupId));
        put(AcId, idValue(row.counterpartyId));
        put(AcName, textValue(row.counterpartyName));
        put(AcNotes, textValue(row.counterpartyNotes));
    }
    records.rowCount = int(rows.size());
    return records;
}

GridRecords SheetDeadlines::load(DeadlineStore &store, qint32 sheetId)
{
    std::vector<DeadlineRow> rows = store.sheetRows(sheetId);
    std::sort(rows.begin(), rows.end(), listedBefore);
    m_bookmarkOf.clear();
    m_bookmarkOf.reserve(qsizetype(rows.size()));
    for (int b = 0; b < int(rows.size()); ++b)
        m_bookmarkOf.insert(rows[b].rowId, b);
    m_count = int(rows.size());
    m_sheetId = sheetId;
    return records(rows);
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
            column.emplace_back();
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
