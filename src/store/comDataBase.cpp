#include "store/comDataBase.h"

#include "store/SqlTokenizer.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>

#include <algorithm>
#include <atomic>

DbError::DbError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description), m_source(source)
{
}

namespace {

DbError engineError(const QSqlError &error, const QString &context = {})
{
    bool ok = false;
    int code = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        code = -1;
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    if (!context.isEmpty())
        text += QStringLiteral(" (") + context + u')';
    return DbError(code, text);
}

QString quotedName(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool containsWord(const QString &sql, QStringView word)
{
    const QList<SqlToken> tokens = SqlTokenizer::tokenize(sql);
    return std::any_of(tokens.begin(), tokens.end(), [word](const SqlToken &t) { return t.isWord(word); });
}

} // namespace

ColumnKind ColumnKindOfDeclaredType(const QString &declaredType, bool autoIncrementKey)
{
    QString base = declaredType.trimmed().toUpper();
    const qsizetype paren = base.indexOf(u'(');
    if (paren >= 0)
        base = base.left(paren).trimmed();
    if (base == u"COUNTER" || base == u"AUTOINCREMENT")
        return ColumnKind::Counter;
    if (base == u"INTEGER" || base == u"INT" || base == u"LONG" || base == u"SMALLINT" || base == u"SHORT"
        || base == u"BYTE" || base == u"TINYINT" || base == u"BIGINT")
        return autoIncrementKey ? ColumnKind::Counter : ColumnKind::Integer;
    if (base == u"DATETIME" || base == u"DATE" || base == u"TIMESTAMP")
        return ColumnKind::Date;
    if (base == u"CURRENCY" || base == u"MONEY")
        return ColumnKind::Currency;
    if (base == u"YESNO" || base == u"BIT" || base == u"BOOLEAN" || base == u"BOOL" || base == u"LOGICAL")
        return ColumnKind::YesNo;
    if (base == u"MEMO" || base == u"LONGTEXT" || base == u"LONGCHAR" || base == u"NOTE" || base == u"CLOB")
        return ColumnKind::Memo;
    if (base == u"VARCHAR" || base == u"TEXT" || base == u"CHAR" || base == u"NVARCHAR" || base == u"NCHAR"
        || base == u"CHARACTER" || base == u"STRING" || base == u"VARYING CHARACTER")
        return ColumnKind::Text;
    if (base == u"REAL" || base == u"DOUBLE" || base == u"FLOAT" || base == u"SINGLE" || base == u"NUMERIC"
        || base == u"DECIMAL")
        return ColumnKind::Real;
    return ColumnKind::Other;
}

ColumnKind SchemaInfo::kindOf(const QString &column) const
{
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        for (const auto &entry : it.value()) {
            if (entry.first.compare(column, Qt::CaseInsensitive) == 0)
                return entry.second;
        }
    }
    return ColumnKind::Other;
}

ColumnKind SchemaInfo::kindOf(const QString &table, const QString &column) const
{
    const auto it = tables.constFind(table.toLower());
    if (it == tables.cend())
        return ColumnKind::Other;
    for (const auto &entry : it.value()) {
        if (entry.first.compare(column, Qt::CaseInsensitive) == 0)
            return entry.second;
    }
    return ColumnKind::Other;
}

QSet<QString> SchemaInfo::currencyColumns() const
{
    QSet<QString> names;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        for (const auto &entry : it.value()) {
            if (entry.second == ColumnKind::Currency)
                names.insert(entry.first.toLower());
        }
    }
    return names;
}

QString DataSourceFromConnectionString(const QString &connectionString)
{
    // Keys a connection string may carry after the data source; a ';' followed by
    // anything else belongs to the path itself.
    static const QStringList knownKeys = {
        QStringLiteral("provider"), QStringLiteral("data source"), QStringLiteral("persist security info"),
        QStringLiteral("user id"), QStringLiteral("password"), QStringLiteral("mode"),
        QStringLiteral("jet oledb:"), QStringLiteral("extended properties"), QStringLiteral("locale identifier"),
        QStringLiteral("initial catalog"), QStringLiteral("user name"),
    };
    auto startsKey = [](QStringView rest) {
        const QStringView trimmed = rest.trimmed();
        for (const QString &key : knownKeys) {
            if (trimmed.startsWith(key, Qt::CaseInsensitive)) {
                if (key.endsWith(u':'))
                    return true;
                const QStringView after = trimmed.mid(key.size()).trimmed();
                if (after.startsWith(u'='))
                    return true;
            }
        }
        return false;
    };

    const QString cs = connectionString;
    qsizetype i = 0;
    while (i < cs.size()) {
        while (i < cs.size() && (cs[i].isSpace() || cs[i] == u';'))
            ++i;
        const qsizetype eq = cs.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = cs.mid(i, eq - i).trimmed().toLower();
        qsizetype v = eq + 1;
        while (v < cs.size() && cs[v].isSpace())
            ++v;
        QString value;
        if (v < cs.size() && (cs[v] == u'"' || cs[v] == u'\'')) {
            const QChar quote = cs[v];
            qsizetype k = v + 1;
            while (k < cs.size()) {
                if (cs[k] == quote) {
                    if (k + 1 < cs.size() && cs[k + 1] == quote) {
                        value += quote;
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                value += cs[k++];
            }
            const qsizetype semi = cs.indexOf(u';', k);
            i = semi < 0 ? cs.size() : semi + 1;
        } else {
            qsizetype k = v;
            qsizetype end = cs.size();
            while (true) {
                const qsizetype semi = cs.indexOf(u';', k);
                if (semi < 0)
                    break;
                if (startsKey(QStringView(cs).mid(semi + 1)) || QStringView(cs).mid(semi + 1).trimmed().isEmpty()) {
                    end = semi;
                    break;
                }
                k = semi + 1;
            }
            value = cs.mid(v, end - v).trimmed();
            i = end + 1;
        }
        if (key == u"data source")
            return value;
    }
    return {};
}

QString BuildConnectionString(const QString &dbFolder)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dbFolder + QDir::separator()
           + QStringLiteral("orvel2.mdb") + QStringLiteral(";Persist Security Info=False");
}

bool databaseUnavailable(const QString &connectionString)
{
    try {
        Connection connection;
        connection.open(connectionString);
        connection.test();
        connection.close();
        return false;
    } catch (const DbError &) {
        return true;
    }
}

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

void Connection::open(const QString &connectionString)
{
    close();
    const QString path = DataSourceFromConnectionString(connectionString);
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
    const QString uri = QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/"))
                        + QStringLiteral("?mode=rw");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(uri);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            const DbError error = engineError(db.lastError(), path);
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw error;
        }
        // Rollback journal and full syncs: a crash never leaves a half-written
        // file behind. On a damaged file these fail quietly; test() reports it.
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    }
    m_dataSource = path;
}

void Connection::test()
{
    checkOpen();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT type, name FROM sqlite_master")))
        throw engineError(query.lastError(), m_dataSource);
    QSet<QString> tables;
    while (query.next()) {
        if (query.value(0).toString() == u"table")
            tables.insert(query.value(1).toString().toLower());
    }
    if (query.lastError().isValid())
        throw engineError(query.lastError(), m_dataSource);
    query.finish();
    for (const char *required : {"transactions", "accounts", "dbs"}) {
        if (!tables.contains(QLatin1String(required)))
            throw DbError(DbError::NotOurDatabase,
                          QStringLiteral("'%1' is not a deadline database (table %2 missing).")
                              .arg(m_dataSource, QLatin1String(required)));
    }
    reloadSchema();
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    releaseQueries();
    if (m_inTransaction) {
        QSqlDatabase::database(m_name, false).rollback();
        m_inTransaction = false;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_schema.reset();
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

void Connection::releaseQueries()
{
    const std::vector<Recordset *> open = m_recordsets;
    m_recordsets.clear();
    for (Recordset *r : open)
        r->releaseQuery();
}

int Connection::execute(const QString &jetSql)
{
    checkOpen();
    const QString sql = TranslateJetSql(jetSql, schema());
    QSqlQuery query(database());
    if (!query.exec(sql))
        throw engineError(query.lastError());
    const int affected = query.numRowsAffected();
    query.finish();
    const QStringView verb = QStringView(sql).trimmed().left(6);
    if (verb.startsWith(u"ALTER", Qt::CaseInsensitive) || verb.startsWith(u"CREATE", Qt::CaseInsensitive)
        || verb.startsWith(u"DROP", Qt::CaseInsensitive))
        m_schema.reset();   // the next statement sees the new columns
    return affected;
}

void Connection::beginTrans()
{
    checkOpen();
    if (m_inTransaction)
        throw DbError(DbError::NotSupported, QStringLiteral("A transaction is already open on this connection."));
    QSqlDatabase db = database();
    if (!db.transaction())
        throw engineError(db.lastError());
    m_inTransaction = true;
}

void Connection::commitTrans()
{
    checkOpen();
    if (!m_inTransaction)
        throw DbError(DbError::NotSupported, QStringLiteral("No transaction is open on this connection."));
    // Record sets finish their statements as soon as they have read their last
    // row (a static one right after loading), so none holds the commit back.
    QSqlDatabase db = database();
    if (!db.commit())
        throw engineError(db.lastError());   // still open: the caller's guard rolls back
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
        throw engineError(db.lastError());
}

const SchemaInfo &Connection::schema()
{
    if (!m_schema)
        reloadSchema();
    return *m_schema;
}

void Connection::reloadSchema()
{
    checkOpen();
    auto info = std::make_unique<SchemaInfo>();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT name, sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid")))
        throw engineError(query.lastError(), m_dataSource);
    QList<QPair<QString, QString>> tables;
    while (query.next())
        tables.append({query.value(0).toString(), query.value(1).toString()});
    if (query.lastError().isValid())
        throw engineError(query.lastError(), m_dataSource);
    query.finish();
    for (const auto &[table, createSql] : tables) {
        const bool autoIncrement = containsWord(createSql, u"AUTOINCREMENT");
        QSqlQuery columns(database());
        columns.setForwardOnly(true);
        if (!columns.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table))))
            throw engineError(columns.lastError(), table);
        QList<QPair<QString, ColumnKind>> list;
        QStringList keys;
        QStringList keyTypes;
        while (columns.next()) {
            const QString name = columns.value(1).toString();
            const QString type = columns.value(2).toString();
            list.append({name, ColumnKindOfDeclaredType(type)});
            if (columns.value(5).toInt() > 0) {
                keys.append(name);
                keyTypes.append(type);
            }
        }
        if (keys.size() == 1) {
            info->primaryKeys.insert(table.toLower(), keys.first());
            if (autoIncrement && keyTypes.first().trimmed().compare(u"INTEGER", Qt::CaseInsensitive) == 0) {
                for (auto &entry : list) {
                    if (entry.first == keys.first())
                        entry.second = ColumnKind::Counter;
                }
            }
        }
        info->tables.insert(table.toLower(), list);
        info->tableNames.insert(table.toLower(), table);
    }
    m_schema = std::move(info);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

int TextColumnMaxLength(Connection &connection, const QString &table, const QString &column)
{
    connection.schema();   // opens nothing new, but fails the same way on a closed connection
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table))))
        throw engineError(query.lastError(), table);
    while (query.next()) {
        if (query.value(1).toString().compare(column, Qt::CaseInsensitive) != 0)
            continue;
        const QString type = query.value(2).toString();
        const qsizetype open = type.indexOf(u'(');
        const qsizetype close = type.indexOf(u')', open + 1);
        if (open < 0 || close < 0 || ColumnKindOfDeclaredType(type) != ColumnKind::Text)
            return 0;
        bool ok = false;
        const int length = type.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
        return ok && length > 0 ? length : 0;
    }
    return 0;
}

TransactionGuard::TransactionGuard(Connection &c) : m_connection(c)
{
    m_connection.beginTrans();
}

TransactionGuard::~TransactionGuard()
{
    if (m_done || !m_connection.inTransaction())
        return;
    try {
        m_connection.rollbackTrans();
    } catch (...) {
        // A destructor must not throw; the engine ends the transaction with the connection.
    }
}

void TransactionGuard::commit()
{
    m_connection.commitTrans();
    m_done = true;
}
