#include "store/DeadlineStore.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace {

std::unique_ptr<Connection> openConnection(const QString &connectionString)
{
    auto connection = std::make_unique<Connection>();
    connection->open(connectionString);
    return connection;
}

// Dates are stored as ISO text (yyyy-MM-dd), as every other writer stores them.
QVariant storedDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

} // namespace

DeadlineStore::DeadlineStore(const QString &connectionString)
    : m_own(openConnection(connectionString))
    , m_connection(*m_own)
{
}

DeadlineStore::DeadlineStore(Connection &connection)
    : m_connection(connection)
{
}

DeadlineStore::~DeadlineStore() = default;

QSqlQuery DeadlineStore::run(const char *name, Values values)
{
    QSqlDatabase db = m_connection.database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(storeStatement(db.driverName(), name)))
        throw DbError::fromEngine(query.lastError());
    for (const auto &[placeholder, value] : values)
        query.bindValue(u':' + QLatin1StringView(placeholder), value);
    if (!query.exec())
        throw DbError::fromEngine(query.lastError());
    return query;
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
