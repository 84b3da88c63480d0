#pragma once

#include "reports/ReportColumn.h"
#include "reports/ReportColumnFit.h"
#include "reports/ReportRow.h"
#include "store/ReportStore.h"

#include <QDate>
#include <QList>
#include <QString>

class ReportFilter;
class ReportTexts;

// The printed columns of a deadline report, in page order.
enum ReportColumnIndex {
    TypeColumnIndex,
    DateColumnIndex,
    DescriptionColumnIndex,
    CounterpartyColumnIndex,
    AmountColumnIndex,
    ReportColumnCount,
};

// Picture numbers of the list's pictures that a report shows.
enum ReportPicture {
    OpenCreditPicture = 5,
    OpenDebitPicture = 6,
    OpenAppointmentPicture = 7,
    OpenRecurrencePicture = 9,
    ClosedDebitPicture = 10,
    ClosedCreditPicture = 11,
    ClosedAppointmentPicture = 12,
    ClosedRecurrencePicture = 13,
};

// What a report prints besides the filter's choices.
struct ReportSettings
{
    QString sheetName;
    QDate today;
    // Open deadlines due on or before this date are marked; none without a date.
    QDate warningHorizon;
    // Recurrence members show "n of m" after their description.
    bool showCounters = true;
};

// The report's columns with their headings and widths.
QList<ReportColumn> reportColumns(const ReportTexts &texts, const ReportColumnWidths &widths);
// fitReportColumns as a list in the columns' order, for a page layout to refit
// the columns to whatever paper it is given.
QList<qreal> reportColumnWidths(qreal printableWidth);

// The report's lines: the sheet group, the groups of the filter's grouping in
// ascending order of their keys (dates, or counterparty names with the ones
// without a name first), and the deadlines of each group by date. Group captions
// carry their totals of open balances when the filter shows totals.
QList<ReportRow> reportRows(const QList<ReportDeadline> &deadlines, const ReportFilter &filter,
                            const ReportTexts &texts, const ReportSettings &settings);
