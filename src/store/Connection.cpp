#include "store/Connection.h"

#include "store/Currency.h"
#include "store/Database.h"
#include "store/NameCollation.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

#include <atomic>

Connection::Connection()
{
    static std::atomic<quint64> counter{0};
    m_name = QStringLiteral("orvel2.store.") + QString::number(++counter);
    registerCurrencyMetaType();
}

Connection::~Connection()
{
    try {
        close();
    } catch (...) {
    }
}

void Connection::openServer(const QString &connectionString)
{
    const QString parameters = Database::serverParameters(connectionString);
    if (parameters.isEmpty())
        throw DbError(DbError::FileNotFound, QStringLiteral("The connection string names no valid server register."));
    // Messages name the register without its password.
    QString shown = connectionString.trimmed();
    if (!shown.startsWith(QStringLiteral("service"), Qt::CaseInsensitive))
        shown = QUrl(shown).adjusted(QUrl::RemovePassword).toString();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    // A server that does not answer is reported after a few seconds, not waited for.
    db.setConnectOptions(parameters + QStringLiteral(" connect_timeout=10"));
    if (!db.open()) {
        const DbError error = DbError::fromEngine(db.lastError(), shown);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw error;
    }
    QSqlQuery setting(db);
    setting.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    if (Database::isReadOnly(connectionString))
        setting.exec(QStringLiteral("SET default_transaction_read_only TO on"));
    m_dataSource = shown;
}

bool Connection::isServer() const
{
    return database().driverName() == u"QPSQL";
}

void Connection::open(const QString &connectionString)
{
    close();
    if (Database::isServerRegister(connectionString)) {
        openServer(connectionString);
        return;
    }
    const QString path = Database::dataSource(connectionString);
    if (path.isEmpty())
        throw DbError(DbError::FileNotFound, QStringLiteral("The connection string names no data source."));
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError(DbError::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));

    // mode=rw makes the engine refuse to create the file should it vanish
    // between the check above and the open.
    QString absolute = QDir::fromNativeSeparators(info.absoluteFilePath());
    if (!absolute.startsWith(u'/'))
        absolute.prepend(u'/');
    const bool readOnly = Database::isReadOnly(connectionString);
    const QString uri = QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/"))
                        + (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(uri);
        // A lock held by another program is waited for about a second, then
        // reported as busy: the window must not freeze, and the user may retry.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (!db.open()) {
            const DbError error = DbError::fromEngine(db.lastError(), path);
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw error;
        }
        // Rollback journal and full syncs: a crash never leaves a half-written
        // file behind. On a damaged file these fail quietly; test() reports it.
        QSqlQuery pragma(db);
        if (!readOnly) {
            pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
            pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        // Lists of names are ordered by the locale, in SQL as in the windows.
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
            NameCollation::registerOn(*static_cast<sqlite3 *const *>(handle.constData()));
    }
    m_dataSource = path;
}

void Connection::test()
{
    checkOpen();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    const QString tablesSql = isServer() ? QStringLiteral("SELECT 'table', table_name FROM information_schema.tables "
                                                          "WHERE table_schema = current_schema()")
                                         : QStringLiteral("SELECT type, name FROM sqlite_master");
    if (!query.exec(tablesSql))
        throw DbError::fromEngine(query.lastError(), m_dataSource);
    QSet<QString> tables;
    while (query.next()) {
        if (query.value(0).toString() == u"table")
            tables.insert(query.value(1).toString().toLower());
    }
    if (query.lastError().isValid())
        throw DbError::fromEngine(query.lastError(), m_dataSource);
    query.finish();
    for (const char *required : {"transactions", "accounts", "dbs"}) {
        if (!tables.contains(QLatin1String(required)))
            throw DbError(DbError::NotOurDatabase,
                          QStringLiteral("'%1' is not a deadline database (table %2 missing).")
                              .arg(m_dataSource, QLatin1String(required)));
    }
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    if (m_inTransaction) {
        QSqlDatabase::database(m_name, false).rollback();
        m_inTransaction = false;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_dataSource.clear();
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

void Connection::checkOpen() const
{
    if (!isOpen())
        throw DbError(DbError::NotOpen, QStringLiteral("Operation is not allowed when the connection is closed."));
}

QVariant Connection::bindable(const QVariant &value)
{
    // SQLite converts bound UTF-16 to UTF-8 itself and, for a lone surrogate,
    // swallows the character after it; stored text holds U+FFFD in its place.
    if (value.typeId() != QMetaType::QString)
        return value;
    QString text = value.toString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

void Connection::beginTrans()
{
    checkOpen();
    if (m_inTransaction)
        throw DbError(DbError::NotSupported, QStringLiteral("A transaction is already open on this connection."));
    QSqlDatabase db = database();
    if (!db.transaction())
        throw DbError::fromEngine(db.lastError());
    m_inTransaction = true;
    // Several desks write at once: each transaction behaves as if it ran alone,
    // so a rule that reads before it writes (a group's numbering, a client in use
    // by no deadline of any sheet, the editor's check of the row) holds. The server
    // refuses the later of two overlapping writes; retriedWrite runs it again.
    if (isServer()) {
        QSqlQuery isolation(db);
        if (!isolation.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL SERIALIZABLE"))) {
            const DbError error = DbError::fromEngine(isolation.lastError());
            rollbackTrans();
            throw error;
        }
    }
}

void Connection::commitTrans()
{
    checkOpen();
    if (!m_inTransaction)
        throw DbError(DbError::NotSupported, QStringLiteral("No transaction is open on this connection."));
    QSqlDatabase db = database();
    if (!db.commit()) {
        // A server has ended a transaction whose commit fails; a file keeps it
        // open, and the caller's guard rolls back.
        if (isServer())
            m_inTransaction = false;
        throw DbError::fromEngine(db.lastError());
    }
    m_inTransaction = false;
}

void Connection::rollbackTrans()
{
    checkOpen();
    if (!m_inTransaction)
        throw DbError(DbError::NotSupported, QStringLiteral("No transaction is open on this connection."));
    QSqlDatabase db = database();
    m_inTransaction = false;
    if (!db.rollback())
        throw DbError::fromEngine(db.lastError());
}

namespace {

// The first key of the server's advisory locks the register's groups use.
constexpr int GroupLockSpace = 0x4f52;

void groupLockStatement(Connection &connection, const char *function, qint32 groupId)
{
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("SELECT %1(%2, ?)").arg(QLatin1StringView(function)).arg(GroupLockSpace));
    query.addBindValue(groupId);
    if (!query.exec())
        throw DbError::fromEngine(query.lastError());
}

} // namespace

void Connection::lockGroup(qint32 groupId)
{
    checkOpen();
    if (isServer() && !m_inTransaction)
        groupLockStatement(*this, "pg_advisory_lock", groupId);
}

void Connection::unlockGroup(qint32 groupId)
{
    if (isOpen() && isServer() && !m_inTransaction)
        groupLockStatement(*this, "pg_advisory_unlock", groupId);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

int Connection::textColumnMaxLength(const QString &table, const QString &column)
{
    checkOpen();
    QString quoted = table;
    quoted.replace(u'"', QStringLiteral("\"\""));
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (isServer()) {
        query.prepare(QStringLiteral("SELECT character_maximum_length FROM information_schema.columns "
                                     "WHERE table_schema = current_schema() AND table_name = lower(?) "
                                     "AND column_name = lower(?) AND data_type = 'character varying'"));
        query.addBindValue(table);
        query.addBindValue(column);
        if (!query.exec())
            throw DbError::fromEngine(query.lastError(), table);
        return query.next() ? query.value(0).toInt() : 0;
    }
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted)))
        throw DbError::fromEngine(query.lastError(), table);
    while (query.next()) {
        if (query.value(1).toString().compare(column, Qt::CaseInsensitive) != 0)
            continue;
        // Only the fixed-length text types have a length: VARCHAR(n), CHAR(n), TEXT(n)...
        static const QStringList textTypes{QStringLiteral("VARCHAR"), QStringLiteral("TEXT"), QStringLiteral("CHAR"),
                                           QStringLiteral("NVARCHAR"), QStringLiteral("NCHAR"),
                                           QStringLiteral("CHARACTER"), QStringLiteral("STRING"),
                                           QStringLiteral("VARYING CHARACTER")};
        const QString type = query.value(2).toString();
        const qsizetype open = type.indexOf(u'(');
        const qsizetype close = type.indexOf(u')', open + 1);
        if (open < 0 || close < 0 || !textTypes.contains(type.left(open).trimmed(), Qt::CaseInsensitive))
            return 0;
        bool ok = false;
        const int length = type.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
        return ok && length > 0 ? length : 0;
    }
    return 0;
}
