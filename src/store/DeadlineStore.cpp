#include "store/DeadlineStore.h"

#include "store/Connection.h"
#include "store/CounterpartyStore.h"
#include "store/DbError.h"
#include "store/RowChange.h"
#include "store/RowReader.h"
#include "store/SheetStore.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <optional>
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

// The writes of one recurrence group on a server register queue for it, rather
// than overlap: each renumbers every member, so of two at once the server could
// let only one through, and a desk deleting members one after another would keep
// refusing the other's. Held from before the transaction to after its end.
class GroupWriteLock
{
public:
    GroupWriteLock(Connection &connection, qint32 groupId)
        : m_connection(connection), m_groupId(groupId), m_held(groupId > 0 && !connection.inTransaction())
    {
        if (m_held)
            m_connection.lockGroup(m_groupId);
    }
    ~GroupWriteLock()
    {
        try {
            if (m_held)
                m_connection.unlockGroup(m_groupId);
        } catch (const DbError &) {
            // The server drops the lock with the connection.
        }
    }
    GroupWriteLock(const GroupWriteLock &) = delete;
    GroupWriteLock &operator=(const GroupWriteLock &) = delete;

private:
    Connection &m_connection;
    qint32 m_groupId;
    bool m_held;
};

} // namespace

void DeadlineStore::toggleDone(qint32 rowId, RowChange *change)
{
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change)
            change->readBefore(connection(), StoredTable::Deadlines, {rowId});
        run("toggle-done", {{"rowId", qlonglong(rowId)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
}

void DeadlineStore::deleteDeadline(qint32 rowId, RowChange *change)
{
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change)
            change->readBefore(connection(), StoredTable::Deadlines, {rowId});
        run("delete-deadline", {{"rowId", qlonglong(rowId)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
}

void DeadlineStore::deleteFromGroup(qint32 rowId, qint32 groupId, RowChange *change)
{
    const GroupWriteLock group(connection(), groupId);
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        // The member and the rest of its group, whose numbers change.
        if (change)
            change->readBeforeWhere(connection(), StoredTable::Deadlines, "undo-group-rows", {{"groupId", qlonglong(groupId)}});
        run("delete-deadline", {{"rowId", qlonglong(rowId)}});
        renumberGroup(groupId);
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
}

void DeadlineStore::deleteGroup(qint32 groupId, RowChange *change)
{
    const GroupWriteLock group(connection(), groupId);
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change)
            change->readBeforeWhere(connection(), StoredTable::Deadlines, "undo-group-rows", {{"groupId", qlonglong(groupId)}});
        run("delete-group", {{"groupId", qlonglong(groupId)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
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

int DeadlineStore::purgeClosedUpTo(qint32 sheetId, const QDate &lastDate, RowChange *change)
{
    return retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change) {
            change->readBeforeWhere(connection(), StoredTable::Deadlines, "undo-closed-rows",
                                    {{"lastDate", storedDate(lastDate)}, {"sheetId", qlonglong(sheetId)}});
        }
        const int purged =
            run("purge-closed", {{"lastDate", storedDate(lastDate)}, {"sheetId", qlonglong(sheetId)}}).numRowsAffected();
        if (change)
            change->readAfter(connection());
        transaction.commit();
        return purged;
    });
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

DeadlineColumns DeadlineStore::sheetRows(qint32 sheetId)
{
    // A file's clients and rows as of one moment: no row names a client saved
    // after the clients were read. A server's other desks announce their writes,
    // which reads such a row again; there the read takes no transaction, which
    // the server could refuse for overlapping a write. A server also plans the
    // read itself and counts the rows as it sends them; a file is told which plan
    // to take.
    std::optional<TransactionGuard> snapshot;
    const char *statement = "list-sheet";
    qint64 rowsAtMost = 0;
    if (!connection().isServer()) {
        snapshot.emplace(connection());
        QSqlQuery count = run("deadline-count", {});
        count.next();
        const qint64 table = count.value(0).toLongLong();
        count.finish();
        // Measured on 100,000 rows: a sheet of 70 % of the table reads five times
        // faster by one pass over it than by an index lookup per row; at 15 % the
        // two cost the same. Past a fifth, the pass.
        const qint64 fifth = table / 5;
        QSqlQuery share = run("sheet-share", {{"sheetId", qlonglong(sheetId)}, {"limit", fifth + 1}});
        share.next();
        rowsAtMost = share.value(0).toLongLong();
        share.finish();
        if (rowsAtMost > fifth) {
            statement = "list-sheet-scan";
            rowsAtMost = table;
        }
    }
    DeadlineColumns rows;
    {
        RowReader reader(connection(), statement, {{"sheetId", qlonglong(sheetId)}});
        rows.reserve(size_t(std::max<qint64>(rowsAtMost, reader.rowCount())));
        while (reader.next())
            rows.appendDeadline(reader);
    }
    RowReader counterparties(connection(), "list-counterparties");
    rows.joinCounterparties(counterparties);
    if (snapshot)
        snapshot->commit();
    return rows;
}

DeadlineColumns DeadlineStore::rowsById(const QList<qint32> &rowIds)
{
    DeadlineColumns rows;
    RowReader reader(connection(), "list-row");
    for (qint32 id : rowIds) {
        reader.run({{"rowId", qlonglong(id)}});
        if (reader.next())
            rows.append(reader);
    }
    return rows;
}

std::vector<DeadlineRow> DeadlineStore::openRowsBetween(qint32 sheetId, const QDate &first, const QDate &last)
{
    RowReader reader(connection(), "list-open-between",
                     {{"sheetId", qlonglong(sheetId)}, {"first", storedDate(first)}, {"last", storedDate(last)}});
    return readAll(reader);
}

namespace {

// A day stored as 'yyyy-MM-dd', possibly followed by another tool's time part.
QDate storedDay(const QVariant &stored)
{
    // A server register's column is a date; a file's is text.
    if (stored.typeId() == QMetaType::QDate)
        return stored.toDate();
    return stored.typeId() == QMetaType::QString ? QDate::fromString(stored.toString().left(10), Qt::ISODate) : QDate();
}

// Money stored as integer ten-thousandths; a real or a text another tool wrote
// reads as the amount it holds, anything else as 0.
Currency storedMoney(const QVariant &stored)
{
    switch (stored.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::ULongLong:   // a server's positive bigint
    case QMetaType::Int:
        return Currency::fromUnits(stored.toLongLong());
    case QMetaType::Double:
        return Currency::fromRoundedUnits(stored.toDouble()).value_or(Currency());
    default:
        return stored.isNull() ? Currency() : Currency::parse(stored.toString()).value_or(Currency());
    }
}

qint32 storedId(const QVariant &stored)
{
    return qint32(stored.toLongLong());
}

// The balance every writer keeps beside the value.
qlonglong balanceUnits(Currency value, int type)
{
    return value.checkedMul(type).value_or(Currency()).units();
}

// A text as a quoted literal stored it: never NULL.
QVariant literalText(const QString &text)
{
    return Connection::bindable(text.isNull() ? QStringLiteral("") : text);
}

} // namespace

std::optional<DeadlineStore::StoredDeadline> DeadlineStore::readDeadline(qint32 rowId)
{
    QSqlQuery query = run("deadline-read", {{"rowId", qlonglong(rowId)}});
    if (!query.next())
        return std::nullopt;
    StoredDeadline row;
    row.rowId = storedId(query.value(0));
    row.sheetId = storedId(query.value(1));
    row.type = int(query.value(2).toLongLong());
    row.done = query.value(3).toLongLong() != 0;
    row.date = storedDay(query.value(4));
    row.description = query.value(5).toString();
    row.acId = storedId(query.value(6));
    row.value = storedMoney(query.value(7));
    row.balance = storedMoney(query.value(8));
    row.groupType = query.value(9).toString();
    row.groupRow = storedId(query.value(10));
    row.groupSize = storedId(query.value(11));
    row.groupId = storedId(query.value(12));
    row.notes = query.value(13).toString();
    return row;
}

DeadlineStore::CreatedDeadlines DeadlineStore::createDeadlines(const NewDeadlines &deadlines, RowChange *change)
{
    const GroupWriteLock group(connection(), deadlines.groupId);
    return retriedWrite(connection(), [&] {
        CreatedDeadlines created;
        // Inside the transaction no other writer can take the group id, delete the
        // client/supplier or change the group being joined.
        TransactionGuard transaction(connection());
        if (deadlines.acId > 0 && !CounterpartyStore(connection()).exists(deadlines.acId))
            return created;
        // Read so that a server sees this save and another desk's delete of the
        // sheet overlap, and lets only one of them through.
        if (connection().isServer())
            SheetStore(connection()).exists(deadlines.sheetId);
        if (change && deadlines.groupId > 0) {
            // The members already there are renumbered.
            change->readBeforeWhere(connection(), StoredTable::Deadlines, "undo-group-rows",
                                    {{"groupId", qlonglong(deadlines.groupId)}});
        }
        const bool recurring = deadlines.groupType != u'n';
        const qint32 groupId = recurring && deadlines.groupId == 0 ? nextGroupId() : deadlines.groupId;
        const qlonglong sheetId = deadlines.sheetId;
        const qlonglong type = deadlines.type;
        const QVariant description = literalText(deadlines.description);
        const QVariant notes = literalText(deadlines.notes);
        const qlonglong acId = deadlines.acId;
        const qlonglong value = deadlines.value.units();
        const qlonglong balance = balanceUnits(deadlines.value, deadlines.type);
        const QString groupType(deadlines.groupType);
        const qlonglong count = qlonglong(deadlines.dates.size());
        qlonglong row = 0;
        for (const QDate &date : deadlines.dates) {
            QSqlQuery query;
            if (recurring) {
                query = run("deadline-insert-member", {{"sheetId", sheetId}, {"type", type}, {"date", storedDate(date)},
                                                       {"description", description}, {"notes", notes}, {"acId", acId},
                                                       {"value", value}, {"balance", balance}, {"groupType", groupType},
                                                       {"row", ++row}, {"count", count}, {"groupId", qlonglong(groupId)}});
            } else {
                query = run("deadline-insert-single", {{"sheetId", sheetId}, {"type", type}, {"date", storedDate(date)},
                                                       {"description", description}, {"notes", notes}, {"acId", acId},
                                                       {"value", value}, {"balance", balance}, {"groupType", groupType},
                                                       {"groupId", qlonglong(groupId)}});
            }
            created.rowIds.append(qint32(insertedId(query)));
        }
        created.touched = created.rowIds;
        if (deadlines.groupId > 0) {
            renumberGroup(deadlines.groupId);
            QSqlQuery query = run("group-members", {{"groupId", qlonglong(deadlines.groupId)}});
            created.touched.clear();
            while (query.next())
                created.touched.append(storedId(query.value(0)));
        }
        if (change)
            change->readAfter(connection(), {created.rowIds.cbegin(), created.rowIds.cend()});
        transaction.commit();
        return created;
    });
}

DeadlineStore::UpdateResult DeadlineStore::updateDeadline(const StoredDeadline &asRead, const DeadlineChanges &changes,
                                                          RowChange *change)
{
    return retriedWrite(connection(), [&] {
        // Only what differs from the row as read is a change.
        const auto changed = [](const auto &change, const auto &read) { return change && *change != read; };
        const bool date = changed(changes.date, asRead.date);
        const bool description = changed(changes.description, asRead.description);
        const bool acId = changed(changes.acId, asRead.acId);
        const bool value = changed(changes.value, asRead.value);
        const bool notes = changed(changes.notes, asRead.notes);
        const bool done = changed(changes.done, asRead.done);

        UpdateResult result;
        TransactionGuard transaction(connection());
        const std::optional<StoredDeadline> now = readDeadline(asRead.rowId);
        if (!now) {
            result.outcome = UpdateOutcome::Gone;
            return result;
        }
        const auto conflict = [&](bool isChanged, EditedColumn column, const auto &nowValue, const auto &readValue) {
            if (isChanged && nowValue != readValue)
                result.conflicts.append(column);
        };
        conflict(date, EditedColumn::Date, now->date, asRead.date);
        conflict(description, EditedColumn::Description, now->description, asRead.description);
        conflict(acId, EditedColumn::Counterparty, now->acId, asRead.acId);
        conflict(value, EditedColumn::Value, now->value, asRead.value);
        conflict(notes, EditedColumn::Notes, now->notes, asRead.notes);
        conflict(done, EditedColumn::Done, now->done, asRead.done);
        if (!result.conflicts.isEmpty()) {
            result.outcome = UpdateOutcome::Conflict;
            result.now = *now;
            return result;
        }
        if (!(date || description || acId || value || notes || done))
            return result;
        if (acId && *changes.acId > 0 && !CounterpartyStore(connection()).exists(*changes.acId)) {
            result.outcome = UpdateOutcome::CounterpartyGone;
            return result;
        }
        if (change)
            change->readBefore(connection(), StoredTable::Deadlines, {asRead.rowId});
        run("deadline-update", {{"setDate", date},
                                {"date", date ? storedDate(*changes.date) : QVariant()},
                                {"setDescription", description},
                                {"description", description ? Connection::bindable(*changes.description) : QVariant()},
                                {"setAcId", acId},
                                {"acId", acId ? qlonglong(*changes.acId) : 0},
                                {"setValue", value},
                                {"value", value ? changes.value->units() : 0},
                                {"setBalance", value},
                                {"balance", value ? balanceUnits(*changes.value, now->type) : 0},
                                {"setNotes", notes},
                                {"notes", notes ? Connection::bindable(*changes.notes) : QVariant()},
                                {"setDone", done},
                                {"done", done && *changes.done ? 1 : 0},
                                {"rowId", qlonglong(asRead.rowId)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
        return result;
    });
}
