#include "store/SheetStore.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/RowChange.h"
#include "store/TransactionGuard.h"

#include <QSqlQuery>

namespace {

// A name as the quoted literal of the old writes stored it: text, never NULL.
QVariant storedName(const QString &name)
{
    return Connection::bindable(name.isNull() ? QStringLiteral("") : name);
}

} // namespace

std::vector<Sheet> SheetStore::list()
{
    std::vector<Sheet> sheets;
    QSqlQuery query = run("sheet-list", {});
    while (query.next())
        sheets.push_back({qint32(query.value(0).toLongLong()), query.value(1).toString()});
    return sheets;
}

QString SheetStore::name(qint32 id)
{
    QSqlQuery query = run("sheet-name", {{"id", qlonglong(id)}});
    if (!query.next())
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("No sheet %1.").arg(id));
    return query.value(0).toString();
}

bool SheetStore::exists(qint32 id)
{
    return run("sheet-exists", {{"id", qlonglong(id)}}).next();
}

qint32 SheetStore::existingOrFirst(qint32 id)
{
    if (exists(id))
        return id;
    if (id != FirstSheetId && exists(FirstSheetId))
        return FirstSheetId;
    QSqlQuery query = run("sheet-lowest-id", {});
    return query.next() && !query.value(0).isNull() ? qint32(query.value(0).toLongLong()) : FirstSheetId;
}

qint32 SheetStore::create(const QString &name, RowChange *change)
{
    return retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        QSqlQuery next = run("sheet-next-id", {});
        const qint32 id = next.next() ? qint32(next.value(0).toLongLong()) : FirstSheetId;
        next.finish();
        run("sheet-create", {{"id", qlonglong(id)}, {"name", storedName(name)}});
        if (change)
            change->readAfter(connection(), {}, {}, {id});
        transaction.commit();
        return id;
    });
}

void SheetStore::rename(qint32 id, const QString &name, RowChange *change)
{
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change)
            change->readBefore(connection(), StoredTable::Sheets, {id});
        run("sheet-rename", {{"name", storedName(name)}, {"id", qlonglong(id)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
}

void SheetStore::remove(qint32 id, RowChange *change)
{
    retriedWrite(connection(), [&] {
        TransactionGuard transaction(connection());
        if (change) {
            change->readBefore(connection(), StoredTable::Sheets, {id});
            change->readBeforeWhere(connection(), StoredTable::Deadlines, "undo-sheet-deadlines", {{"id", qlonglong(id)}});
        }
        run("sheet-delete-deadlines", {{"id", qlonglong(id)}});
        run("sheet-delete", {{"id", qlonglong(id)}});
        if (change)
            change->readAfter(connection());
        transaction.commit();
    });
}

SheetStore::DeleteRefusal SheetStore::deleteRefusal(int sheetCount, qint32 id, qint32 activeSheetId)
{
    if (sheetCount <= 1)
        return DeleteRefusal::OnlySheet;
    if (id == activeSheetId)
        return DeleteRefusal::ActiveSheet;
    if (id == FirstSheetId)
        return DeleteRefusal::FirstSheet;
    return DeleteRefusal::None;
}
