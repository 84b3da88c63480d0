#include "store/DueStore.h"

#include <QSqlQuery>

std::vector<DueDeadline> DueStore::openBetween(const QDate &first, const QDate &last)
{
    QSqlQuery query = run("due-across-sheets",
                          {{"first", first.toString(Qt::ISODate)}, {"last", last.toString(Qt::ISODate)}});
    std::vector<DueDeadline> rows;
    while (query.next()) {
        DueDeadline row;
        row.rowId = query.value(0).toInt();
        row.sheetId = query.value(1).toInt();
        row.sheetName = query.value(2).toString();
        // A time part written by another tool does not change the day.
        row.date = QDate::fromString(query.value(3).toString().left(10), Qt::ISODate);
        row.type = query.value(4).toInt();
        row.description = query.value(5).toString();
        row.groupId = query.value(6).toInt();
        row.groupRow = query.value(7).toInt();
        row.groupSize = query.value(8).toInt();
        rows.push_back(row);
    }
    return rows;
}
