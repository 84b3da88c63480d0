#pragma once

#include "store/Currency.h"
#include "store/Statements.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class Connection;
class QSqlQuery;

// Which deadlines of a sheet a report selects. A condition left at its default
// selects every row.
struct ReportSelection
{
    qint32 sheetId = 0;
    std::optional<bool> done;        // only open (false) or only closed (true) ones
    QList<qint16> types;             // one or two of 1, -1, -2; empty for every type
    std::optional<QDate> first;      // the period, both ends included; set together with last
    std::optional<QDate> last;
    std::optional<qint32> counterpartyId;

    bool operator==(const ReportSelection &) const = default;
};

// The fields of one deadline that a report prints or groups by.
struct ReportDeadline
{
    qint32 rowId = 0;
    qint16 type = 1; // 1 credit, -1 debit, -2 appointment
    bool done = false;
    QDate date;
    QString description;
    QString counterparty; // AcName; empty without one
    // Nothing where the file holds no amount in Currency's range.
    std::optional<Currency> value = Currency();     // TrValue, the unsigned amount
    std::optional<Currency> balance = Currency();   // TrBalance, value × type
    qint32 groupId = 0;   // recurrence group, 0 for a single deadline
    qint32 groupRow = 0;
    qint32 groupSize = 0;

    // What the deadline adds to its groups' totals: nothing once closed.
    std::optional<Currency> openBalance() const { return done ? Currency() : balance; }
};

// What the reports read, each a named statement with bound values. Every
// operation throws DbError.
class ReportStore : private StoreConnection
{
public:
    // On its own connection to the file, or on the caller's, inside its transaction.
    using StoreConnection::StoreConnection;

    // The selected deadlines: on one day, open ones before closed ones, each in
    // the order they were entered.
    QList<ReportDeadline> deadlines(const ReportSelection &selection);

    // The earliest and latest deadline date of all sheets; both invalid when
    // there is no deadline.
    struct PeriodBounds
    {
        QDate first;
        QDate last;
    };
    PeriodBounds periodBounds();

};
