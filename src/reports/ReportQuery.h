#pragma once

#include <QString>
#include <QtGlobal>

class ReportFilter;

// The SELECT of every report, up to (not including) its WHERE clause: the
// deadline fields, the counterparty's fields and the search text, no ORDER BY
// (the report orders its rows itself).
QString reportQueryBase();
// The report's query for the filter on the given sheet: the sheet condition, then
// state, types, period and counterparty, in that order.
QString reportQueryText(const ReportFilter &filter, qint32 sheetId);
// The same SELECT that matches no row, for a report that has not been applied yet.
QString emptyReportQueryText();
// Earliest and latest deadline date over all sheets (Date1, Date2): where the
// period pickers start.
QString reportPeriodBoundsQuery();
// The counterparties a report can be restricted to, by name.
QString reportCounterpartiesQuery();
