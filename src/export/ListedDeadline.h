#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

// One deadline as the main list shows it, flattened for the exports: the list maps
// each of its deadline rows (never its group rows) to one of these, in its order.
struct ListedDeadline
{
    qint32 rowId = 0;            // TrRowId
    qint32 sheetId = 0;          // TrDbId
    int type = 0;                // TrType: 1 credit, -1 debit, -2 appointment
    bool done = false;           // TrDone: closed
    QDate date;                  // TrDate
    QString shownDescription;    // as the list shows it, with the recurrence counter when shown
    QString description;         // TrDescription, without counter
    qint32 groupId = 0;          // TrGrpId, 0 for a deadline outside any recurrence
    int groupRow = 0;            // TrGrpRow: position in the recurrence
    int groupSize = 0;           // TrGrpMDay: members of the recurrence
    // Nothing where the file holds no amount in Currency's range (storedAmount()).
    std::optional<Currency> amount = Currency();    // TrValue
    std::optional<Currency> balance = Currency();   // TrBalance: amount times type
    QString counterpartyName;    // AcName, empty without a client/supplier
    QString counterpartyNotes;   // AcNotes
    QString notes;               // TrNotes
};
