#include "mainwindow/ListedDeadlines.h"

#include "mainwindow/DeadlineList.h"
#include "platform/grid/GridModel.h"
#include "store/MoneySum.h"

QList<ListedDeadline> listedDeadlines(const GridModel &list, bool showCounters, const QString &counterSeparator)
{
    QList<ListedDeadline> rows;
    // Collapsing a group hides its rows on screen, not from the view: they are
    // walked in the ordering, not in what is listed.
    rows.reserve(list.dataRowCount());
    for (int position = 0; position < list.dataRowCount(); ++position) {
        const GridRow row = list.orderedDataRow(position);
        auto field = [&row](int column) { return row.field(column); };
        ListedDeadline d;
        d.rowId = field(ListColumn::TrRowId).toInt();
        d.sheetId = field(ListColumn::TrDbId).toInt();
        d.type = field(ListColumn::TrType).toInt();
        d.done = field(ListColumn::TrDone).toBool();
        d.date = field(ListColumn::TrDate).toDate();
        d.description = field(ListColumn::TrDescription).toString();
        d.groupId = field(ListColumn::TrGrpId).toInt();
        d.groupRow = field(ListColumn::TrGrpRow).toInt();
        d.groupSize = field(ListColumn::TrGrpMDay).toInt();
        d.shownDescription = descriptionShown(d.description, d.groupId, d.groupRow, d.groupSize, showCounters,
                                              counterSeparator);
        d.amount = storedAmount(field(ListColumn::TrValue));
        d.balance = storedAmount(field(ListColumn::TrBalance));
        d.counterpartyName = field(ListColumn::AcName).toString();
        d.counterpartyNotes = field(ListColumn::AcNotes).toString();
        d.notes = field(ListColumn::TrNotes).toString();
        rows.append(std::move(d));
    }
    return rows;
}
