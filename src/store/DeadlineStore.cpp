#include "store/DeadlineStore.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/RowReader.h"
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

// The columns of the list-* statements, in their order.
DeadlineRow listedRow(const RowReader &r)
{
    DeadlineRow row;
    row.rowId = qint32(r.integer(0));
    row.sheetId = qint32(r.integer(1));
    row.type = int(r.integer(2));
    row.done = r.integer(3) != 0;
    row.date = r.date(4);
    row.description = r.text(5);
    row.counterpartyRef = qint32(r.integer(6));
    row.amount = r.amount(7);
    row.balance = r.amount(8);
    row.cadence = r.text(9);
    row.groupRow = int(r.integer(10));
    row.groupSize = int(r.integer(11));
    row.notes = r.text(12);
    row.groupId = qint32(r.integer(13));
    row.counterpartyId = qint32(r.integer(14));
    row.counterpartyName = r.text(15);
    row.counterpartyNotes = r.text(16);
    return row;
}

std::vector<DeadlineRow> readAll(RowReader &reader)
{
    std::vector<DeadlineRow> rows;
    while (reader.next())
        rows.push_back(listedRow(reader));
    return rows;
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

std::vector<DeadlineRow> DeadlineStore::sheetRows(qint32 sheetId)
{
    QSqlQuery share = run("sheet-share", {{"sheetId", qlonglong(sheetId)}});
    share.next();
    const qint64 sheet = share.value(0).toLongLong();
    const qint64 table = share.value(1).toLongLong();
    share.finish();
    // Measured on 100,000 rows: past about a fifth of the table, one pass over
    // it reads the sheet faster than an index lookup per row.
    const bool scan = sheet * 5 > table;
    RowReader reader(m_connection, scan ? "list-sheet-scan" : "list-sheet", {{"sheetId", qlonglong(sheetId)}});
    std::vector<DeadlineRow> rows;
    rows.reserve(size_t(sheet));
    while (reader.next())
        rows.push_back(listedRow(reader));
    return rows;
}

std::vector<DeadlineRow> DeadlineStore::rowsById(const QList<qint32> &rowIds)
{
    std::vector<DeadlineRow> rows;
    RowReader reader(m_connection, "list-row");
    for (qint32 id : rowIds) {
        reader.run({{"rowId", qlonglong(id)}});
        if (reader.next())
            rows.push_back(listedRow(reader));
    }
    return rows;
}

std::vector<DeadlineRow> DeadlineStore::openRowsBetween(qint32 sheetId, const QDate &first, const QDate &last)
{
    RowReader reader(m_connection, "list-open-between",
                     {{"sheetId", qlonglong(sheetId)}, {"first", storedDate(first)}, {"last", storedDate(last)}});
    return readAll(reader);
}
