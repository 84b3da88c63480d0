#pragma once

#include "store/Database.h"

#include <QDate>
#include <QString>
#include <QVariant>

// Runs one Jet statement on the database behind connectionString.
inline void runJet(const QString &connectionString, const QString &sql)
{
    Connection c;
    c.open(connectionString);
    c.execute(sql);
}

// The first field of the first row a query returns.
inline QVariant firstValue(const QString &connectionString, const QString &query)
{
    Connection c;
    c.open(connectionString);
    Recordset rs;
    rs.open(query, c);
    return rs.field(0);
}

// Adds one deadline row with the program's own column conventions: the balance
// is the value times the type, a group member is marked "m", a single one "n".
inline void insertDeadline(const QString &connectionString, int sheet, int type, bool done, const QDate &date,
                           const QString &description, int acId, Currency value, const QString &notes = {},
                           int grpId = 0, int grpRow = 0, int grpSize = 0)
{
    runJet(connectionString,
           QStringLiteral("INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, "
                          "TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId) VALUES "
                          "(%1, %2, %3, #%4#, '%5', %6, %7, %8, '%9', %10, %11, '%12', %13)")
               .arg(sheet)
               .arg(type)
               .arg(done ? QStringLiteral("True") : QStringLiteral("False"))
               .arg(date.toString(QStringLiteral("MM/dd/yyyy")))
               .arg(description)
               .arg(acId)
               .arg(value.toSqlText())
               .arg(Currency::fromUnits(value.units() * type).toSqlText())
               .arg(grpId ? QStringLiteral("m") : QStringLiteral("n"))
               .arg(grpRow)
               .arg(grpSize)
               .arg(notes)
               .arg(grpId));
}
