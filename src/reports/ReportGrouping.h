#pragma once

#include "reports/ReportFilter.h"
#include "store/MoneySum.h"

#include <QDate>
#include <QList>
#include <QString>

class ReportTexts;

// The levels a report groups by below its sheet group.
enum class ReportGroupLevel { Date, Counterparty };

// The group levels of a grouping choice, outermost first.
QList<ReportGroupLevel> reportGroupLevels(ReportFilter::Grouping grouping);

// 1 for January to April, 2 for May to August, 3 for September to December.
int fourMonthIndex(const QDate &date);

// The key that puts a date into its group under a date mode: equal keys share a
// group, and keys ascend with the dates. PeriodMode: 0 up to today, 1 up to the
// end of today's month, 2 later. MonthMode yyyymm, QuarterMode yyyyq,
// FourMonthMode year × 10 + fourMonthIndex, YearMode yyyy.
int reportDateGroupKey(const QDate &date, ReportFilter::DateMode mode, const QDate &today);

// The caption of the date group that holds date, without total (" Q3 2027",
// "4M2 2027", " March 2027", " 2027", " Until Today").
QString reportDateGroupCaption(const QDate &date, ReportFilter::DateMode mode, const QDate &today,
                               const ReportTexts &texts);
// caption + " [" + the total as money + "]".
QString captionWithTotal(const QString &caption, const MoneySum &total, const ReportTexts &texts);
// A counterparty group: its name, or the "(none)" text when it has none; with its
// total when totals are shown.
QString reportCounterpartyCaption(const QString &name, const MoneySum &total, bool showTotals,
                                  const ReportTexts &texts);
// The sheet group that holds the whole report: the sheet's name, with the grand
// total when totals are shown.
QString reportSheetCaption(const QString &sheetName, const MoneySum &total, bool showTotals,
                           const ReportTexts &texts);
