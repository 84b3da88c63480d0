#include "store/CounterpartyStore.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/RowChange.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// A text as a new counterparty stores it: a null text is NULL, anything else
// its characters, an empty one ''.
QVariant storedText(const QString &text)
{
    return Connection::bindable(text);
}

// A text as an edit stores it: never NULL.
QVariant literalText(const QString &text)
{
    return Connection::bindable(text.isNull() ? QStringLiteral("") : text);
}

Counterparty counterpartyAt(const QSqlQuery &query)
{
    return {qint32(query.value(0).toLongLong()), query.value(1).toString(), query.value(2).toString()};
}

} // namespace

std::vector<Counterparty> CounterpartyStore::list()
{
    std::vector<Counterparty> rows;
    QSqlQuery query = run("counterparty-list", {});
    while (query.next())
        rows.push_back(counterpartyAt(query));
    return rows;
}

Counterparty CounterpartyStore::read(qint32 id)
{
    QSqlQuery query = run("counterparty-read", {{"id", qlonglong(id)}});
    return query.next() ? counterpartyAt(query) : Counterparty{};
}

qint32 CounterpartyStore::create(const QString &name, const QString &notes, RowChange *change)
{
    return retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        QSqlQuery query = run("counterparty-create", {{"name", storedText(name)}, {"notes", storedText(notes)}});
        const auto id = qint32(insertedId(query));
        query.finish();
        if (change)
            change->readAfter(connection(), {}, {id});
        transaction.commit();
        return id;
    });
}

void CounterpartyStore::update(qint32 id, const QString &name, const QString &notes, RowChange *change)
{
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change)
            change->readBefore(connection(), StoredTable::Counterparties, {id});
        run("counterparty-update", {{"name", literalText(name)}, {"notes", literalText(notes)}, {"id", qlonglong(id)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
}

bool CounterpartyStore::exists(qint32 id)
{
    return run("counterparty-exists", {{"id", qlonglong(id)}}).next();
}

bool CounterpartyStore::isInUse(qint32 id)
{
    return run("counterparty-in-use", {{"id", qlonglong(id)}}).next();
}

bool CounterpartyStore::remove(qint32 id, RowChange *change)
{
    return retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        // Tested inside the transaction, so no deadline can come to refer to the row
        // between the test and the delete.
        if (isInUse(id))
            return false;
        if (change)
            change->readBefore(connection(), StoredTable::Counterparties, {id});
        run("counterparty-delete", {{"id", qlonglong(id)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
        return true;
    });
}

int CounterpartyStore::textMaxLength(const QString &column)
{
    return connection().textColumnMaxLength(QStringLiteral("Accounts"), column);
}
