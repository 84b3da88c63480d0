#include "platform/grid/GridOrdering.h"

#include "platform/grid/GridCells.h"
#include "platform/grid/GridTable.h"
#include "platform/grid/GridValues.h"
#include "store/Prefault.h"
#include "store/NameCollation.h"

#include <QCollator>
#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <numeric>

namespace {

// Doubles as integers that compare the same way.
std::int64_t orderedBits(double d)
{
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    constexpr std::uint64_t sign = std::uint64_t(1) << 63;
    bits = (bits & sign) ? ~bits : (bits | sign);
    return std::int64_t(bits ^ sign);
}

QString pathSegment(int level, const QVariant &value)
{
    return QChar(0x1f) + QString::number(level) + GridValues::plainText(value);
}

std::int64_t numberKey(const QVariant &v, bool anyFloat)
{
    using namespace GridValues;
    if (isNull(v))
        return std::numeric_limits<std::int64_t>::min();
    if (v.typeId() == QMetaType::QDate)
        return anyFloat ? orderedBits(double(v.toDate().toJulianDay())) : v.toDate().toJulianDay();
    if (v.typeId() == QMetaType::QDateTime)
        return anyFloat ? orderedBits(double(v.toDateTime().toMSecsSinceEpoch())) : v.toDateTime().toMSecsSinceEpoch();
    if (isCurrency(v))
        return anyFloat ? orderedBits(v.value<Currency>().toDouble()) : v.value<Currency>().units();
    return anyFloat ? orderedBits(v.toDouble()) : v.toLongLong();
}

// Null, integers, dates and money: a key that needs no other row.
bool isExact(const QVariant &v)
{
    using namespace GridValues;
    return isNull(v) || isIntegral(v) || isCurrency(v) || v.typeId() == QMetaType::QDate
        || v.typeId() == QMetaType::QDateTime;
}

// Each distinct text is collated once; rows then carry its rank. textOf(b) is
// row b's text, empty for Null.
template<typename TextOf>
std::vector<std::int64_t> textKeys(size_t n, const TextOf &textOf)
{
    QHash<QString, int> idOf;
    QStringList uniques;
    std::vector<int> ids(n, -1);
    for (size_t b = 0; b < n; ++b) {
        const QString text = textOf(b);
        if (text.isEmpty())
            continue;
        auto it = idOf.constFind(text);
        if (it == idOf.constEnd()) {
            it = idOf.insert(text, int(uniques.size()));
            uniques.append(text);
        }
        ids[b] = *it;
    }
    // The order every list of names has, in the windows as in SQL.
    const QCollator collator = NameCollation::collator();
    std::vector<QCollatorSortKey> sortKeys;
    sortKeys.reserve(uniques.size());
    for (const QString &u : std::as_const(uniques))
        sortKeys.push_back(collator.sortKey(u));
    std::vector<int> byCollation(uniques.size());
    std::iota(byCollation.begin(), byCollation.end(), 0);
    std::sort(byCollation.begin(), byCollation.end(), [&](int a, int b) {
        const int c = sortKeys[a].compare(sortKeys[b]);
        if (c != 0)
            return c < 0;
        return uniques.at(a) < uniques.at(b);
    });
    std::vector<std::int64_t> rank(uniques.size());
    for (size_t r = 0; r < byCollation.size(); ++r)
        rank[byCollation[r]] = std::int64_t(r);
    std::vector<std::int64_t> keys(n, std::numeric_limits<std::int64_t>::min());
    for (size_t b = 0; b < n; ++b)
        keys[b] = ids[b] < 0 ? -1 : rank[ids[b]];
    return keys;
}

std::vector<std::int64_t> textKeys(const std::vector<QVariant> &values)
{
    return textKeys(values.size(), [&values](size_t b) {
        const QVariant &v = values[b];
        return GridValues::isNull(v) ? QString() : GridValues::plainText(v);
    });
}

} // namespace

std::vector<std::int64_t> GridOrdering::comparableKeys(const std::vector<QVariant> &values)
{
    using namespace GridValues;
    bool anyText = false, anyFloat = false;
    for (const QVariant &v : values) {
        if (isExact(v))
            continue;
        if (isFloating(v))
            anyFloat = true;
        else
            anyText = true;
    }
    if (anyText)
        return textKeys(values);
    std::vector<std::int64_t> keys(values.size());
    for (size_t b = 0; b < values.size(); ++b)
        keys[b] = numberKey(values[b], anyFloat);
    return keys;
}

std::vector<std::int64_t> GridOrdering::comparableKeys(const GridCells &values)
{
    const int n = values.size();
    switch (values.kind()) {
    case GridCells::Kind::Variant: {
        std::vector<QVariant> variants;
        variants.reserve(n);
        for (int b = 0; b < n; ++b)
            variants.push_back(values.variant(b));
        return comparableKeys(variants);
    }
    case GridCells::Kind::Text:
        // Only Nulls: keys as exact as a number's, as changeKeys() works them out.
        for (int b = 0; b < n; ++b)
            if (!values.isNull(b))
                return textKeys(size_t(n), [&values](size_t b) { return values.text(int(b)); });
        return std::vector<std::int64_t>(n, std::numeric_limits<std::int64_t>::min());
    default: {
        std::vector<std::int64_t> keys;
        assignCommitted(keys, size_t(n), std::int64_t(0));
        for (int b = 0; b < n; ++b)
            keys[b] = values.number(b);
        return keys;
    }
    }
}

const std::vector<std::int64_t> &GridOrdering::keysOf(const GridTable &table, int column)
{
    auto found = m_keys.find(column);
    if (found == m_keys.end()) {
        const GridCells &values = table.values(column);
        // A column of numbers holds every value exactly.
        bool exact = true;
        for (int b = 0; exact && !values.isNumeric() && b < values.size(); ++b)
            exact = values.isExact(b);
        ColumnKeys keys{comparableKeys(values), exact};
        found = m_keys.emplace(column, std::move(keys)).first;
    }
    return found->second.keys;
}

void GridOrdering::changeKeys(const GridTable &table, const std::vector<int> &bookmarks)
{
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        const GridCells &values = table.values(it->first);
        ColumnKeys &column = it->second;
        const bool stillExact = column.exact && std::all_of(bookmarks.begin(), bookmarks.end(), [&](int b) {
            return values.isExact(b);
        });
        if (!stillExact) {
            it = m_keys.erase(it);
            continue;
        }
        column.keys.resize(values.size(), std::numeric_limits<std::int64_t>::min());
        for (int b : bookmarks)
            column.keys[b] = values.isNumeric() ? values.number(b) : numberKey(values.at(b), false);
        ++it;
    }
}

QSet<QString> GridOrdering::collapsedPaths() const
{
    QSet<QString> collapsed;
    for (int g = 0; g < groupCount(); ++g)
        if (!m_groups[g].expanded)
            collapsed.insert(pathOf(g));
    return collapsed;
}

GridOrdering::RowOrder GridOrdering::rowOrder(const GridTable &table, const QList<GridSortKey> &groupLevels,
                                              const QList<GridSortKey> &sortKeys, std::vector<int> &levels)
{
    RowOrder order;
    for (const GridSortKey &k : groupLevels) {
        if (table.isValidColumn(k.column)) {
            order.keys.push_back({keysOf(table, k.column).data(), k.ascending});
            levels.push_back(k.column);
        }
    }
    for (const GridSortKey &k : sortKeys)
        if (table.isValidColumn(k.column))
            order.keys.push_back({keysOf(table, k.column).data(), k.ascending});
    return order;
}

bool GridOrdering::RowOrder::operator()(int a, int b) const
{
    for (const Key &k : keys) {
        const std::int64_t ka = k.keys[a], kb = k.keys[b];
        if (ka != kb)
            return k.ascending ? ka < kb : ka > kb;
    }
    return a < b;
}

namespace {

// Sorts numbers by their bits from low to high, stably: those equal in them keep
// their order. Eleven bits a pass, and a pass in which every number has the same
// digit moves nothing.
void radixSort(std::vector<std::uint64_t> &numbers, int low, int high)
{
    constexpr int DigitBits = 11;
    constexpr std::uint64_t Mask = (std::uint64_t(1) << DigitBits) - 1;
    std::vector<std::uint64_t> sorted;
    std::array<size_t, size_t(1) << DigitBits> start;
    for (int shift = low; shift < high; shift += DigitBits) {
        start.fill(0);
        for (std::uint64_t n : numbers)
            ++start[(n >> shift) & Mask];
        if (std::find(start.begin(), start.end(), numbers.size()) != start.end())
            continue;
        size_t next = 0;
        for (size_t &s : start)
            next += std::exchange(s, next);
        if (sorted.empty())
            assignCommitted(sorted, numbers.size(), std::uint64_t(0));
        for (std::uint64_t n : numbers)
            sorted[start[(n >> shift) & Mask]++] = n;
        numbers.swap(sorted);
    }
}

} // namespace

bool GridOrdering::sortPacked(const RowOrder &order)
{
    constexpr std::int64_t Null = std::numeric_limits<std::int64_t>::min();
    struct Packing
    {
        const std::int64_t *keys;
        bool ascending;
        std::int64_t low;
        std::uint64_t span;   // of the values, with a place for Null below them
        int shift;
    };
    if (m_order.empty())
        return true;
    const int bookmarkBits = std::bit_width(unsigned(*std::max_element(m_order.begin(), m_order.end())));
    std::vector<Packing> packings;
    int bits = bookmarkBits;
    for (const RowOrder::Key &k : order.keys) {
        std::int64_t low = std::numeric_limits<std::int64_t>::max();
        std::int64_t high = Null;
        bool anyNull = false;
        for (int b : m_order) {
            if (k.keys[b] == Null) {
                anyNull = true;
            } else {
                low = std::min(low, k.keys[b]);
                high = std::max(high, k.keys[b]);
            }
        }
        if (high == Null || (low == high && !anyNull))
            continue;   // one value for every row orders nothing
        const std::uint64_t span = std::uint64_t(high) - std::uint64_t(low) + 1;
        bits += std::bit_width(span);
        if (bits > 64)
            return false;
        packings.push_back({k.keys, k.ascending, low, span, 0});
    }
    // The first key in the highest bits, the bookmark in the lowest.
    int shift = bookmarkBits;
    for (auto p = packings.rbegin(); p != packings.rend(); ++p) {
        p->shift = shift;
        shift += std::bit_width(p->span);
    }
    std::vector<std::uint64_t> packed;
    assignCommitted(packed, m_order.size(), std::uint64_t(0));
    for (size_t i = 0; i < m_order.size(); ++i) {
        const int b = m_order[i];
        std::uint64_t number = std::uint64_t(b);
        for (const Packing &p : packings) {
            const std::int64_t key = p.keys[b];
            // Null lies below every value: first ascending, last descending.
            const std::uint64_t place = key == Null ? 0 : std::uint64_t(key) - std::uint64_t(p.low) + 1;
            number |= (p.ascending ? place : p.span - place) << p.shift;
        }
        packed[i] = number;
    }
    // The rows come in bookmark order: their keys alone are sorted, by a stable
    // sort that keeps that order among equal keys.
    Q_ASSERT(std::is_sorted(m_order.begin(), m_order.end()));
    radixSort(packed, bookmarkBits, shift);
    const std::uint64_t bookmarkMask = (std::uint64_t(1) << bookmarkBits) - 1;
    for (size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = int(packed[i] & bookmarkMask);
    return true;
}

void GridOrdering::rebuild(const GridTable &table, const QList<GridSortKey> &groupLevels,
                           const QList<GridSortKey> &sortKeys, const std::vector<char> &included)
{
    const int rows = table.rowCount();
    // Expanded state survives resorting and re-reading while the groups stay.
    const QSet<QString> collapsed = collapsedPaths();
    std::vector<int> levels;
    const RowOrder order = rowOrder(table, groupLevels, sortKeys, levels);

    m_order.clear();
    if (included.empty()) {
        assignCommitted(m_order, size_t(rows), 0);
        std::iota(m_order.begin(), m_order.end(), 0);
    } else {
        assignCommitted(m_order, size_t(rows), 0);
        size_t listed = 0;
        for (int b = 0; b < rows; ++b)
            if (included[b])
                m_order[listed++] = b;
        m_order.resize(listed);
    }
    if (!order.keys.empty() && !sortPacked(order))
        std::sort(m_order.begin(), m_order.end(), order);
    m_orderedBy = groupLevels + sortKeys;
    regroup(table, levels, collapsed);
}

void GridOrdering::resettle(const GridTable &table, const QList<GridSortKey> &groupLevels,
                            const QList<GridSortKey> &sortKeys, const std::vector<char> &included,
                            const std::vector<int> &changed)
{
    if (groupLevels + sortKeys != m_orderedBy) {
        rebuild(table, groupLevels, sortKeys, included);
        return;
    }
    const QSet<QString> collapsed = collapsedPaths();
    std::vector<int> levels;
    const RowOrder order = rowOrder(table, groupLevels, sortKeys, levels);
    // The other rows kept their order: their keys changed, if at all, without
    // changing how they compare (texts are ranked again, in the same order).
    std::vector<char> moved(table.rowCount(), 0);
    for (int b : changed)
        moved[b] = 1;
    std::erase_if(m_order, [&moved](int b) { return moved[b] != 0; });
    for (int b : changed) {
        if (!moved[b] || (!included.empty() && !included[b]))
            continue;
        moved[b] = 0;
        m_order.insert(std::upper_bound(m_order.begin(), m_order.end(), b, order), b);
    }
    regroup(table, levels, collapsed);
}

void GridOrdering::regroup(const GridTable &table, const std::vector<int> &levels, const QSet<QString> &collapsed)
{
    const int n = int(m_order.size());
    assignCommitted(m_positionOf, size_t(table.rowCount()), -1);
    for (int p = 0; p < n; ++p)
        m_positionOf[m_order[p]] = p;

    m_groups.clear();
    m_topGroups.clear();
    assignCommitted(m_groupOfPosition, size_t(n), -1);
    split(table, levels, 0, 0, n, -1, QString(), collapsed);
}

void GridOrdering::split(const GridTable &table, const std::vector<int> &levels, int level, int first, int last,
                         int parent, const QString &path, const QSet<QString> &collapsed)
{
    if (level >= int(levels.size()))
        return;
    const int column = levels[level];
    const std::int64_t *keys = m_keys.at(column).keys.data();
    int start = first;
    while (start < last) {
        int end = start + 1;
        const std::int64_t key = keys[m_order[start]];
        while (end < last && keys[m_order[end]] == key)
            ++end;
        Group g;
        g.column = column;
        g.level = level + 1;
        g.value = table.value(m_order[start], column);
        g.first = start;
        g.last = end;
        g.parent = parent;
        const QString here = path + pathSegment(g.level, g.value);
        g.expanded = !collapsed.contains(here);
        const int index = int(m_groups.size());
        m_groups.push_back(std::move(g));
        if (parent >= 0)
            m_groups[parent].children.push_back(index);
        else
            m_topGroups.push_back(index);
        for (int p = start; p < end; ++p)
            m_groupOfPosition[p] = index;
        split(table, levels, level + 1, start, end, index, here, collapsed);
        start = end;
    }
}

void GridOrdering::clearGroups()
{
    m_groups.clear();
    m_topGroups.clear();
}

int GridOrdering::outermostGroupOf(int group) const
{
    while (m_groups[group].parent >= 0)
        group = m_groups[group].parent;
    return group;
}

bool GridOrdering::isWithin(int group, int ancestor) const
{
    for (; group >= 0; group = m_groups[group].parent)
        if (group == ancestor)
            return true;
    return false;
}

QString GridOrdering::pathOf(int group) const
{
    QString path;
    for (int g = group; g >= 0; g = m_groups[g].parent)
        path.prepend(pathSegment(m_groups[g].level, m_groups[g].value));
    return path;
}

void GridOrdering::setAllExpanded(bool expanded)
{
    for (Group &g : m_groups)
        g.expanded = expanded;
}

bool GridOrdering::expandAround(int position)
{
    bool changed = false;
    for (int g = innermostGroupAt(position); g >= 0; g = m_groups[g].parent) {
        if (!m_groups[g].expanded) {
            m_groups[g].expanded = true;
            changed = true;
        }
    }
    return changed;
}
