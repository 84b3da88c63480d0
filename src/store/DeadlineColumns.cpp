#include "store/DeadlineColumns.h"

#include "store/Prefault.h"
#include "store/RowReader.h"

#include <algorithm>

namespace {

template<typename Value>
void commitRows(std::vector<Value> &column, size_t first, size_t count)
{
    prefault(column, first, count);
}

void commitRows(TextColumn &column, size_t first, size_t count)
{
    column.commit(first, count);
}

TextColumn pick(const TextColumn &from, const std::vector<int> &indexes)
{
    return from.picked(indexes);
}

template<typename Value>
std::vector<Value> pick(std::vector<Value> &from, const std::vector<int> &indexes)
{
    std::vector<Value> picked;
    picked.reserve(indexes.size() + indexes.size() / 16 + 16);
    for (int index : indexes)
        picked.push_back(std::move(from[size_t(index)]));
    return picked;
}

qint64 units(const RowReader &row, int column)
{
    const std::optional<Currency> amount = row.amount(column);
    return amount ? amount->units() : DeadlineColumns::Unreadable;
}

} // namespace

void DeadlineColumns::reserve(size_t rows)
{
    // Room for the deadlines the user saves next, which are added at the end.
    forEachColumn([rows](auto &column) { column.reserve(rows + rows / 16 + 16); }, *this);
    m_committed = 0;
}

void DeadlineColumns::commitAhead()
{
    // Rows are committed a few thousand at a time as they come, not all at once:
    // a room reserved for more rows than the read returns then costs nothing.
    constexpr size_t Step = 8192;
    forEachColumn([this](auto &column) { commitRows(column, m_committed, Step); }, *this);
    m_committed += Step;
}

void DeadlineColumns::append(const RowReader &row)
{
    appendDeadline(row);
    counterpartyId.push_back(qint32(row.integer(14)));
    row.appendText(15, counterpartyName);
    row.appendText(16, counterpartyNotes);
}

void DeadlineColumns::appendDeadline(const RowReader &row)
{
    if (rowId.size() == m_committed)
        commitAhead();
    rowId.push_back(qint32(row.integer(0)));
    sheetId.push_back(qint32(row.integer(1)));
    type.push_back(qint32(row.integer(2)));
    done.push_back(row.integer(3) != 0 ? 1 : 0);
    const QDate date = row.date(4);
    day.push_back(date.isValid() && date.toJulianDay() > NoDay && date.toJulianDay() <= std::numeric_limits<qint32>::max()
                      ? qint32(date.toJulianDay())
                      : NoDay);
    row.appendText(5, description);
    counterpartyRef.push_back(qint32(row.integer(6)));
    amount.push_back(units(row, 7));
    balance.push_back(units(row, 8));
    row.appendText(9, cadence);
    groupRow.push_back(qint32(row.integer(10)));
    groupSize.push_back(qint32(row.integer(11)));
    row.appendText(12, notes);
    groupId.push_back(qint32(row.integer(13)));
}

void DeadlineColumns::joinCounterparties(RowReader &counterparties)
{
    struct Held
    {
        qint32 id;
        qint32 name;
        qint32 notes;
    };
    std::vector<Held> held;
    while (counterparties.next()) {
        if (counterparties.isNull(0))
            continue;
        held.push_back({qint32(counterparties.integer(0)), counterpartyName.hold(counterparties.text(1)),
                        counterpartyNotes.hold(counterparties.text(2))});
    }
    std::sort(held.begin(), held.end(), [](const Held &a, const Held &b) { return a.id < b.id; });
    // Ids are given one after another, so a table by id finds each row's client
    // at once; ids far apart are looked up in the sorted list instead.
    const qint32 highest = held.empty() ? -1 : held.back().id;
    std::vector<int> placeOfId;
    if (!held.empty() && held.front().id >= 0 && size_t(highest) <= 4 * held.size() + 4096) {
        placeOfId.assign(size_t(highest) + 1, -1);
        for (size_t i = 0; i < held.size(); ++i)
            placeOfId[size_t(held[i].id)] = int(i);
    }
    auto find = [&](qint32 ref) -> const Held * {
        if (!placeOfId.empty())
            return ref >= 0 && ref <= highest && placeOfId[size_t(ref)] >= 0 ? &held[size_t(placeOfId[size_t(ref)])]
                                                                             : nullptr;
        const auto found =
            std::lower_bound(held.begin(), held.end(), ref, [](const Held &h, qint32 id) { return h.id < id; });
        return found != held.end() && found->id == ref ? &*found : nullptr;
    };
    for (qint32 ref : counterpartyRef) {
        const Held *client = find(ref);
        if (client) {
            counterpartyId.push_back(client->id);
            counterpartyName.appendHeld(client->name);
            counterpartyNotes.appendHeld(client->notes);
        } else {
            counterpartyId.push_back(0);
            counterpartyName.appendNull();
            counterpartyNotes.appendNull();
        }
    }
}

DeadlineColumns DeadlineColumns::picked(const std::vector<int> &indexes) &&
{
    DeadlineColumns picked;
    forEachColumn([&indexes](auto &from, auto &to) { to = pick(from, indexes); }, *this, picked);
    return picked;
}
