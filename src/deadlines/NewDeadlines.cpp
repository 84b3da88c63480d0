#include "deadlines/NewDeadlines.h"

#include "deadlines/RecurrenceDates.h"
#include "store/CounterpartyStore.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "store/SqlText.h"

#include <cmath>

namespace {

const QString SingleInsertHead = QStringLiteral(
    "INSERT INTO Transactions ( TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, "
    "TrGrpType, TrGrpId ) ");
const QString RecurringInsertHead = QStringLiteral(
    "INSERT INTO Transactions ( TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, "
    "TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId ) ");

// The values both inserts share, up to and including the balance.
QString commonValues(const NewDeadlineValues &v, const QDate &date)
{
    return QStringLiteral("SELECT ") + QString::number(v.sheetId) + QStringLiteral(", ") + QString::number(v.trType)
        + QStringLiteral(", ") + sqlDateLiteral(date) + QStringLiteral(", '") + quoteSqlText(v.description)
        + QStringLiteral("', '") + quoteSqlText(v.notes) + QStringLiteral("', ") + QString::number(v.acId)
        + QStringLiteral(", ") + v.value().toSqlText() + QStringLiteral(", ") + v.balance().toSqlText();
}

// "INSERT INTO Transactions ( ... TrGrpType, TrGrpId ) SELECT ..." of a single deadline.
QString singleDeadlineInsertSql(const NewDeadlineValues &values, const QDate &date, qint32 targetGroupId)
{
    return SingleInsertHead + commonValues(values, date) + QStringLiteral(", 'n', ")
        + QString::number(targetGroupId);
}

// The insert of member k of n of a recurrence.
QString recurringDeadlineInsertSql(const NewDeadlineValues &values, const QDate &date, QChar cadenceCode, int k,
                                   int n, qint32 groupId)
{
    return RecurringInsertHead + commonValues(values, date) + QStringLiteral(", '") + cadenceCode
        + QStringLiteral("', ") + QString::number(k) + QStringLiteral(", ") + QString::number(n)
        + QStringLiteral(", ") + QString::number(groupId);
}

// The row id the insert just made was given: TrRowId is a counter that only grows.
qint32 newestRowId(Connection &connection)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT Max(TrRowId) AS MaxRowId FROM Transactions"), connection, CursorType::ForwardOnly);
    const qint32 id = rs.eof() ? 0 : qint32(std::lround(numberOrDefault(rs.field(0), 0)));
    rs.close();
    return id;
}

} // namespace

Currency NewDeadlineValues::value() const
{
    return trType == -2 ? Currency() : amount;
}

Currency NewDeadlineValues::balance() const
{
    return value().checkedMul(trType).value_or(Currency());
}

std::optional<qint32> saveNewDeadlines(const QString &connectionString, const NewDeadlineRequest &request)
{
    Connection connection;
    connection.open(connectionString);

    // The members, the renumbering of the group they join and the test that the
    // client/supplier still exists stand or fall together; inside the transaction
    // no other writer can take the next row id.
    TransactionGuard guard(connection);
    if (request.values.acId > 0 && !CounterpartyStore(connection).exists(request.values.acId))
        return std::nullopt;
    qint32 firstRowId = 0;
    if (request.recurring) {
        const QChar code = RecurrenceDates::cadenceCode(request.cadence);
        const qint32 groupId =
            request.targetGroupId == 0 ? DeadlineStore(connection).nextGroupId() : request.targetGroupId;
        const QList<QDate> dates = RecurrenceDates::memberDates(request.date, request.cadence, request.count);
        const int n = int(dates.size());
        for (int k = 1; k <= n; ++k) {
            connection.execute(recurringDeadlineInsertSql(request.values, dates.at(k - 1), code, k, n, groupId));
            if (k == 1)
                firstRowId = newestRowId(connection);
        }
    } else {
        connection.execute(singleDeadlineInsertSql(request.values, request.date, request.targetGroupId));
        firstRowId = newestRowId(connection);
    }
    if (request.targetGroupId > 0)
        DeadlineStore(connection).renumberGroup(request.targetGroupId);
    guard.commit();
    connection.close();
    return firstRowId;
}
