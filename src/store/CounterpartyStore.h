#pragma once

#include "store/Statements.h"

#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <memory>
#include <vector>

class Connection;
class QSqlQuery;
class RowChange;

// A client or supplier: one row of Accounts.
struct Counterparty
{
    qint32 id = 0;     // AcId; 0 for one not saved yet
    QString name;      // AcName, never empty once saved
    QString notes;     // AcNotes
};

// The clients and suppliers (the Accounts table), each operation a named
// statement with bound values. Every operation throws DbError; one that runs
// several statements does so in one transaction. A write given a RowChange records
// in it, inside its transaction, the rows as they were and are.
class CounterpartyStore : private StoreConnection
{
public:
    // On its own connection to the file, or on the caller's, inside its transaction.
    using StoreConnection::StoreConnection;

    // Every row, in the one order of names of the program.
    std::vector<Counterparty> list();
    // The row with that AcId; an id of 0 when there is none.
    Counterparty read(qint32 id);
    // Inserts a new row and returns the AcId the table's counter gave it.
    qint32 create(const QString &name, const QString &notes, RowChange *change = nullptr);
    // Writes name and notes of the existing row id.
    void update(qint32 id, const QString &name, const QString &notes, RowChange *change = nullptr);
    // True while the row exists.
    bool exists(qint32 id);
    // True while a deadline of any sheet refers to the row.
    bool isInUse(qint32 id);
    // Deletes the row unless a deadline of any sheet refers to it; the test and
    // the delete share one transaction. False when it was refused.
    bool remove(qint32 id, RowChange *change = nullptr);
    // The defined length of a text column of Accounts (AcName, AcNotes): what its
    // box lets the user type. 0 when the column has none.
    int textMaxLength(const QString &column);

};
