#pragma once

#include "reports/Aging.h"
#include "reports/ReportColumn.h"
#include "reports/ReportRow.h"

#include <QList>
#include <QString>
#include <QStringList>

class ReportTexts;

// Text ids of the aging per client/supplier.
namespace AgingText {
enum : int {
    MenuEntry = 2970,
    Title = 2971,
    Credits = 2972,
    Debits = 2973,
    FirstBucket = 2974,   // "not yet due", then "1–30" to "over 90"
    OldestDue = 2979,
    AsOf = 2980,
    PrintButton = 2981,
    ExportButton = 2982,
    Hint = 2983,
    ExportCaption = 2984,
    Total = 1008,
    Counterparty = 1015,
    NoCounterparty = 1054,
    Credit = 1041,
    Debit = 1042,
    Type = 1002,
};
}

// The columns of both tables: client/supplier, the five buckets, the total and
// the oldest due date.
enum AgingColumn {
    AgingNameColumn,
    AgingFirstBucketColumn,
    AgingTotalColumn = AgingFirstBucketColumn + AgingBucketCount,
    AgingOldestDueColumn,
    AgingColumnCount,
};

// The captions of the columns, in their order.
QStringList agingColumnCaptions(const ReportTexts &texts);
// One row's cells as the window and the report show them: the name ("(none)"
// without a client/supplier), the amounts as money, the oldest due date.
QStringList agingRowCells(const AgingRow &row, const ReportTexts &texts);
// The totals row of a table: "Total" and the sums per column.
QStringList agingTotalsCells(const AgingRow &totals, const ReportTexts &texts);
// "Days overdue as of <today>".
QString agingAsOfText(const Aging &aging, const ReportTexts &texts);

// The printed report: the credits and the debits each under its caption, every
// client/supplier a line, then the table's totals.
QList<ReportColumn> agingReportColumns(const ReportTexts &texts);
// About a quarter of the printable width (points) to the name, the rest to the figures and the date.
QList<qreal> agingColumnWidths(qreal printableWidth);
QList<ReportRow> agingReportRows(const Aging &aging, const ReportTexts &texts);
