#include "store/ImportStore.h"

#include "store/Connection.h"
#include "store/CounterpartyStore.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"
#include "store/RowChange.h"
#include "store/TransactionGuard.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

#include <sqlite3.h>

namespace {

QString nameKey(const QString &name)
{
    return name.toCaseFolded();
}

sqlite3 *handleOf(Connection &connection)
{
    const QVariant handle = connection.database().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(-1, QStringLiteral("The database connection has no SQLite handle."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

DbError engineError(sqlite3 *db)
{
    const int code = sqlite3_extended_errcode(db) & 0xff;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return DbError(DbError::Busy, QString::fromUtf8(sqlite3_errmsg(db)));
    return DbError(code, QString::fromUtf8(sqlite3_errmsg(db)));
}

// The insert prepared once and bound by position: a large import is a hundred
// thousand rows, and binding each by name through the SQL module costs more than
// the insert itself.
class DeadlineInserter
{
public:
    DeadlineInserter(Connection &connection, qint32 sheetId)
        : m_db(handleOf(connection))
    {
        const QByteArray sql = storeStatement(connection.database().driverName(), "import-deadline").toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_statement, nullptr) != SQLITE_OK)
            throw engineError(m_db);
        for (const char *name : {":sheetId", ":type", ":done", ":date", ":description", ":notes", ":acId", ":value",
                                 ":balance", ":groupType", ":row", ":count", ":groupId"}) {
            m_index.append(sqlite3_bind_parameter_index(m_statement, name));
            Q_ASSERT_X(m_index.constLast() > 0, "DeadlineInserter", name);
        }
        sqlite3_bind_int64(m_statement, m_index[0], sheetId);
    }
    ~DeadlineInserter() { sqlite3_finalize(m_statement); }
    DeadlineInserter(const DeadlineInserter &) = delete;
    DeadlineInserter &operator=(const DeadlineInserter &) = delete;

    qint32 insert(const ImportRow &row, qint32 acId, qint32 groupId)
    {
        sqlite3_reset(m_statement);
        const bool grouped = groupId > 0;
        sqlite3_bind_int64(m_statement, m_index[1], row.type);
        sqlite3_bind_int64(m_statement, m_index[2], row.done ? 1 : 0);
        char date[11];
        qsnprintf(date, sizeof date, "%04d-%02d-%02d", row.date.year(), row.date.month(), row.date.day());
        sqlite3_bind_text(m_statement, m_index[3], date, 10, SQLITE_TRANSIENT);
        bindText(m_index[4], row.description);
        bindText(m_index[5], row.notes);
        sqlite3_bind_int64(m_statement, m_index[6], acId);
        sqlite3_bind_int64(m_statement, m_index[7], row.value.units());
        // An appointment carries no balance; a credit adds, a debit subtracts.
        const qint64 sign = row.type == 1 ? 1 : row.type == -1 ? -1 : 0;
        sqlite3_bind_int64(m_statement, m_index[8], row.value.units() * sign);
        const char16_t code = grouped ? row.groupType.unicode() : u'n';
        sqlite3_bind_text16(m_statement, m_index[9], &code, 2, SQLITE_TRANSIENT);
        sqlite3_bind_int64(m_statement, m_index[10], grouped ? row.groupRow : 0);
        sqlite3_bind_int64(m_statement, m_index[11], grouped ? row.groupSize : 0);
        sqlite3_bind_int64(m_statement, m_index[12], grouped ? groupId : 0);
        if (sqlite3_step(m_statement) != SQLITE_DONE)
            throw engineError(m_db);
        return qint32(sqlite3_last_insert_rowid(m_db));
    }

private:
    void bindText(int index, const QString &text)
    {
        // Unpaired surrogates are no character: stored as U+FFFD, as every writer does.
        const QString stored = Connection::bindable(text).toString();
        sqlite3_bind_text16(m_statement, index, stored.utf16(), int(stored.size() * 2), SQLITE_TRANSIENT);
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    QList<int> m_index;
};

// The same insert on a server register, through the SQL module: prepared once,
// its values bound as the server takes them.
class ServerDeadlineInserter
{
public:
    ServerDeadlineInserter(Connection &connection, qint32 sheetId)
        : m_query(connection.database())
        , m_sheetId(sheetId)
    {
        if (!m_query.prepare(storeStatement(connection.database().driverName(), "import-deadline")))
            throw DbError::fromEngine(m_query.lastError());
    }

    qint32 insert(const ImportRow &row, qint32 acId, qint32 groupId)
    {
        const bool grouped = groupId > 0;
        const qint64 sign = row.type == 1 ? 1 : row.type == -1 ? -1 : 0;
        m_query.bindValue(QStringLiteral(":sheetId"), m_sheetId);
        m_query.bindValue(QStringLiteral(":type"), row.type);
        m_query.bindValue(QStringLiteral(":done"), row.done ? 1 : 0);
        m_query.bindValue(QStringLiteral(":date"), row.date);
        m_query.bindValue(QStringLiteral(":description"), serverBindable(Connection::bindable(row.description)));
        m_query.bindValue(QStringLiteral(":notes"), serverBindable(Connection::bindable(row.notes)));
        m_query.bindValue(QStringLiteral(":acId"), acId);
        m_query.bindValue(QStringLiteral(":value"), row.value.units());
        m_query.bindValue(QStringLiteral(":balance"), row.value.units() * sign);
        m_query.bindValue(QStringLiteral(":groupType"), grouped ? QString(row.groupType) : QStringLiteral("n"));
        m_query.bindValue(QStringLiteral(":row"), grouped ? row.groupRow : 0);
        m_query.bindValue(QStringLiteral(":count"), grouped ? row.groupSize : 0);
        m_query.bindValue(QStringLiteral(":groupId"), grouped ? groupId : 0);
        if (!m_query.exec())
            throw DbError::fromEngine(m_query.lastError());
        return qint32(insertedId(m_query));
    }

private:
    QSqlQuery m_query;
    qint32 m_sheetId;
};

} // namespace

QStringList ImportStore::missingCounterparties(const QList<ImportRow> &rows)
{
    QSet<QString> known;
    for (const Counterparty &c : CounterpartyStore(connection()).list())
        known.insert(nameKey(c.name));
    QStringList missing;
    for (const ImportRow &row : rows) {
        if (row.counterpartyName.isEmpty())
            continue;
        const QString key = nameKey(row.counterpartyName);
        if (!known.contains(key)) {
            known.insert(key);
            missing.append(row.counterpartyName);
        }
    }
    return missing;
}

ImportStore::Imported ImportStore::importRows(qint32 sheetId, const QList<ImportRow> &rows, RowChange *change)
{
    Imported imported;
    TransactionGuard transaction(connection());
    CounterpartyStore counterparties(connection());
    QHash<QString, qint32> ids;
    for (const Counterparty &c : counterparties.list()) {
        if (!ids.contains(nameKey(c.name)))
            ids.insert(nameKey(c.name), c.id);
    }
    // Group ids are taken inside the transaction. A file's write lock keeps every
    // other writer out, so the next ids follow the highest; on a server each group
    // takes one from the sequence, which other desks draw from at the same time.
    const bool server = connection().isServer();
    QHash<int, qint32> groupIds;
    qint32 nextGroupId = 0;
    std::optional<DeadlineInserter> fileInserter;
    std::optional<ServerDeadlineInserter> serverInserter;
    if (server)
        serverInserter.emplace(connection(), sheetId);
    else
        fileInserter.emplace(connection(), sheetId);
    imported.rowIds.reserve(rows.size());
    QString lastName;
    qint32 lastId = 0;
    for (const ImportRow &row : rows) {
        qint32 acId = 0;
        if (!row.counterpartyName.isEmpty()) {
            // Files list a client's deadlines together: the last one found is the likeliest.
            if (row.counterpartyName == lastName) {
                acId = lastId;
            } else {
                const QString key = nameKey(row.counterpartyName);
                auto found = ids.constFind(key);
                if (found == ids.constEnd()) {
                    const qint32 created = counterparties.create(row.counterpartyName, row.counterpartyNotes);
                    imported.counterpartyIds.append(created);
                    found = ids.insert(key, created);
                }
                acId = found.value();
                lastName = row.counterpartyName;
                lastId = acId;
            }
        }
        qint32 groupId = 0;
        if (row.groupKey != 0) {
            auto found = groupIds.constFind(row.groupKey);
            if (found == groupIds.constEnd()) {
                if (server)
                    found = groupIds.insert(row.groupKey, DeadlineStore(connection()).nextGroupId());
                else {
                    if (nextGroupId == 0)
                        nextGroupId = DeadlineStore(connection()).nextGroupId();
                    found = groupIds.insert(row.groupKey, nextGroupId++);
                }
            }
            groupId = found.value();
        }
        imported.rowIds.append(server ? serverInserter->insert(row, acId, groupId)
                                      : fileInserter->insert(row, acId, groupId));
    }
    if (change) {
        const auto wide = [](const QList<qint32> &ids) { return QList<qint64>(ids.begin(), ids.end()); };
        change->readAfter(connection(), wide(imported.rowIds), wide(imported.counterpartyIds));
    }
    transaction.commit();
    return imported;
}
