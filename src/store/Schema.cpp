#include "store/Schema.h"

#include "store/Connection.h"
#include "store/DbError.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

void execRaw(QSqlDatabase db, const QString &sql, const QString &where = {})
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw DbError::fromEngine(query.lastError(), where.isEmpty() ? sql : where + QStringLiteral(": ") + sql);
}

QStringList statementsOf(const QString &script)
{
    QString text;
    for (const QString &line : script.split(u'\n')) {
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            text += line + u'\n';
    }
    QStringList statements;
    for (const QString &statement : text.split(u';')) {
        if (!statement.trimmed().isEmpty())
            statements.append(statement.trimmed());
    }
    return statements;
}

// SQLite's ADD COLUMN has no IF NOT EXISTS: a column the file already has is
// left as it is, so a file that predates the version can run the script.
bool addsAColumnThatExists(QSqlDatabase db, const QString &statement)
{
    static const QRegularExpression addColumn(
        QStringLiteral("^ALTER\\s+TABLE\\s+(\\w+)\\s+ADD\\s+(?:COLUMN\\s+)?(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = addColumn.match(statement);
    if (!match.hasMatch() || db.driverName() != u"QSQLITE")
        return false;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT 1 FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE"));
    query.addBindValue(match.captured(1));
    query.addBindValue(match.captured(2));
    if (!query.exec())
        throw DbError::fromEngine(query.lastError(), statement);
    return query.next();
}

} // namespace

QList<SchemaScript> schemaScripts(const QString &driverName)
{
    const QString folder = engineFolder(driverName);
    if (folder.isEmpty())
        return {};
    const QDir dir(QStringLiteral(":/sql/%1/upgrade").arg(folder));
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)-.*\\.sql$"));
    QList<SchemaScript> scripts;
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = numbered.match(name);
        QFile file(dir.filePath(name));
        if (!match.hasMatch() || !file.open(QIODevice::ReadOnly))
            continue;
        scripts.append({match.captured(1).toInt(), name, QString::fromUtf8(file.readAll())});
    }
    std::sort(scripts.begin(), scripts.end(),
              [](const SchemaScript &a, const SchemaScript &b) { return a.version < b.version; });
    return scripts;
}

int latestSchemaVersion(const QString &driverName)
{
    const QList<SchemaScript> scripts = schemaScripts(driverName);
    return scripts.isEmpty() ? 0 : scripts.last().version;
}

int schemaVersion(Connection &connection)
{
    QSqlQuery query(connection.database());
    if (connection.isServer()) {
        // A server register keeps its version in a table of its own; a database
        // without it is new, and the scripts create the register in it.
        if (!query.exec(QStringLiteral("SELECT to_regclass('orvel_schema') IS NOT NULL")) || !query.next())
            throw DbError::fromEngine(query.lastError(), QStringLiteral("orvel_schema"));
        if (!query.value(0).toBool())
            return 0;
        if (!query.exec(QStringLiteral("SELECT max(version) FROM orvel_schema")) || !query.next())
            throw DbError::fromEngine(query.lastError(), QStringLiteral("orvel_schema"));
        return query.value(0).toInt();
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        throw DbError::fromEngine(query.lastError(), QStringLiteral("PRAGMA user_version"));
    return query.value(0).toInt();
}

int upgradeSchema(Connection &connection, const QList<SchemaScript> &scripts)
{
    int version = schemaVersion(connection);
    QSqlDatabase db = connection.database();
    for (const SchemaScript &script : scripts) {
        if (script.version <= version)
            continue;
        TransactionGuard guard(connection);
        for (const QString &statement : statementsOf(script.sql)) {
            if (!addsAColumnThatExists(db, statement))
                execRaw(db, statement, script.name);
        }
        if (connection.isServer()) {
            execRaw(db, QStringLiteral("CREATE TABLE IF NOT EXISTS orvel_schema (version integer NOT NULL)"), script.name);
            execRaw(db, QStringLiteral("DELETE FROM orvel_schema"), script.name);
            execRaw(db, QStringLiteral("INSERT INTO orvel_schema (version) VALUES (%1)").arg(script.version), script.name);
        } else {
            execRaw(db, QStringLiteral("PRAGMA user_version = %1").arg(script.version), script.name);
        }
        guard.commit();
        version = script.version;
    }
    return version;
}

int upgradeSchema(const QString &connectionString)
{
    Connection connection;
    connection.open(connectionString);
    const int version = upgradeSchema(connection, schemaScripts(connection.database().driverName()));
    connection.close();
    return version;
}

void rebuildIndexes(const QString &connectionString)
{
    Connection connection;
    connection.open(connectionString);
    // A server keeps its own indexes whole; the start-up's file check, the one
    // caller, never looks at a server register.
    if (connection.isServer())
        throw DbError(DbError::NotSupported, QStringLiteral("A server register's indexes are the server's to rebuild."));
    execRaw(connection.database(), QStringLiteral("REINDEX"));
    connection.close();
}
