#include "mainwindow/CalendarQueries.h"

#include "store/DeadlineStore.h"

namespace CalendarQueries {

QSet<QDate> busyDays(Connection &connection, const QDate &first, const QDate &last, qint32 sheetId)
{
    const QList<QDate> days = DeadlineStore(connection).busyDays(sheetId, first, last);
    return QSet<QDate>(days.cbegin(), days.cend());
}

QSet<QDate> busyDaysOneByOne(Connection &connection, const QDate &first, int dayCount, qint32 sheetId)
{
    QSet<QDate> days;
    DeadlineStore store(connection);
    for (int i = 0; i < dayCount; ++i) {
        const QDate day = first.addDays(i);
        if (!store.busyDays(sheetId, day, day).isEmpty())
            days.insert(day);
    }
    return days;
}

} // namespace CalendarQueries
