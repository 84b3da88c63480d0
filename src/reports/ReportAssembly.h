#pragma once

#include "reports/ReportContent.h"
#include "reports/ReportTexts.h"
#include "store/CounterpartyStore.h"

#include <QList>

#include <vector>

class QPrinter;
class ReportDocument;
class ReportFilter;

// Putting the report pieces together the way the program prints them.

// The program's texts in the user's language, the system locale's money and its
// short dates with four-digit years, as the lists show them.
ReportTexts programReportTexts();

// A deadline report: the sheet's name on top of every page, the deadlines grouped
// as the filter says, the filter's description at the foot of the last page and
// the list's pictures for the types and recurrences.
void fillDeadlineReport(ReportDocument &document, const QList<ReportDeadline> &deadlines,
                        const ReportFilter &filter, const ReportTexts &texts, const ReportSettings &settings);

// The list of clients and suppliers under the given title.
void fillCounterpartyReport(ReportDocument &document, const std::vector<Counterparty> &counterparties,
                            const QString &title, const ReportTexts &texts);

// Paper and margins for a report: the printer's paper, at least 15 mm of margin
// on every side, and sizes shown in the locale's unit (inches or millimetres).
void prepareReportPrinter(QPrinter &printer, const QLocale &locale);
