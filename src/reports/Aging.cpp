#include "reports/Aging.h"

#include "store/NameCollation.h"

#include <QHash>

#include <algorithm>
#include <utility>

AgingBucket agingBucket(const QDate &due, const QDate &today)
{
    // A deadline without a readable date is weighed, never guessed overdue.
    const qint64 days = due.isValid() ? due.daysTo(today) : 0;
    if (days <= 0)
        return NotYetDue;
    if (days <= 30)
        return Overdue1To30;
    if (days <= 60)
        return Overdue31To60;
    if (days <= 90)
        return Overdue61To90;
    return OverdueOver90;
}

namespace {

void addTo(AgingRow &row, AgingBucket bucket, const MoneySum &amount, const QDate &due)
{
    row.buckets[bucket].add(amount);
    row.total.add(amount);
    if (bucket != NotYetDue)
        row.overdue.add(amount);
    if (due.isValid() && (!row.oldestDue.isValid() || due < row.oldestDue))
        row.oldestDue = due;
}

// Largest first; a sum out of range is larger than any.
int compareDescending(const MoneySum &a, const MoneySum &b)
{
    if (a.isOutOfRange() != b.isOutOfRange())
        return a.isOutOfRange() ? -1 : 1;
    if (a.units() != b.units())
        return a.units() > b.units() ? -1 : 1;
    return 0;
}

void finish(AgingTable &table)
{
    const QCollator collator = NameCollation::collator();
    std::sort(table.rows.begin(), table.rows.end(), [&collator](const AgingRow &a, const AgingRow &b) {
        if (int c = compareDescending(a.overdue, b.overdue))
            return c < 0;
        if (int c = compareDescending(a.total, b.total))
            return c < 0;
        if ((a.counterpartyId == 0) != (b.counterpartyId == 0))
            return b.counterpartyId == 0;
        if (int c = NameCollation::compare(collator, a.name, b.name))
            return c < 0;
        return a.counterpartyId < b.counterpartyId;
    });
    for (const AgingRow &row : std::as_const(table.rows)) {
        for (int b = 0; b < AgingBucketCount; ++b)
            table.totals.buckets[b].add(row.buckets[b]);
        table.totals.total.add(row.total);
        table.totals.overdue.add(row.overdue);
        if (row.oldestDue.isValid() && (!table.totals.oldestDue.isValid() || row.oldestDue < table.totals.oldestDue))
            table.totals.oldestDue = row.oldestDue;
    }
}

} // namespace

Aging computeAging(const std::vector<OpenAmount> &amounts, const QDate &today)
{
    Aging aging;
    aging.today = today;
    QHash<qint32, qsizetype> creditRows;
    QHash<qint32, qsizetype> debitRows;
    for (const OpenAmount &a : amounts) {
        if (a.type != 1 && a.type != -1)
            continue;
        AgingTable &table = a.type == 1 ? aging.credits : aging.debits;
        QHash<qint32, qsizetype> &index = a.type == 1 ? creditRows : debitRows;
        auto at = index.constFind(a.counterpartyId);
        if (at == index.constEnd()) {
            AgingRow row;
            row.counterpartyId = a.counterpartyId;
            row.name = a.counterpartyId != 0 ? a.counterparty : QString();
            table.rows.append(row);
            at = index.insert(a.counterpartyId, table.rows.size() - 1);
        }
        // A debit's balance is negative: the table shows what is owed, so as a
        // positive amount, exactly even for the most negative one.
        MoneySum amount;
        if (!a.balance)
            amount.add(std::nullopt);
        else
            amount = MoneySum::fromUnits(a.type == 1 ? __int128(a.balance->units()) : -__int128(a.balance->units()));
        addTo(table.rows[*at], agingBucket(a.date, today), amount, a.date);
    }
    finish(aging.credits);
    finish(aging.debits);
    return aging;
}
