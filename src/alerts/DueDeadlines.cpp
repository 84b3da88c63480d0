#include "alerts/DueDeadlines.h"

#include "store/Connection.h"
#include "store/Recordset.h"
#include "store/SqlText.h"

namespace DueDeadlines {

namespace {

QString openOfSheet(qint32 sheetId)
{
    return QStringLiteral(" AND TrDbId=") + QString::number(sheetId);
}

bool anyRow(Connection &connection, const QString &sql)
{
    Recordset rs;
    rs.open(sql, connection, CursorType::ForwardOnly);
    const bool found = !rs.eof();
    rs.close();
    return found;
}

} // namespace

QDate warnLimitDate(const QDate &today, int warnDays)
{
    return warnDays == NoWarning ? today : today.addDays(warnDays);
}

std::optional<int> warnDaysFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const int days = trimmed.toInt(&ok);
    // toInt takes a sign; a day count is digits alone.
    if (!ok || trimmed.isEmpty() || !trimmed.front().isDigit() || days < 0 || days >= NoWarning)
        return std::nullopt;
    return days;
}

QString dueSql(const QDate &limit, qint32 sheetId)
{
    return QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDone=False AND TrDate<=") + sqlDateLiteral(limit)
           + openOfSheet(sheetId);
}

bool hasDueDeadlines(const QString &connectionString, qint32 sheetId, int warnDays, const QDate &today)
{
    if (warnDays == NoWarning)
        return false;
    Connection connection;
    connection.open(connectionString);
    const bool found = anyRow(connection, dueSql(warnLimitDate(today, warnDays), sheetId));
    connection.close();
    return found;
}

Found find(const QString &connectionString, qint32 sheetId, int warnDays, const QDate &today)
{
    Found found;
    Connection connection;
    connection.open(connectionString);
    const QString open = QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDone=False AND ");
    found.overdue = anyRow(connection, open + QStringLiteral("TrDate<") + sqlDateLiteral(today) + openOfSheet(sheetId));
    found.dueToday = anyRow(connection, open + QStringLiteral("TrDate=") + sqlDateLiteral(today) + openOfSheet(sheetId));
    if (warnDays > 0 && warnDays != NoWarning) {
        found.upcoming = anyRow(connection, open + QStringLiteral("(TrDate Between ") + sqlDateLiteral(today.addDays(1))
                                                + QStringLiteral(" And ") + sqlDateLiteral(today.addDays(warnDays))
                                                + QStringLiteral(")") + openOfSheet(sheetId));
    }
    connection.close();
    return found;
}

} // namespace DueDeadlines
