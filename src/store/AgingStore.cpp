#include "store/AgingStore.h"

#include "store/RowReader.h"

std::vector<OpenAmount> AgingStore::openAmounts(qint32 sheetId)
{
    // Straight from SQLite: a large sheet has a hundred thousand open rows.
    RowReader reader(connection(), "aging-open-amounts", {{"sheetId", qlonglong(sheetId)}});
    std::vector<OpenAmount> amounts;
    while (reader.next()) {
        OpenAmount a;
        a.type = qint16(reader.integer(0));
        a.date = reader.date(1);
        a.balance = reader.amount(2);
        a.counterpartyId = qint32(reader.integer(3));
        if (a.counterpartyId != 0)
            a.counterparty = reader.text(4);
        amounts.push_back(std::move(a));
    }
    return amounts;
}
