#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// The deadline sheets (table Dbs): separate registers inside one database.
namespace DeadlineSheets {

struct Sheet
{
    qint32 id = 0;   // DbId
    QString name;    // DbName
};

// Every database holds this sheet; it can never be deleted.
constexpr qint32 FirstSheetId = 1;

// The id when a Dbs row has it; otherwise 1, the sheet every database holds; in a
// file that lost sheet 1, the lowest id there is (1 when Dbs is empty).
qint32 existingOrFirst(const QString &connectionString, qint32 sheetId);
// The sheet's DbName. Throws DbError when no row has that id.
QString name(const QString &connectionString, qint32 sheetId);

// Every sheet in name order. Throws DbError.
QList<Sheet> list(const QString &connectionString);
// A new sheet under the highest DbId plus 1; returns that id. Throws DbError.
qint32 create(const QString &connectionString, const QString &name);
void rename(const QString &connectionString, qint32 sheetId, const QString &name);
// Deletes the sheet and every deadline it holds, both or neither. Throws DbError.
void remove(const QString &connectionString, qint32 sheetId);

// Why a sheet may not be deleted, in the order the checks run.
enum class DeleteRefusal { None, OnlySheet, ActiveSheet, FirstSheet };
DeleteRefusal deleteRefusal(int sheetCount, qint32 sheetId, qint32 activeSheetId);

} // namespace DeadlineSheets
