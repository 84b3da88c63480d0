#pragma once

#include "store/MoneySum.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <array>

// The widget-free half of the main deadline list: which rows each view shows,
// the grid's column numbers, the computed columns (group key, open balance,
// description with its recurrence counter), the "Expired" rule, the icon numbers
// and the captions of the group rows. The main window and its tests share it.

constexpr int ViewCount = 8;
constexpr int CalendarView = 7;

// The caption's resource id of row 0..7 of the view combo box.
constexpr int viewCaptionId(int viewRow) { return 951 + viewRow; }
// Whether row 0..6 of the view combo box shows a deadline: all, open, open
// without appointments, open credits, open debits, open appointments, closed.
// The calendar view (7) shows the deadlines from first to last.
bool viewShows(int viewRow, bool done, int type, const QDate &date, const QDate &first, const QDate &last);

// Columns of the main grid, numbered from 1; 18 and 19 are computed by the
// window, the others are a deadline's values.
namespace ListColumn {
constexpr int TrRowId = 1;
constexpr int TrDbId = 2;
constexpr int TrType = 3;
constexpr int TrDone = 4;
constexpr int TrDate = 5;
constexpr int TrDescription = 6;
constexpr int TrAcId = 7;
constexpr int TrValue = 8;
constexpr int TrBalance = 9;
constexpr int TrGrpType = 10;
constexpr int TrGrpRow = 11;
constexpr int TrGrpMDay = 12;
constexpr int TrNotes = 13;
constexpr int TrGrpId = 14;
constexpr int AcId = 15;
constexpr int AcName = 16;
constexpr int AcNotes = 17;
constexpr int Fields = 17;
constexpr int GroupKey = 18;
constexpr int OpenBalance = 19;
constexpr int Count = 19;
// Resource id of a column's caption (1000 + column - 1), 0 for the columns without one.
int captionId(int column);
} // namespace ListColumn

// The names of columns 1..17, as the table names them.
QStringList listFieldNames();

// What a search looks in: the description, the client/supplier's name, the
// notes and the client/supplier's notes, one blank apart, without blanks around.
QString searchText(const QString &description, const QString &counterpartyName, const QString &notes,
                   const QString &counterpartyNotes);

// Computed column 18: the date group of a deadline under a layout.
// Layout 1: 0 up to today, 1 up to the month's last day, 2 later; layout 2: yyyymm.
int groupKeyForDate(const QDate &date, int groupOption, const QDate &today);
// Computed column 19: what a deadline still weighs in a total. A balance that is
// no amount (storedAmount()) stays as it was read, so the totals over it say so.
QVariant openBalance(bool done, const QVariant &balance);

// Column 6 as shown: group members get " row<separator>size" when counters are on.
QString descriptionShown(const QString &description, qint32 grpId, int grpRow, int grpMDay,
                         bool showCounters, const QString &counterSeparator);
// " " + text 1050 + " ": " of " in English.
QString counterSeparatorText();

// A deadline row is painted "Expired" when it is open and due by the horizon.
bool isExpired(bool done, const QDate &date, const QDate &warningHorizon);

// What a screen reader hears of a deadline's state, which the list shows by picture
// and colour: its type, then closed, overdue (past its date), due soon (painted
// "Expired" but not yet past) or open, then a recurrence's place: "Debit, closed",
// "Credit, overdue, 3 of 12".
QString deadlineStateText(int trType, bool done, const QDate &date, const QDate &today,
                          const QDate &warningHorizon, qint32 grpId, int grpRow, int grpMDay);

// Picture numbers 1..13 of the list's image list.
int typeIconIndex(int trType, bool done);            // column 3; -1 for an unknown type
int descriptionIconIndex(qint32 grpId, bool done);   // column 6; -1 for a single deadline
QString iconResourcePath(int index);                 // ":/icons/....svg"; empty outside 1..13
constexpr int IconCount = 13;

// A group's total: the sum of column 19 over the group, which may lie past
// Currency's range or hold an amount out of range.
using TotalUnits = MoneySum;

// Captions of the group rows, totals in the program's money format; a total that
// is no number reads as words instead of a wrong number (formatMoneySum()).
QString topGroupCaption(const QString &sheetName, const QString &viewCaption, int groupOption,
                        bool showTotals, const TotalUnits &total, const QLocale &locale);
// A group of layout 3; defaultCaption is the grid's own (the group's AcName).
QString counterpartyGroupCaption(const QString &acName, const QString &defaultCaption,
                                 bool showTotals, const TotalUnits &total, const QLocale &locale);
// A group of layouts 1 and 2 by its key (column 18); starts with a blank.
QString dateGroupCaption(int key, int groupOption, bool showTotals, const TotalUnits &total, const QLocale &locale);
