#include "store/DeadlineSheets.h"

#include "store/Database.h"
#include "store/NameCollation.h"
#include "store/SqlText.h"

qint32 DeadlineSheets::existingOrFirst(const QString &connectionString, qint32 sheetId)
{
    auto exists = [&connectionString](qint32 id) {
        Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM Dbs WHERE DbId=") + QString::number(id), connectionString);
        return !rs.eof();
    };
    if (exists(sheetId))
        return sheetId;
    if (sheetId != FirstSheetId && exists(FirstSheetId))
        return FirstSheetId;
    Recordset rs;
    rs.open(QStringLiteral("SELECT Min(Dbs.DbId) AS FirstId FROM Dbs"), connectionString);
    return qint32(numberOrDefault(rs.field(0), FirstSheetId));
}

QString DeadlineSheets::name(const QString &connectionString, qint32 sheetId)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Dbs WHERE DbId=") + QString::number(sheetId), connectionString);
    return rs.field(QStringLiteral("dbname")).toString();
}

QList<DeadlineSheets::Sheet> DeadlineSheets::list(const QString &connectionString)
{
    QList<Sheet> sheets;
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Dbs") + NameCollation::orderBy(QStringLiteral("DbName")), connectionString);
    while (!rs.eof()) {
        sheets.append({rs.field(QStringLiteral("DbId")).toInt(),
                       stringOrDefault(rs.field(QStringLiteral("DbName")), QString())});
        rs.moveNext();
    }
    return sheets;
}

qint32 DeadlineSheets::create(const QString &connectionString, const QString &name)
{
    Connection connection;
    connection.open(connectionString);
    TransactionGuard transaction(connection);
    qint32 id = FirstSheetId;
    {
        Recordset rs;
        rs.open(QStringLiteral("SELECT Max(Dbs.DbId) AS MaxDiDbId FROM Dbs"), connection);
        id = qint32(numberOrDefault(rs.field(0), 0)) + 1;
    }
    connection.execute(QStringLiteral("INSERT INTO Dbs ( DbId, DbName ) SELECT ") + QString::number(id)
                       + QStringLiteral(", '") + quoteSqlText(name) + QStringLiteral("'"));
    transaction.commit();
    return id;
}

void DeadlineSheets::rename(const QString &connectionString, qint32 sheetId, const QString &name)
{
    Connection connection;
    connection.open(connectionString);
    connection.execute(QStringLiteral("UPDATE Dbs SET Dbs.DbName = '") + quoteSqlText(name)
                       + QStringLiteral("' WHERE Dbs.DbId=") + QString::number(sheetId));
}

void DeadlineSheets::remove(const QString &connectionString, qint32 sheetId)
{
    Connection connection;
    connection.open(connectionString);
    TransactionGuard transaction(connection);
    connection.execute(QStringLiteral("DELETE * FROM Transactions WHERE TrDbId=") + QString::number(sheetId));
    connection.execute(QStringLiteral("DELETE * FROM Dbs WHERE DbId=") + QString::number(sheetId));
    transaction.commit();
}

DeadlineSheets::DeleteRefusal DeadlineSheets::deleteRefusal(int sheetCount, qint32 sheetId, qint32 activeSheetId)
{
    if (sheetCount <= 1)
        return DeleteRefusal::OnlySheet;
    if (sheetId == activeSheetId)
        return DeleteRefusal::ActiveSheet;
    if (sheetId == FirstSheetId)
        return DeleteRefusal::FirstSheet;
    return DeleteRefusal::None;
}
