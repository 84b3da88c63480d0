#include "store/Statements.h"

#include "store/Connection.h"
#include "store/DbError.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>

QString engineFolder(const QString &driverName)
{
    if (driverName == u"QSQLITE")
        return QStringLiteral("sqlite");
    if (driverName == u"QPSQL")
        return QStringLiteral("postgresql");
    return {};
}

namespace {

QString readStatement(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(QStringLiteral("--")))
            lines.append(line.trimmed());
    }
    QString text = lines.join(u' ');
    while (text.endsWith(u';'))
        text.chop(1);
    return text;
}

} // namespace

QVariant serverBindable(const QVariant &value)
{
    // Yes/No is bound as 1 / 0, as a file stores it.
    if (value.typeId() == QMetaType::Bool)
        return qlonglong(value.toBool() ? 1 : 0);
    // PostgreSQL's text holds no NUL character: it is kept as U+FFFD, like half a
    // character, rather than cutting the text short.
    if (value.typeId() != QMetaType::QString || !value.toString().contains(QChar(u'\0')))
        return value;
    return value.toString().replace(QChar(u'\0'), QChar::ReplacementCharacter);
}

QString storeStatement(const QString &driverName, const char *name)
{
    static QMutex mutex;
    static QHash<QString, QString> cache;
    const QString path = QStringLiteral(":/sql/%1/statements/%2.sql").arg(engineFolder(driverName), QLatin1StringView(name));
    const QMutexLocker lock(&mutex);
    auto found = cache.constFind(path);
    if (found == cache.constEnd())
        found = cache.insert(path, readStatement(path));
    if (found->isEmpty()) {
        Q_ASSERT_X(false, "storeStatement", name);
        throw DbError(DbError::ItemNotFound, QStringLiteral("No statement %1 for %2.").arg(QLatin1StringView(name), driverName));
    }
    return *found;
}

QSqlQuery runStatement(Connection &connection, const char *name, StatementValues values)
{
    QSqlDatabase db = connection.database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(storeStatement(db.driverName(), name)))
        throw DbError::fromEngine(query.lastError());
    const bool server = db.driverName() == u"QPSQL";
    for (const auto &[placeholder, value] : values)
        query.bindValue(u':' + QLatin1StringView(placeholder), server ? serverBindable(value) : value);
    if (!query.exec())
        throw DbError::fromEngine(query.lastError());
    return query;
}

qint64 insertedId(QSqlQuery &query)
{
    if (query.isSelect() && query.next())
        return query.value(0).toLongLong();
    return query.lastInsertId().toLongLong();
}

StoreConnection::StoreConnection(const QString &connectionString)
    : m_own(std::make_unique<Connection>())
    , m_connection(*m_own)
{
    m_own->open(connectionString);
}

StoreConnection::StoreConnection(Connection &connection)
    : m_connection(connection)
{
}

StoreConnection::~StoreConnection() = default;
