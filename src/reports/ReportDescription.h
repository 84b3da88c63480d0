#pragma once

#include <QString>

class ReportFilter;
class ReportTexts;

// What a report shows, for the foot of its last page: a filter line and a
// grouping line joined by "\r\n". The filter line is empty when the report
// selects everything; otherwise it reads "<filter label>: " followed by the
// single checked state, the checked types when not all three, the period and the
// counterparty, separated by " | ". The grouping line names the grouping, and is
// empty without one.
QString describeReportFilter(const ReportFilter &filter, const ReportTexts &texts);

// The title a saved report carries (what a PDF reader shows): the sheet's name,
// then each non-empty line of the description, joined by " - ", with the
// mnemonic marks of the window's captions taken out ("&1 Filter" reads
// "1 Filter").
QString reportDocumentTitle(const QString &sheetName, const QString &description);
