#include "mainwindow/CalendarQueries.h"

#include "store/Recordset.h"
#include "store/SqlText.h"

namespace CalendarQueries {

namespace {

QString openOfSheet(qint32 sheetId)
{
    return QStringLiteral(" AND TrDone=False AND TrDbId=") + QString::number(sheetId);
}

QString between(const QDate &first, const QDate &last)
{
    return QStringLiteral("(TrDate Between ") + sqlDateLiteral(first) + QStringLiteral(" And ")
           + sqlDateLiteral(last) + QLatin1Char(')');
}

} // namespace

QString busyDaysSql(const QDate &first, const QDate &last, qint32 sheetId)
{
    return QStringLiteral("SELECT Count(TrRowId) AS CTR, TrDate FROM Transactions WHERE ") + between(first, last)
           + openOfSheet(sheetId) + QStringLiteral(" GROUP BY TrDate");
}

QString busyDaySql(const QDate &day, qint32 sheetId)
{
    return QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDate=") + sqlDateLiteral(day)
           + openOfSheet(sheetId);
}

QString upcomingSql(const QDate &first, const QDate &last, qint32 sheetId)
{
    return QStringLiteral("SELECT TrDescription, TrGrpType, TrGrpRow, TrGrpMDay, TrRowId FROM Transactions Where ")
           + between(first, last) + openOfSheet(sheetId) + QStringLiteral(" ORDER BY TrDate DESC");
}

QSet<QDate> busyDays(Connection &connection, const QDate &first, const QDate &last, qint32 sheetId)
{
    QSet<QDate> days;
    Recordset rs;
    rs.open(busyDaysSql(first, last, sheetId), connection, CursorType::ForwardOnly);
    const int dateField = rs.fieldIndex(QStringLiteral("TrDate"));
    for (; !rs.eof(); rs.moveNext()) {
        const QDate day = rs.field(dateField).toDate();
        if (day.isValid())
            days.insert(day);
    }
    rs.close();
    return days;
}

QSet<QDate> busyDaysOneByOne(Connection &connection, const QDate &first, int dayCount, qint32 sheetId)
{
    QSet<QDate> days;
    for (int i = 0; i < dayCount; ++i) {
        const QDate day = first.addDays(i);
        Recordset rs;
        rs.open(busyDaySql(day, sheetId), connection, CursorType::ForwardOnly);
        if (!rs.eof())
            days.insert(day);
        rs.close();
    }
    return days;
}

} // namespace CalendarQueries
