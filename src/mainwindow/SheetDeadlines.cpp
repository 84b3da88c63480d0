#include "mainwindow/SheetDeadlines.h"

#include "mainwindow/DeadlineList.h"

#include <QSet>

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

void SheetDeadlines::load(DeadlineStore &store, qint32 sheetId)
{
    std::vector<DeadlineRow> rows = store.sheetRows(sheetId);
    std::sort(rows.begin(), rows.end(), listedBefore);
    m_rows = std::move(rows);
    m_sheetId = sheetId;
}

void SheetDeadlines::reread(DeadlineStore &store, const QList<qint32> &rowIds)
{
    std::vector<DeadlineRow> fresh = store.rowsById(rowIds);
    const QSet<qint32> named(rowIds.cbegin(), rowIds.cend());
    std::erase_if(m_rows, [&](const DeadlineRow &row) { return named.contains(row.rowId); });
    std::erase_if(fresh, [this](const DeadlineRow &row) { return row.sheetId != m_sheetId; });
    std::sort(fresh.begin(), fresh.end(), listedBefore);
    const size_t kept = m_rows.size();
    m_rows.insert(m_rows.end(), std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    std::inplace_merge(m_rows.begin(), m_rows.begin() + std::ptrdiff_t(kept), m_rows.end(), listedBefore);
}

void SheetDeadlines::clear()
{
    m_rows.clear();
    m_sheetId = 0;
}

GridRecords SheetDeadlines::records(const std::function<bool(const DeadlineRow &)> &shows) const
{
    GridRecords records;
    records.fieldNames = listFieldNames();
    records.columns.resize(records.fieldNames.size());
    std::vector<const DeadlineRow *> listed;
    listed.reserve(m_rows.size());
    for (const DeadlineRow &row : m_rows)
        if (shows(row))
            listed.push_back(&row);
    for (auto &column : records.columns)
        column.reserve(listed.size());
    auto put = [&records](int column, QVariant value) { records.columns[column - 1].push_back(std::move(value)); };
    for (const DeadlineRow *row : listed) {
        using namespace ListColumn;
        put(TrRowId, int(row->rowId));
        put(TrDbId, int(row->sheetId));
        put(TrType, row->type);
        put(TrDone, row->done);
        put(TrDate, row->date.isValid() ? QVariant(row->date) : QVariant());
        put(TrDescription, textValue(row->description));
        put(TrAcId, idValue(row->counterpartyRef));
        put(TrValue, amountValue(row->amount));
        put(TrBalance, amountValue(row->balance));
        put(TrGrpType, textValue(row->cadence));
        put(TrGrpRow, row->groupRow);
        put(TrGrpMDay, row->groupSize);
        put(TrNotes, textValue(row->notes));
        put(TrGrpId, int(row->groupId));
        put(AcId, idValue(row->counterpartyId));
        put(AcName, textValue(row->counterpartyName));
        put(AcNotes, textValue(row->counterpartyNotes));
    }
    records.rowCount = int(listed.size());
    return records;
}
