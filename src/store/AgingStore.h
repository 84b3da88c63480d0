#pragma once

#include "store/Currency.h"
#include "store/Statements.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// One open credit or debit as the aging per client/supplier weighs it.
struct OpenAmount
{
    qint16 type = 1;                    // 1 credit, -1 debit
    QDate date;                         // due date; invalid when the file holds no date
    std::optional<Currency> balance;    // TrBalance; nothing when out of range
    qint32 counterpartyId = 0;          // 0 without one, or when its row is gone
    QString counterparty;               // AcName; empty without one
};

// What the aging reads, as a named statement with bound values. Throws DbError.
class AgingStore : private StoreConnection
{
public:
    using StoreConnection::StoreConnection;

    // The open credits and debits of the sheet, in no particular order.
    std::vector<OpenAmount> openAmounts(qint32 sheetId);
};
