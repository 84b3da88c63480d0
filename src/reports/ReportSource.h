#pragma once

#include "reports/ReportDeadline.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

// What a report reads from the database, each call through a connection of its
// own. Everything but the period bounds throws DbError.

// The deadlines a report query selects, in the order the query returns them.
QList<ReportDeadline> readReportDeadlines(const QString &connectionString, const QString &reportSql);

// The earliest and latest deadline date of all sheets. Both invalid when there
// is no deadline or the database cannot be read: the pickers then keep their
// own dates.
struct ReportPeriodBounds
{
    QDate first;
    QDate last;
};
ReportPeriodBounds readReportPeriodBounds(const QString &connectionString);

// One client or supplier as the report's choice and the printed list show it.
struct ReportCounterparty
{
    qint32 id = 0;
    QString name;
    QString notes;
};
// Every client and supplier by name, for the report's choice (no notes).
QList<ReportCounterparty> readReportCounterparties(const QString &connectionString);
// The same with their notes, for the printed list of clients and suppliers.
QList<ReportCounterparty> readCounterpartyList(const QString &connectionString);
