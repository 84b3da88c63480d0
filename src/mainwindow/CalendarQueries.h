#pragma once

#include <QDate>
#include <QSet>
#include <QString>
#include <QtGlobal>

class Connection;

// The calendar column's statements and the reads built on them: which days carry
// open deadlines of a sheet, and which open deadlines fall in the selected days.
namespace CalendarQueries {

// One grouped statement for a whole run of days: a row per busy day.
QString busyDaysSql(const QDate &first, const QDate &last, qint32 sheetId);
// One day's open deadlines; the calendar's own request asks day by day.
QString busyDaySql(const QDate &day, qint32 sheetId);
// The upcoming panel: TrDescription, TrGrpType, TrGrpRow, TrGrpMDay, TrRowId,
// latest date first.
QString upcomingSql(const QDate &first, const QDate &last, qint32 sheetId);

// The busy days between first and last, with one statement. Throws DbError.
QSet<QDate> busyDays(Connection &connection, const QDate &first, const QDate &last, qint32 sheetId);
// The same answer asked one day at a time, for `dayCount` days from `first`, on
// the one connection. Throws DbError.
QSet<QDate> busyDaysOneByOne(Connection &connection, const QDate &first, int dayCount, qint32 sheetId);

} // namespace CalendarQueries
