#pragma once

#include "store/Currency.h"
#include "store/Database.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

// A 128-bit number in decimal, as exact sums are checked: no Qt type holds one.
inline QString int128Text(__int128 number)
{
    unsigned __int128 magnitude = number < 0 ? -(unsigned __int128)number : (unsigned __int128)number;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return number < 0 ? u'-' + digits : digits;
}

// Runs one SQLite statement on the database behind connectionString, with its
// values bound in order to the '?' placeholders. Throws DbError.
inline void runSql(const QString &connectionString, const QString &sql, const QVariantList &values = {})
{
    Connection c;
    c.open(connectionString);
    QSqlQuery query(c.database());
    bool ok = query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!ok || !query.exec())
        throw DbError::fromEngine(query.lastError());
}

// The first field of the first row a query returns, as SQLite stores it.
inline QVariant firstValue(const QString &connectionString, const QString &sql)
{
    Connection c;
    c.open(connectionString);
    QSqlQuery query(c.database());
    if (!query.exec(sql))
        throw DbError::fromEngine(query.lastError());
    return query.next() ? query.value(0) : QVariant();
}

// Adds one deadline row as the store writes one: the date as ISO text, money in
// ten-thousandths, the balance the value times the type, a group member marked
// "m", a single one "n".
inline void insertDeadline(const QString &connectionString, int sheet, int type, bool done, const QDate &date,
                           const QString &description, int acId, Currency value, const QString &notes = {},
                           int grpId = 0, int grpRow = 0, int grpSize = 0)
{
    const auto text = [](const QString &t) { return t.isNull() ? QStringLiteral("") : t; };
    runSql(connectionString,
           QStringLiteral("INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, "
                          "TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId) VALUES "
                          "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
           {sheet, type, done ? 1 : 0, date.toString(Qt::ISODate), text(description), acId,
            value.units(), value.units() * type, grpId ? QStringLiteral("m") : QStringLiteral("n"), grpRow, grpSize,
            text(notes), grpId});
}

// count deadlines of sheet 1 in one transaction, dated in January 2026, their
// group ids 1..50 over and over: pages of rows and of index entries to spoil or copy.
inline void addDeadlines(const QString &connectionString, int count)
{
    Connection c;
    c.open(connectionString);
    c.beginTrans();
    QSqlQuery insert(c.database());
    insert.prepare(QStringLiteral("INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrValue, "
                                  "TrBalance, TrGrpType, TrNotes, TrGrpId) VALUES (1, 1, 0, ?, ?, 1000000, 1000000, "
                                  "'n', ?, ?)"));
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(QDate(2026, 1, i % 28 + 1).toString(Qt::ISODate));
        insert.addBindValue(QStringLiteral("Deadline %1").arg(i));
        insert.addBindValue(QStringLiteral("notes %1").arg(i));
        insert.addBindValue(i % 50 + 1);
        if (!insert.exec())
            throw DbError::fromEngine(insert.lastError());
    }
    c.commitTrans();
}

// Every row of the three tables, each value quoted as the engine stores it, to
// compare two registers, or one before and after, whole.
inline QStringList storedTables(const QString &connectionString)
{
    Connection c;
    c.open(connectionString);
    QSqlQuery q(c.database());
    QStringList rows;
    for (QString sql :
         {"SELECT quote(TrRowId), quote(TrDbId), quote(TrType), quote(TrDone), quote(TrDate), quote(TrDescription), "
          "quote(TrAcId), quote(TrValue), quote(TrBalance), quote(TrGrpType), quote(TrGrpRow), quote(TrGrpMDay), "
          "quote(TrNotes), quote(TrGrpId) FROM Transactions ORDER BY TrRowId",
          "SELECT quote(AcId), quote(AcName), quote(AcNotes) FROM Accounts ORDER BY AcId",
          "SELECT quote(DbId), quote(DbName) FROM Dbs ORDER BY DbId"}) {
        if (c.database().driverName() == QStringLiteral("QPSQL"))
            sql.replace(QStringLiteral("quote("), QStringLiteral("quote_nullable("));
        if (!q.exec(sql))
            return {q.lastError().text()};
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields.append(q.value(i).toString());
            rows.append(fields.join(u'|'));
        }
    }
    return rows;
}
