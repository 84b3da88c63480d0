#pragma once

#include <QList>
#include <QString>

class Connection;

// The schema's version is PRAGMA user_version in the file (the table orvel_schema
// on a server register); each numbered script under sql/<engine>/upgrade brings
// a register from the version before it to its own. A server register's first
// script is numbered as the file version it matches.

struct SchemaScript
{
    int version = 0;    // the number the file is at once the script has run
    QString name;       // its file name, for error messages
    QString sql;        // statements ending with ';', none containing one
};

// The scripts shipped for a connection's driver ("QSQLITE"), by number; none for
// an engine that has no folder.
QList<SchemaScript> schemaScripts(const QString &driverName);
// The number of the last script shipped for the driver.
int latestSchemaVersion(const QString &driverName);
// The version stored in the open file. Throws DbError.
int schemaVersion(Connection &connection);

// Brings the file to the latest version at every start: every script numbered
// above the stored version runs, in order, with its new version in one
// transaction, so a failure leaves the file at the last whole version. Returns
// the version reached. Throws DbError; a missing file is not created.
int upgradeSchema(const QString &connectionString);
int upgradeSchema(Connection &connection, const QList<SchemaScript> &scripts);

// Rebuilds every index from its table: the repair of a file whose rows are sound
// but whose indexes disagree with them. Throws DbError.
void rebuildIndexes(const QString &connectionString);
