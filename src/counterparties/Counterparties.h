#pragma once

#include <QString>
#include <QtGlobal>

class Connection;

// The clients and suppliers (table Accounts). Every function opens a connection
// of its own and throws DbError when the store fails; a write of more than one
// statement runs in one transaction, so a failure leaves the table as it was.
namespace Counterparties {

struct Counterparty
{
    qint32 id = 0;     // AcId; 0 for one not saved yet
    QString name;      // AcName, never empty once saved
    QString notes;     // AcNotes
};

// The row with that AcId; an id of 0 when there is none.
Counterparty read(const QString &connectionString, qint32 id);
// Inserts a new row and returns the AcId the database's counter gave it.
qint32 create(const QString &connectionString, const QString &name, const QString &notes);
// Writes name and notes of the existing row id.
void update(const QString &connectionString, qint32 id, const QString &name, const QString &notes);
// True while the row exists; on the caller's connection, so a writer can test
// inside its own transaction. Throws DbError.
bool exists(Connection &connection, qint32 id);
// True while a deadline of any sheet refers to the counterparty.
bool isInUse(const QString &connectionString, qint32 id);
// Deletes the row unless a deadline of any sheet refers to it; the test and the
// delete share one transaction. False when it was refused.
bool remove(const QString &connectionString, qint32 id);
// The defined length of a text column of Accounts (AcName, AcNotes): what its box
// lets the user type. 0 when the column has none.
int textMaxLength(const QString &connectionString, const QString &column);

} // namespace Counterparties
