#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

// The fields of one deadline that a report prints or groups by, as the report's
// query reads them.
struct ReportDeadline
{
    qint32 rowId = 0;
    qint16 type = 1; // 1 credit, -1 debit, -2 appointment
    bool done = false;
    QDate date;
    QString description;
    QString counterparty; // AcName; empty without one
    // Nothing where the file holds no amount in Currency's range (storedAmount()).
    std::optional<Currency> value = Currency();     // TrValue, the unsigned amount
    std::optional<Currency> balance = Currency();   // TrBalance, value × type
    qint32 groupId = 0;   // recurrence group, 0 for a single deadline
    qint32 groupRow = 0;
    qint32 groupSize = 0;

    // What the deadline adds to its groups' totals: nothing once closed.
    std::optional<Currency> openBalance() const { return done ? Currency() : balance; }
};
