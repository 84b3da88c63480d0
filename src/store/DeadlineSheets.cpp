#include "store/DeadlineSheets.h"

#include "store/Database.h"

qint32 DeadlineSheets::existingOrFirst(const QString &connectionString, qint32 sheetId)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Dbs WHERE DbId=") + QString::number(sheetId), connectionString);
    return rs.eof() ? 1 : sheetId;
}

QString DeadlineSheets::name(const QString &connectionString, qint32 sheetId)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Dbs WHERE DbId=") + QString::number(sheetId), connectionString);
    return rs.field(QStringLiteral("dbname")).toString();
}
