#pragma once

#include "store/Statements.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <vector>

// An open deadline falling due, as a notification names it.
struct DueDeadline
{
    qint32 rowId = 0;        // TrRowId
    qint32 sheetId = 0;      // TrDbId
    QString sheetName;       // DbName
    QDate date;              // TrDate
    int type = 0;            // TrType: 1 credit, -1 debit, -2 appointment
    QString description;     // TrDescription
    qint32 groupId = 0;      // TrGrpId, 0 outside any recurrence
    int groupRow = 0;        // TrGrpRow
    int groupSize = 0;       // TrGrpMDay
};

// What falls due across every sheet, for the desktop notifications. Reads only,
// so it also runs on a connection opened read-only. Throws DbError.
class DueStore : private StoreConnection
{
public:
    using StoreConnection::StoreConnection;

    // The open deadlines of every sheet dated first to last, by sheet, date and row.
    std::vector<DueDeadline> openBetween(const QDate &first, const QDate &last);
};
