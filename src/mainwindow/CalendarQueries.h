#pragma once

#include <QDate>
#include <QSet>
#include <QString>
#include <QtGlobal>

class Connection;

// The calendar column's reads: which days carry open deadlines of a sheet.
namespace CalendarQueries {

// The busy days between first and last, with one statement. Throws DbError.
QSet<QDate> busyDays(Connection &connection, const QDate &first, const QDate &last, qint32 sheetId);
// The same answer asked one day at a time, for `dayCount` days from `first`, on
// the one connection. Throws DbError.
QSet<QDate> busyDaysOneByOne(Connection &connection, const QDate &first, int dayCount, qint32 sheetId);

} // namespace CalendarQueries
