#pragma once

#include "reports/ReportColumn.h"
#include "reports/ReportRow.h"
#include "store/CounterpartyStore.h"

#include <QList>

#include <vector>

class ReportTexts;

// The printed list of clients and suppliers: a name column and a notes column.
enum CounterpartyColumnIndex {
    CounterpartyNameColumn,
    CounterpartyNotesColumn,
    CounterpartyColumnCount,
};

// Names and notes both wrap: a long name or a note of several lines takes the
// lines it needs instead of being cut.
QList<ReportColumn> counterpartyReportColumns(const ReportTexts &texts);
// Four parts of the printable width (points) to the name, six to the notes.
QList<qreal> counterpartyColumnWidths(qreal printableWidth);
// One row per client or supplier, in the order given.
QList<ReportRow> counterpartyReportRows(const std::vector<Counterparty> &counterparties);
