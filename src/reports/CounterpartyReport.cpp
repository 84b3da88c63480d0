#include "reports/CounterpartyReport.h"

#include "reports/ReportTexts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int NameText = 1321;
constexpr int NotesText = 1322;

} // namespace

QList<ReportColumn> counterpartyReportColumns(const ReportTexts &texts)
{
    QList<ReportColumn> columns(CounterpartyColumnCount);
    columns[CounterpartyNameColumn] = {texts.text(NameText), 0, Qt::AlignLeft, true};
    columns[CounterpartyNotesColumn] = {texts.text(NotesText), 0, Qt::AlignLeft, true};
    return columns;
}

QList<qreal> counterpartyColumnWidths(qreal printableWidth)
{
    // Whole tenths of a point, so the same paper always gives the same pages.
    const qreal name = std::round(std::max<qreal>(printableWidth, 0) * 4) / 10;
    return {name, std::max<qreal>(printableWidth - name, 0)};
}

QList<ReportRow> counterpartyReportRows(const std::vector<Counterparty> &counterparties)
{
    QList<ReportRow> rows;
    rows.reserve(qsizetype(counterparties.size()));
    for (const Counterparty &c : counterparties) {
        ReportRow row;
        row.kind = ReportRow::DeadlineRow;
        row.level = 0;
        row.cells = {c.name, c.notes};
        rows.append(row);
    }
    return rows;
}
