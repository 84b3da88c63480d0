#pragma once

#include <QString>
#include <QtGlobal>

// The deadline sheets (table Dbs): separate registers inside one database.
namespace DeadlineSheets {

// The id when a Dbs row has it; otherwise 1, the sheet every database holds.
qint32 existingOrFirst(const QString &connectionString, qint32 sheetId);
// The sheet's DbName. Throws DbError when no row has that id.
QString name(const QString &connectionString, qint32 sheetId);

} // namespace DeadlineSheets
