#include "deadlines/ClosedDeadlinePurge.h"

#include "platform/DateFormat.h"
#include "store/Database.h"
#include "store/SqlText.h"

namespace {

// The condition both statements share, so the count is what the delete removes.
QString closedUpTo(qint32 sheetId, const QDate &lastDate)
{
    return QStringLiteral(" WHERE TrDate<=") + sqlDateLiteral(lastDate) + QStringLiteral(" AND TrDone=True AND TrDbId=")
        + QString::number(sheetId);
}

} // namespace

int ClosedDeadlinePurge::count(const QString &connectionString, qint32 sheetId, const QDate &lastDate)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT TrRowId From Transactions") + closedUpTo(sheetId, lastDate), connectionString,
            CursorType::Static);
    return rs.recordCount();
}

int ClosedDeadlinePurge::purge(const QString &connectionString, qint32 sheetId, const QDate &lastDate)
{
    Connection connection;
    connection.open(connectionString);
    return connection.execute(QStringLiteral("DELETE * FROM Transactions") + closedUpTo(sheetId, lastDate));
}

QString ClosedDeadlinePurge::question(int count, const QDate &lastDate, const QString &sentence, const QString &confirm)
{
    return sentence.arg(QString::number(count), shortDateText(lastDate)) + QStringLiteral("\r\n") + confirm;
}
