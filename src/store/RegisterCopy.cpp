#include "store/RegisterCopy.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/Schema.h"
#include "store/Statements.h"
#include "store/TransactionGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>

namespace RegisterCopy {

namespace {

Totals totalsOf(Connection &connection)
{
    QSqlQuery query = runStatement(connection, "copy-totals", {});
    if (!query.next())
        throw DbError::fromEngine(query.lastError(), QStringLiteral("copy-totals"));
    Totals totals;
    for (int i = 0; i < query.record().count(); ++i)
        totals.values.append(query.value(i).toLongLong());
    return totals;
}

// Every row read on the source is written on the target by the statement of the
// same table, which names its values in the order the read returns them; one
// prepared statement serves every row.
void copyTable(Connection &source, Connection &target, const char *read, const char *write)
{
    QSqlQuery rows = runStatement(source, read, {});
    QSqlDatabase db = target.database();
    const bool server = target.isServer();
    QSqlQuery insert(db);
    if (!insert.prepare(storeStatement(db.driverName(), write)))
        throw DbError::fromEngine(insert.lastError(), QLatin1StringView(write));
    const int columns = rows.record().count();
    while (rows.next()) {
        for (int i = 0; i < columns; ++i) {
            const QVariant value = rows.value(i);
            insert.bindValue(i, server ? serverBindable(value) : value);
        }
        if (!insert.exec())
            throw DbError::fromEngine(insert.lastError(), QLatin1StringView(write));
    }
    if (rows.lastError().isValid())
        throw DbError::fromEngine(rows.lastError(), QLatin1StringView(read));
}

// Reads the source in one snapshot and writes the target in one transaction,
// committed only when every total agrees.
Outcome copy(Connection &source, Connection &target)
{
    // Each engine has scripts of its own (a server's sequences), so each side is
    // compared with its own engine's latest version.
    const auto isLatest = [](Connection &connection) {
        return schemaVersion(connection) == latestSchemaVersion(connection.database().driverName());
    };
    if (!isLatest(source) || !isLatest(target))
        throw DbError(DbError::NotSupported,
                      QStringLiteral("'%1' and '%2' are not both at their latest schema version.")
                          .arg(source.dataSource(), target.dataSource()));
    runStatement(source, "copy-begin-read", {});
    runStatement(target, "copy-begin-write", {});
    // Never committed: it only holds the snapshot the tables are read in.
    TransactionGuard reading(source);
    TransactionGuard writing(target);

    Outcome outcome;
    QSqlQuery holds = runStatement(target, "copy-target-holds", {});
    if (holds.next() && holds.value(0).toLongLong() > 0) {
        outcome.result = Outcome::Result::TargetNotEmpty;
        return outcome;
    }
    holds.finish();
    runStatement(target, "copy-clear-sheets", {});
    copyTable(source, target, "copy-read-sheets", "copy-write-sheet");
    copyTable(source, target, "copy-read-counterparties", "copy-write-counterparty");
    copyTable(source, target, "copy-read-deadlines", "copy-write-deadline");
    runStatement(target, "copy-set-counters", {});

    outcome.source = totalsOf(source);
    outcome.target = totalsOf(target);
    if (outcome.source != outcome.target) {
        outcome.result = Outcome::Result::Differs;
        return outcome;
    }
    writing.commit();
    return outcome;
}

void openSource(Connection &source, const QString &connectionString)
{
    source.open(Database::readOnly(connectionString));
    source.test();
}

} // namespace

Outcome toServer(const QString &sourceConnectionString, const QString &targetRegister)
{
    if (!Database::isServerRegister(targetRegister))
        throw DbError(DbError::FileNotFound, QStringLiteral("The connection string names no valid server register."));
    Connection source;
    openSource(source, sourceConnectionString);
    upgradeSchema(targetRegister);
    Connection target;
    target.open(targetRegister);
    return copy(source, target);
}

Outcome toFile(const QString &sourceConnectionString, const QString &filePath, const QString &templatePath)
{
    // Built beside its final place, so that the rename that puts it there stays
    // on one file system.
    const QString building = filePath + QStringLiteral(".copying");
    QFile::remove(building);
    QFile templateFile(templatePath);
    if (!templateFile.copy(building))
        throw DbError(DbError::FileNotFound, QStringLiteral("The new register %1 could not be made from %2: %3")
                                                 .arg(QDir::toNativeSeparators(filePath),
                                                      QDir::toNativeSeparators(templatePath), templateFile.errorString()));
    // A register of debts and credits is nobody else's business.
    QFile::setPermissions(building, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Outcome outcome;
    try {
        Connection source;
        openSource(source, sourceConnectionString);
        QString targetString = Database::connectionString(QFileInfo(building).absolutePath());
        targetString.replace(targetString.lastIndexOf(Database::FileName), Database::FileName.size(),
                             QFileInfo(building).fileName());
        upgradeSchema(targetString);
        Connection target;
        target.open(targetString);
        outcome = copy(source, target);
        target.close();
    } catch (...) {
        QFile::remove(building);
        throw;
    }
    if (!outcome.ok()) {
        QFile::remove(building);
        return outcome;
    }
    // One rename puts it in place, over a file the user chose to replace: that file
    // is never gone before the new one is there.
    if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(filePath).constData()) != 0) {
        QFile::remove(building);
        throw DbError(DbError::UpdateFailed, QStringLiteral("'%1' could not be written.").arg(QDir::toNativeSeparators(filePath)));
    }
    return outcome;
}

} // namespace RegisterCopy
