#pragma once

#include "platform/grid/GridSortKey.h"
#include "store/MoneySum.h"

#include <QHash>
#include <QSet>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

class GridCells;
class GridTable;

// The order the rows are listed in and the groups they fall into. Rows are
// ordered by the group levels, then by the sort keys, ties keeping the record
// set's order; each group is the run of that order sharing one group column's
// value, split again by the next level. A position is an index into the order.
class GridOrdering
{
public:
    struct Group
    {
        int column = 0;
        int level = 1;          // 1 for the outer groups
        QVariant value;
        int first = 0;          // its rows: positions [first, last)
        int last = 0;
        int parent = -1;
        std::vector<int> children;
        bool expanded = true;
        // What the presenter answered for this group, kept until asked to forget.
        bool captionReplaced = false;
        mutable bool captionKnown = false;
        mutable QString caption;
        mutable bool styleKnown = false;
        mutable QString style;
        mutable QHash<int, MoneySum> sums;
    };

    // One comparable number per row for a column of values: integers, dates and
    // money as themselves, doubles by their ordered bit pattern, texts by their
    // case-insensitive collation rank. Null is below everything; a Null text ranks
    // with the empty text.
    static std::vector<std::int64_t> comparableKeys(const std::vector<QVariant> &values);
    // The same for a column of the table, read by its type.
    static std::vector<std::int64_t> comparableKeys(const GridCells &values);

    // Orders and groups the table's rows anew, those included alone (every row
    // when included is empty). A group that was collapsed stays collapsed while a
    // group with the same values above it exists.
    void rebuild(const GridTable &table, const QList<GridSortKey> &groupLevels, const QList<GridSortKey> &sortKeys,
                 const std::vector<char> &included = {});
    // Only the changed rows moved, under the levels and keys of the last rebuild:
    // they are taken out and put back where they belong now, which a large list
    // does far faster than a sort. Other levels or keys rebuild.
    void resettle(const GridTable &table, const QList<GridSortKey> &groupLevels, const QList<GridSortKey> &sortKeys,
                  const std::vector<char> &included, const std::vector<int> &changed);
    // The values changed: comparable keys are worked out again at the next rebuild.
    void forgetKeys() { m_keys.clear(); }
    // Only those rows' values changed (or were added): an integer, date or money
    // key is worked out for them alone; a text or floating column, whose keys
    // depend on the other rows, again in full.
    void changeKeys(const GridTable &table, const std::vector<int> &bookmarks);
    // Drops the groups and what was collapsed among them.
    void clearGroups();

    int rowCount() const { return int(m_order.size()); }
    const std::vector<int> &order() const { return m_order; }   // position -> bookmark
    int bookmarkAt(int position) const { return m_order[position]; }
    // -1 for a row left out.
    int positionOf(int bookmark) const
    {
        return bookmark >= 0 && bookmark < int(m_positionOf.size()) ? m_positionOf[bookmark] : -1;
    }
    // Bookmarks of the rows at positions [first, last).
    std::span<const int> bookmarks(int first, int last) const { return {m_order.data() + first, m_order.data() + last}; }

    bool hasGroups() const { return !m_topGroups.empty(); }
    const std::vector<int> &topGroups() const { return m_topGroups; }
    int groupCount() const { return int(m_groups.size()); }
    const Group &group(int group) const { return m_groups[group]; }
    Group &group(int group) { return m_groups[group]; }
    int innermostGroupAt(int position) const { return m_groupOfPosition.empty() ? -1 : m_groupOfPosition[position]; }
    int outermostGroupOf(int group) const;
    bool isWithin(int group, int ancestor) const;   // group is ancestor or lies inside it
    // The values from the outer group down to this one: the same path names the
    // same group after regrouping or resorting.
    QString pathOf(int group) const;

    void setAllExpanded(bool expanded);
    // Opens every group above a position; true when any was closed.
    bool expandAround(int position);

private:
    const std::vector<std::int64_t> &keysOf(const GridTable &table, int column);
    // Rows compared on every level, then every sort key, then the bookmark.
    struct RowOrder
    {
        struct Key
        {
            const std::int64_t *keys;
            bool ascending;
        };
        std::vector<Key> keys;
        bool operator()(int a, int b) const;
    };
    // Sorts m_order, which holds its rows in bookmark order, by packing each row's
    // keys and bookmark into one number, which a large list sorts several times
    // faster than it compares rows key by key; false, untouched, when the keys'
    // ranges do not fit in 64 bits.
    bool sortPacked(const RowOrder &order);
    RowOrder rowOrder(const GridTable &table, const QList<GridSortKey> &groupLevels, const QList<GridSortKey> &sortKeys,
                      std::vector<int> &levels);
    QSet<QString> collapsedPaths() const;
    void regroup(const GridTable &table, const std::vector<int> &levels, const QSet<QString> &collapsed);
    void split(const GridTable &table, const std::vector<int> &levels, int level, int first, int last, int parent,
               const QString &path, const QSet<QString> &collapsed);

    struct ColumnKeys
    {
        std::vector<std::int64_t> keys;
        bool exact = false;   // integers, dates and money: each row's key stands alone
    };
    std::unordered_map<int, ColumnKeys> m_keys;   // by column
    std::vector<int> m_order;            // position -> bookmark
    std::vector<int> m_positionOf;       // bookmark -> position
    std::vector<int> m_groupOfPosition;  // innermost group; empty without groups
    std::vector<Group> m_groups;
    std::vector<int> m_topGroups;
    QList<GridSortKey> m_orderedBy;      // the levels, then the sort keys, of the order held
};
