#include "store/DeadlineStore.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace {


// Dates are stored as ISO text (yyyy-MM-dd), as every other writer stores them.
QVariant storedDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

} // namespace

DeadlineStore::DeadlineStore(const QString &connectionString)
    : m_own(openStoreConnection(connectionString))
    , m_connection(*m_own)
{
}

DeadlineStore::DeadlineStore(Connection &connection)
    : m_connection(connection)
{
}

DeadlineStore::~DeadlineStore() = default;

QSqlQuery DeadlineStore::run(const char *name, StatementValues values)
{
    return runStatement(m_connection, name, values);
}

void DeadlineStore::toggleDone(qint32 rowId)
{
    run("toggle-done", {{"rowId", qlonglong(rowId)}});
}

void DeadlineStore::deleteDeadline(qint32 rowId)
{
    run("delete-deadline", {{"rowId", qlonglong(rowId)}});
}

void DeadlineStore::deleteFromGroup(qint32 rowId, qint32 groupId)
{
    TransactionGuard transaction(m_connection);
    run("delete-deadline", {{"rowId", qlonglong(rowId)}});
    renumberGroup(groupId);
    transaction.commit();
}

void DeadlineStore::deleteGroup(qint32 groupId)
{
    run("delete-group", {{"groupId", qlonglong(groupId)}});
}

qint32 DeadlineStore::nextGroupId()
{
    QSqlQuery query = run("next-group-id", {});
    return query.next() ? qint32(query.value(0).toLongLong()) : 1;
}

void DeadlineStore::renumberGroup(qint32 groupId)
{
    std::vector<qlonglong> members;
    {
        QSqlQuery query = run("group-members", {{"groupId", qlonglong(groupId)}});
        while (query.next())
            members.push_back(query.value(0).toLongLong());
    }
    const qlonglong count = qlonglong(members.size());
    qlonglong row = 0;
    for (const qlonglong rowId : members)
        run("number-group-member", {{"row", ++row}, {"count", count}, {"rowId", rowId}});
}

int DeadlineStore::countClosedUpTo(qint32 sheetId, const QDate &lastDate)
{
    QSqlQuery query = run("count-closed", {{"lastDate", storedDate(lastDate)}, {"sheetId", qlonglong(sheetId)}});
    return query.next() ? query.value(0).toInt() : 0;
}

int DeadlineStore::purgeClosedUpTo(qint32 sheetId, const QDate &lastDate)
{
    return run("purge-closed", {{"lastDate", storedDate(lastDate)}, {"sheetId", qlonglong(sheetId)}}).numRowsAffected();
}

QList<QDate> DeadlineStore::busyDays(qint32 sheetId, const QDate &first, const QDate &last)
{
    QList<QDate> days;
    QSqlQuery query = run("busy-days", {{"sheetId", qlonglong(sheetId)}, {"first", storedDate(first)}, {"last", storedDate(last)}});
    while (query.next()) {
        // A time part written by another tool makes a group of its own; the day is
        // the first ten characters.
        const QDate day = QDate::fromString(query.value(0).toString().left(10), Qt::ISODate);
        if (day.isValid() && (days.isEmpty() || days.constLast() != day))
            days.append(day);
    }
    return days;
}

bool DeadlineStore::anyOpenUpTo(qint32 sheetId, const QDate &limit)
{
    QSqlQuery query = run("due-up-to", {{"sheetId", qlonglong(sheetId)}, {"limit", storedDate(limit)}});
    return query.next() && query.value(0).toBool();
}

DeadlineStore::DueKinds DeadlineStore::dueKinds(qint32 sheetId, const QDate &today, const QDate &upcomingLast)
{
    QSqlQuery query = run("due-kinds", {{"sheetId", qlonglong(sheetId)},
                                        {"today", storedDate(today)},
                                        {"tomorrow", storedDate(today.addDays(1))},
                                        {"upcomingLast", storedDate(upcomingLast)}});
    DueKinds kinds;
    if (query.next()) {
        kinds.overdue = query.value(0).toBool();
        kinds.dueToday = query.value(1).toBool();
        kinds.upcoming = query.value(2).toBool();
    }
    return kinds;
}
