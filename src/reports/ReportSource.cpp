#include "reports/ReportSource.h"

#include "reports/ReportQuery.h"
#include "store/Database.h"
#include "store/MoneySum.h"
#include "store/NameCollation.h"

namespace {

QString textOf(const QVariant &value)
{
    return value.isValid() ? value.toString() : QString();
}

} // namespace

QList<ReportDeadline> readReportDeadlines(const QString &connectionString, const QString &reportSql)
{
    Connection connection;
    connection.open(connectionString);
    Recordset rs;
    rs.open(reportSql, connection, CursorType::ForwardOnly);
    // Looked up once: the query's field order is the report's own, but a
    // column looked up by name survives a change of it.
    const int rowId = rs.fieldIndex(QStringLiteral("TrRowId"));
    const int type = rs.fieldIndex(QStringLiteral("TrType"));
    const int done = rs.fieldIndex(QStringLiteral("TrDone"));
    const int date = rs.fieldIndex(QStringLiteral("TrDate"));
    const int description = rs.fieldIndex(QStringLiteral("TrDescription"));
    const int name = rs.fieldIndex(QStringLiteral("AcName"));
    const int value = rs.fieldIndex(QStringLiteral("TrValue"));
    const int balance = rs.fieldIndex(QStringLiteral("TrBalance"));
    const int groupId = rs.fieldIndex(QStringLiteral("TrGrpId"));
    const int groupRow = rs.fieldIndex(QStringLiteral("TrGrpRow"));
    const int groupSize = rs.fieldIndex(QStringLiteral("TrGrpMDay"));

    QList<ReportDeadline> deadlines;
    while (!rs.eof()) {
        ReportDeadline d;
        d.rowId = rs.field(rowId).toInt();
        d.type = qint16(rs.field(type).toInt());
        d.done = rs.field(done).toBool();
        d.date = rs.field(date).toDate();
        d.description = textOf(rs.field(description));
        d.counterparty = textOf(rs.field(name));
        d.value = storedAmount(rs.field(value));
        d.balance = storedAmount(rs.field(balance));
        d.groupId = rs.field(groupId).toInt();
        d.groupRow = rs.field(groupRow).toInt();
        d.groupSize = rs.field(groupSize).toInt();
        deadlines.append(d);
        rs.moveNext();
    }
    return deadlines;
}

ReportPeriodBounds readReportPeriodBounds(const QString &connectionString)
{
    try {
        Connection connection;
        connection.open(connectionString);
        Recordset rs;
        rs.open(reportPeriodBoundsQuery(), connection);
        if (!rs.eof())
            return {rs.field(0).toDate(), rs.field(1).toDate()};
    } catch (const DbError &) {
        // The pickers keep their own dates.
    }
    return {};
}

namespace {

QList<ReportCounterparty> readCounterparties(const QString &connectionString, const QString &query)
{
    Connection connection;
    connection.open(connectionString);
    Recordset rs;
    rs.open(query, connection);
    const bool notes = rs.fieldCount() > 2;
    QList<ReportCounterparty> counterparties;
    while (!rs.eof()) {
        counterparties.append({rs.field(0).toInt(), textOf(rs.field(1)), notes ? textOf(rs.field(2)) : QString()});
        rs.moveNext();
    }
    return counterparties;
}

} // namespace

QList<ReportCounterparty> readReportCounterparties(const QString &connectionString)
{
    return readCounterparties(connectionString, reportCounterpartiesQuery());
}

QList<ReportCounterparty> readCounterpartyList(const QString &connectionString)
{
    return readCounterparties(connectionString,
                              QStringLiteral("SELECT AcId, AcName, AcNotes FROM Accounts")
                                  + NameCollation::orderBy(QStringLiteral("AcName")));
}
