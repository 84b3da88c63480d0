#pragma once

#include "store/Statements.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

class Connection;
class QSqlQuery;
class RowChange;

// A deadline sheet: one row of Dbs, a separate register inside one database.
struct Sheet
{
    qint32 id = 0;   // DbId
    QString name;    // DbName
};

// The deadline sheets (the Dbs table), each operation a named statement with
// bound values. Every operation throws DbError; one that runs several statements
// does so in one transaction. A write given a RowChange records in it, inside its
// transaction, the rows as they were and are.
class SheetStore : private StoreConnection
{
public:
    // Every database holds this sheet; it can never be deleted.
    static constexpr qint32 FirstSheetId = 1;

    // On its own connection to the file, or on the caller's, inside its transaction.
    using StoreConnection::StoreConnection;

    // Every sheet, in the one order of names of the program.
    std::vector<Sheet> list();
    // The sheet's DbName. Throws DbError when no row has that id.
    QString name(qint32 id);
    bool exists(qint32 id);
    // The id when a Dbs row has it; otherwise 1, the sheet every database holds;
    // in a file that lost sheet 1, the lowest id there is (1 when Dbs is empty).
    qint32 existingOrFirst(qint32 id);
    // A new sheet under the highest DbId plus 1; returns that id.
    qint32 create(const QString &name, RowChange *change = nullptr);
    void rename(qint32 id, const QString &name, RowChange *change = nullptr);
    // Deletes the sheet and every deadline it holds, both or neither.
    void remove(qint32 id, RowChange *change = nullptr);

    // Why a sheet may not be deleted, in the order the checks run.
    enum class DeleteRefusal { None, OnlySheet, ActiveSheet, FirstSheet };
    static DeleteRefusal deleteRefusal(int sheetCount, qint32 id, qint32 activeSheetId);

};
