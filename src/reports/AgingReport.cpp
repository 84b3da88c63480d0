#include "reports/AgingReport.h"

#include "reports/ReportTexts.h"

#include <algorithm>
#include <cmath>

QStringList agingColumnCaptions(const ReportTexts &texts)
{
    QStringList captions{texts.text(AgingText::Counterparty)};
    for (int b = 0; b < AgingBucketCount; ++b)
        captions << texts.text(AgingText::FirstBucket + b);
    captions << texts.text(AgingText::Total) << texts.text(AgingText::OldestDue);
    return captions;
}

namespace {

QStringList cells(const QString &name, const AgingRow &row, const ReportTexts &texts)
{
    QStringList cells{name};
    for (const MoneySum &sum : row.buckets)
        cells << texts.total(sum);
    cells << texts.total(row.total);
    cells << (row.oldestDue.isValid() ? texts.shortDate(row.oldestDue) : QString());
    return cells;
}

} // namespace

QStringList agingRowCells(const AgingRow &row, const ReportTexts &texts)
{
    return cells(row.counterpartyId != 0 ? row.name : texts.text(AgingText::NoCounterparty), row, texts);
}

QStringList agingTotalsCells(const AgingRow &totals, const ReportTexts &texts)
{
    return cells(texts.text(AgingText::Total), totals, texts);
}

QString agingAsOfText(const Aging &aging, const ReportTexts &texts)
{
    return texts.text(AgingText::AsOf).arg(texts.shortDate(aging.today));
}

QList<ReportColumn> agingReportColumns(const ReportTexts &texts)
{
    QList<ReportColumn> columns;
    const QStringList captions = agingColumnCaptions(texts);
    for (int c = 0; c < AgingColumnCount; ++c) {
        const bool amount = c >= AgingFirstBucketColumn && c <= AgingTotalColumn;
        columns.append({captions.at(c), 0, amount ? Qt::AlignRight : Qt::AlignLeft, c == AgingNameColumn});
    }
    return columns;
}

QList<qreal> agingColumnWidths(qreal printableWidth)
{
    // Whole tenths of a point, so the same paper always gives the same pages; the
    // date's heading is the longest of the figures' columns.
    const qreal width = std::max<qreal>(printableWidth, 0);
    const qreal amount = std::floor(width * 1.05) / 10;
    const qreal date = std::floor(width * 1.3) / 10;
    QList<qreal> widths{std::max<qreal>(width - amount * (AgingOldestDueColumn - 1) - date, 0)};
    for (int c = AgingFirstBucketColumn; c < AgingOldestDueColumn; ++c)
        widths << amount;
    widths << date;
    return widths;
}

QList<ReportRow> agingReportRows(const Aging &aging, const ReportTexts &texts)
{
    QList<ReportRow> rows;
    const auto addTable = [&](const AgingTable &table, int captionId) {
        ReportRow caption;
        caption.kind = ReportRow::GroupRow;
        caption.caption = texts.text(captionId);
        rows.append(caption);
        for (const AgingRow &r : table.rows) {
            ReportRow row;
            row.level = 1;
            row.cells = agingRowCells(r, texts);
            rows.append(row);
        }
        ReportRow totals;
        totals.level = 1;
        totals.cells = agingTotalsCells(table.totals, texts);
        rows.append(totals);
    };
    addTable(aging.credits, AgingText::Credits);
    addTable(aging.debits, AgingText::Debits);
    return rows;
}
