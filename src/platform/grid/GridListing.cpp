#include "platform/grid/GridListing.h"

#include "platform/grid/GridCells.h"
#include "platform/grid/GridOrdering.h"
#include "store/Prefault.h"

#include <algorithm>
#include <unordered_map>

void GridListing::relist(const GridOrdering &ordering)
{
    const int n = ordering.rowCount();
    m_entries.clear();
    // A row for every position, and one for each group.
    if (m_entries.capacity() < size_t(n + ordering.groupCount())) {
        m_entries.reserve(size_t(n + ordering.groupCount()));
        prefault(m_entries);
    }
    if (!ordering.hasGroups()) {
        m_entries.reserve(n);
        for (int p = 0; p < n; ++p)
            m_entries.push_back({-1, p});
    } else {
        for (int top : ordering.topGroups())
            appendGroup(ordering, top);
    }
    assignCommitted(m_rowOfPosition, size_t(n), 0);
    for (int i = 0; i < count(); ++i)
        if (m_entries[i].group < 0)
            m_rowOfPosition[m_entries[i].position] = i + 1;
}

void GridListing::appendGroup(const GridOrdering &ordering, int group)
{
    m_entries.push_back({group, -1});
    const GridOrdering::Group &g = ordering.group(group);
    if (!g.expanded)
        return;
    if (g.children.empty()) {
        for (int p = g.first; p < g.last; ++p)
            m_entries.push_back({-1, p});
    } else {
        for (int child : g.children)
            appendGroup(ordering, child);
    }
}

void GridListing::swapRows(GridListing &other)
{
    m_entries.swap(other.m_entries);
    m_rowOfPosition.swap(other.m_rowOfPosition);
}

int GridListing::enclosingGroup(int row, const GridOrdering &ordering) const
{
    if (!isListed(row))
        return -1;
    const Entry &e = entry(row);
    return e.group >= 0 ? ordering.group(e.group).parent : ordering.innermostGroupAt(e.position);
}

bool GridListing::setCurrentRow(int row)
{
    if (!isListed(row))
        row = 0;
    const bool changed = row != m_currentRow;
    m_currentRow = row;
    return changed;
}

GridListing::Anchor GridListing::anchor(const GridOrdering &ordering) const
{
    Anchor anchor;
    anchor.row = m_currentRow;
    if (isGroupRow(m_currentRow))
        anchor.groupPath = ordering.pathOf(entry(m_currentRow).group);
    else if (isListed(m_currentRow))
        anchor.bookmark = ordering.bookmarkAt(entry(m_currentRow).position);
    return anchor;
}

int GridListing::rowOf(const Anchor &anchor, const GridOrdering &ordering) const
{
    int row = 0;
    if (const int position = ordering.positionOf(anchor.bookmark); position >= 0) {
        row = m_rowOfPosition[position];
    } else if (!anchor.groupPath.isEmpty()) {
        for (int i = 0; i < count() && row == 0; ++i)
            if (m_entries[i].group >= 0 && ordering.pathOf(m_entries[i].group) == anchor.groupPath)
                row = i + 1;
    }
    if (row == 0 && anchor.row > 0)
        row = std::min(anchor.row, count());
    return row;
}

namespace {

// A row's key as a number: an integer column is read without a QVariant.
qint64 keyOf(const GridCells &keyColumn, int bookmark)
{
    if (keyColumn.kind() == GridCells::Kind::Integer)
        return keyColumn.isNull(bookmark) ? 0 : keyColumn.number(bookmark);
    return keyColumn.at(bookmark).toLongLong();
}

} // namespace

std::vector<qint64> GridListing::keysAround(const GridOrdering &ordering, const GridCells &keyColumn) const
{
    std::vector<qint64> keys;
    if (isGroupRow(m_currentRow) || !isListed(m_currentRow))
        return keys;
    keys.reserve(m_entries.size());
    auto add = [&](int row) {
        if (!isGroupRow(row))
            keys.push_back(keyOf(keyColumn, ordering.bookmarkAt(entry(row).position)));
    };
    for (int row = m_currentRow; row <= count(); ++row)
        add(row);
    for (int row = m_currentRow - 1; row >= 1; --row)
        add(row);
    return keys;
}

int GridListing::bookmarkOfKeys(const std::vector<qint64> &keys, const GridCells &keyColumn,
                                const std::function<bool(int bookmark)> &listed)
{
    if (keys.empty())
        return -1;
    // Usually the row is still there: one pass finds it. Only when it left are
    // the followers looked up, through an index of the rows.
    const int rows = keyColumn.size();
    for (int b = 0; b < rows; ++b)
        if (keyOf(keyColumn, b) == keys.front() && listed(b))
            return b;
    if (keys.size() == 1)
        return -1;
    std::unordered_map<qint64, int> bookmarkOf;
    bookmarkOf.reserve(size_t(keyColumn.size()));
    for (int b = 0; b < rows; ++b)
        bookmarkOf.emplace(keyOf(keyColumn, b), b);
    for (size_t i = 1; i < keys.size(); ++i)
        if (const auto found = bookmarkOf.find(keys[i]); found != bookmarkOf.end() && listed(found->second))
            return found->second;
    return -1;
}

QString GridListing::navigatorText(const QString &pattern, int current, int total)
{
    const QString currentText = QString::number(std::max(current, 0));
    const QString totalText = QString::number(total);
    const int bar = int(pattern.indexOf(QLatin1Char('|')));
    if (bar < 0) {
        if (pattern.isEmpty())
            return currentText + QLatin1String(" / ") + totalText;
        return pattern + QLatin1Char(' ') + currentText + QLatin1Char(' ') + totalText;
    }
    return pattern.left(bar).trimmed() + QLatin1Char(' ') + currentText + QLatin1Char(' ')
        + pattern.mid(bar + 1).trimmed() + QLatin1Char(' ') + totalText;
}
