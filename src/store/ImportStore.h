#pragma once

#include "store/Currency.h"
#include "store/Statements.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class RowChange;

// One deadline read from another file, ready to be stored: its client/supplier
// named, not yet looked up.
struct ImportRow
{
    int type = -2;                 // 1 credit, -1 debit, -2 appointment
    bool done = false;
    QDate date;
    QString description;
    QString notes;
    Currency value;                // not negative; the balance is value x type
    QString counterpartyName;      // empty: none
    QString counterpartyNotes;     // for a client/supplier the import creates
    int groupKey = 0;              // rows sharing a non-zero key become one new recurrence
    int groupRow = 0;              // position in that recurrence, by date
    int groupSize = 0;
    QChar groupType = u'n';        // the cadence code
};

// Writes a whole import: the missing clients/suppliers, then every deadline.
class ImportStore : private StoreConnection
{
public:
    using StoreConnection::StoreConnection;

    // The client/supplier names of rows that no Accounts row has yet (names match
    // as the column compares them, ignoring case), each once, in the rows' order.
    QStringList missingCounterparties(const QList<ImportRow> &rows);

    struct Imported
    {
        QList<qint32> rowIds;           // in the rows' order
        QList<qint32> counterpartyIds;  // the clients/suppliers created
    };
    // Creates the missing clients/suppliers and inserts every row into the sheet,
    // each recurrence under a new group id, all in one transaction: a failure
    // anywhere leaves nothing. Throws DbError.
    // change, when given, records every row created, for Undo.
    Imported importRows(qint32 sheetId, const QList<ImportRow> &rows, RowChange *change = nullptr);
};
