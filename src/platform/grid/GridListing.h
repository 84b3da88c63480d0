#pragma once

#include <QString>
#include <QVariant>

class GridCells;

#include <functional>
#include <vector>

class GridOrdering;

// The rows as the screen lists them, numbered from 1: every outer group row, and
// below an expanded group its inner group rows or, at the innermost level, its
// data rows; without groups, the data rows alone. Also which listed row is
// current, and how to find "the same row" again after the list changed.
class GridListing
{
public:
    // A listed row: a group row (group >= 0) or the data row at an order position.
    struct Entry
    {
        int group = -1;
        int position = -1;
    };
    // The current row in terms that survive regrouping and resorting: the same
    // data row, or the same group by its path of values, or else the same number.
    struct Anchor
    {
        int bookmark = -1;
        QString groupPath;
        int row = 0;
    };

    // Lists the ordering's rows by its groups' expanded state.
    void relist(const GridOrdering &ordering);
    // Exchanges the listed rows with another listing's; the current row stays.
    void swapRows(GridListing &other);

    int count() const { return int(m_entries.size()); }
    bool isListed(int row) const { return row >= 1 && row <= count(); }
    const Entry &entry(int row) const { return m_entries[row - 1]; }
    bool isGroupRow(int row) const { return isListed(row) && entry(row).group >= 0; }
    int groupAt(int row) const { return isGroupRow(row) ? entry(row).group : -1; }
    int rowOfPosition(int position) const { return m_rowOfPosition[position]; }   // 0 when not listed
    // The innermost group a listed row lies in (a group row's parent), or -1.
    int enclosingGroup(int row, const GridOrdering &ordering) const;

    int currentRow() const { return m_currentRow; }
    // A row out of range means no current row (0). True when the number changed.
    bool setCurrentRow(int row);
    Anchor anchor(const GridOrdering &ordering) const;
    // The row an anchor names in the list as it is now; 0 when nothing fits.
    int rowOf(const Anchor &anchor, const GridOrdering &ordering) const;

    // The current row in terms of a key column (a row id), for rows fed anew:
    // the current data row's key, then the keys of the rows listed after it, then
    // those before it. Empty at a group row or with no current row.
    std::vector<qint64> keysAround(const GridOrdering &ordering, const GridCells &keyColumn) const;
    // The first of those keys whose row is listed now, by its bookmark; -1 for none.
    static int bookmarkOfKeys(const std::vector<qint64> &keys, const GridCells &keyColumn,
                              const std::function<bool(int bookmark)> &listed);

    // "Deadline|of" with 3 of 12 gives "Deadline 3 of 12"; without a bar the
    // pattern is a label before both numbers, and an empty one gives "3 / 12".
    static QString navigatorText(const QString &pattern, int current, int total);

private:
    void appendGroup(const GridOrdering &ordering, int group);

    std::vector<Entry> m_entries;
    std::vector<int> m_rowOfPosition;
    int m_currentRow = 0;
};
