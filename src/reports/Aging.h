#pragma once

#include "store/AgingStore.h"
#include "store/MoneySum.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <vector>

// How long an open amount is overdue as of a day: due that day or later is not
// yet due; then 1 to 30, 31 to 60, 61 to 90 and over 90 days past its date.
enum AgingBucket {
    NotYetDue,
    Overdue1To30,
    Overdue31To60,
    Overdue61To90,
    OverdueOver90,
    AgingBucketCount,
};

AgingBucket agingBucket(const QDate &due, const QDate &today);

// The open balance of one client or supplier (or of a whole table, for its
// totals), in the table's own sign: what the client owes, what is owed to the
// supplier.
struct AgingRow
{
    qint32 counterpartyId = 0;   // 0: the deadlines without a client/supplier
    QString name;                // empty for those
    std::array<MoneySum, AgingBucketCount> buckets;
    MoneySum total;
    MoneySum overdue;            // every bucket but "not yet due"
    QDate oldestDue;             // the earliest due date among its open amounts

    bool operator==(const AgingRow &) const = default;
};

struct AgingTable
{
    QList<AgingRow> rows;        // by the largest overdue amount first
    AgingRow totals;             // per column, over every row
};

// Credits and debits apart, each per client/supplier.
struct Aging
{
    QDate today;
    AgingTable credits;
    AgingTable debits;
};

// Buckets the open amounts as of today, exactly (MoneySum). Rows come by the
// largest overdue amount first (one out of range before any), then by total,
// then by name, the deadlines without a client/supplier last among equals.
// Appointments count nothing; the caller gives only open rows.
Aging computeAging(const std::vector<OpenAmount> &amounts, const QDate &today);
