#include "platform/grid/GridModel.h"

#include "platform/grid/GridFormat.h"
#include "platform/grid/GridRecords.h"
#include "platform/grid/GridSearch.h"
#include "platform/grid/GridValues.h"

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

GridModel::GridModel(QObject *parent)
    : QAbstractItemModel(parent), m_presentation(this)
{
}

GridModel::~GridModel() = default;

void GridModel::setRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows)
{
    setRecords(GridRecords::fromRows(fieldNames, rows));
}

void GridModel::setRecords(GridRecords &&records)
{
    // Under the same layout, collapsed groups stay collapsed.
    const std::vector<qint64> keys = keyAnchor();
    const int dropped = m_table.rowCount();
    rebuildAll([&] { m_table.setRecords(std::move(records)); });
    finishReread(keys);
    handBackMemory(dropped);
}

void GridModel::setRecords(GridRecords &&records, const Layout &layout)
{
    const int dropped = m_table.rowCount();
    relayout(layout, true, [&] { m_table.setRecords(std::move(records)); });
    handBackMemory(dropped);
}

void GridModel::handBackMemory(int droppedRows)
{
    // The rows just dropped were many small blocks: hand the freed memory back
    // to the system, or a session of re-reads keeps the high-water mark. A few
    // rows (the empty list a window starts with) are not worth the walk.
#ifdef __GLIBC__
    if (droppedRows >= 4096)
        malloc_trim(0);
#else
    (void)droppedRows;
#endif
}

void GridModel::finishReread(const std::vector<qint64> &keys)
{
    int row = 0;
    if (m_table.isValidColumn(m_keyColumn))
        row = rowOfBookmark(GridListing::bookmarkOfKeys(keys, m_table.values(m_keyColumn),
                                                        [this](int b) { return rowOfBookmark(b) > 0; }));
    if (row == 0) {
        const int current = currentRow();
        row = current > 0 ? std::min(current, rowCount()) : (rowCount() > 0 ? 1 : 0);
    }
    setCurrentInternal(row, true);
    emit listChanged();
}

std::vector<qint64> GridModel::keyAnchor() const
{
    if (!m_table.isValidColumn(m_keyColumn))
        return {};
    return m_listing.keysAround(m_ordering, m_table.values(m_keyColumn));
}

void GridModel::rebuildAll(const std::function<void()> &change)
{
    beginResetModel();
    change();
    m_ordering.forgetKeys();
    m_presentation.fillComputed(m_table);
    rebuild();
    endResetModel();
}

void GridModel::setPresenter(GridPresenter *presenter)
{
    m_presentation.setPresenter(presenter);
    refreshComputed();
}

void GridModel::refreshComputed()
{
    rebuildAll([] {});
    emit listChanged();
}

void GridModel::refreshPresentation()
{
    m_presentation.forget(m_table.rowCount(), m_ordering);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int GridModel::addComputedColumn(const QString &caption, GridCells::Kind kind)
{
    int column = 0;
    rebuildAll([&] { column = m_table.addComputedColumn(caption, kind); });
    emit columnsChanged();
    return column;
}

void GridModel::columnChanged(int column, bool cellsChange)
{
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
    if (cellsChange && rowCount() > 0)
        emit dataChanged(index(0, column - 1), index(rowCount() - 1, column - 1));
    emit columnsChanged();
}

QVariant GridModel::value(int row, int column) const
{
    if (!m_listing.isListed(row) || !m_table.isValidColumn(column))
        return {};
    const GridListing::Entry &e = m_listing.entry(row);
    if (e.group >= 0) {
        const GridOrdering::Group &g = m_ordering.group(e.group);
        return g.column == column ? g.value : QVariant();
    }
    return m_table.value(m_ordering.bookmarkAt(e.position), column);
}

QString GridModel::displayText(int row, int column) const
{
    if (!m_listing.isListed(row) || !m_table.isValidColumn(column))
        return {};
    const GridListing::Entry &e = m_listing.entry(row);
    if (e.group >= 0)
        return m_ordering.group(e.group).column == column ? groupCaption(row) : QString();
    return m_presentation.cellText(m_table, m_ordering.bookmarkAt(e.position), column);
}

int GridModel::bookmark(int row) const
{
    if (!m_listing.isListed(row) || m_listing.isGroupRow(row))
        return -1;
    return m_ordering.bookmarkAt(m_listing.entry(row).position);
}

int GridModel::rowOfBookmark(int bookmark) const
{
    const int position = m_ordering.positionOf(bookmark);
    return position < 0 ? 0 : m_listing.rowOfPosition(position);
}

void GridModel::setCurrentInternal(int row, bool force)
{
    if (m_listing.setCurrentRow(row) || force)
        emit currentRowChanged(currentRow());
}

void GridModel::resetKeepingCurrent(const GridListing::Anchor &anchor, const std::function<void()> &change)
{
    beginResetModel();
    change();
    endResetModel();
    const int row = m_listing.rowOf(anchor, m_ordering);
    setCurrentInternal(row, row != anchor.row);
}

int GridModel::dataDepth() const
{
    return m_ordering.hasGroups() ? int(m_groupKeys.size()) : 0;
}

void GridModel::rebuild()
{
    m_included.clear();
    if (m_filter) {
        m_included.resize(m_table.rowCount());
        for (int b = 0; b < m_table.rowCount(); ++b)
            m_included[b] = m_filter(GridRow(this, b)) ? 1 : 0;
    }
    m_ordering.rebuild(m_table, m_groupKeys, orderKeys(), m_included);
    relist();
}

void GridModel::relayout(const Layout &layout, bool valuesChanged, const std::function<void()> &change)
{
    const std::vector<qint64> keys = keyAnchor();
    beginResetModel();
    change();
    m_filter = layout.shows;
    m_tieKeys = withoutNoColumn(layout.ties);
    if (valuesChanged) {
        m_ordering.forgetKeys();
        m_presentation.fillComputed(m_table);
    } else {
        m_presentation.forget(m_table.rowCount(), m_ordering);
    }
    // Every group opens again, as on a re-feed.
    useGroups(layout.groups);
    rebuild();
    endResetModel();
    finishReread(keys);
}

void GridModel::setLayout(const Layout &layout, bool valuesChanged)
{
    relayout(layout, valuesChanged, [] {});
}

void GridModel::changeRows(const std::vector<int> &bookmarks, GridRecords &&rows, const Layout &layout)
{
    // Only the changed rows' computed values and keys are worked out again: a
    // save in a large sheet must not cost a read of it.
    const std::vector<qint64> keys = keyAnchor();
    beginResetModel();
    const int heldRows = m_table.rowCount();
    const std::vector<int> changed = m_table.changeRows(bookmarks, std::move(rows));
    // Computed values first: their keys are worked out from them.
    m_presentation.fillComputed(m_table, changed);
    m_ordering.changeKeys(m_table, changed);
    const bool sameListing = withoutNoColumn(layout.groups) == m_groupKeys && bool(layout.shows) == bool(m_filter)
        && (!m_filter || int(m_included.size()) == heldRows);
    m_filter = layout.shows;
    m_tieKeys = withoutNoColumn(layout.ties);
    if (sameListing) {
        // The others stay where they are, collapsed groups too.
        if (m_filter) {
            m_included.resize(m_table.rowCount(), 0);
            for (int b : changed)
                m_included[b] = m_filter(GridRow(this, b)) ? 1 : 0;
        }
        m_ordering.resettle(m_table, m_groupKeys, orderKeys(), m_included, changed);
        relist();
    } else {
        useGroups(layout.groups);
        rebuild();
    }
    endResetModel();
    finishReread(keys);
}

QList<GridSortKey> GridModel::orderKeys() const
{
    QList<GridSortKey> keys = m_sortKeys;
    for (const GridSortKey &tie : m_tieKeys)
        if (std::none_of(keys.cbegin(), keys.cend(), [&tie](const GridSortKey &k) { return k.column == tie.column; }))
            keys.append(tie);
    return keys;
}

QList<GridSortKey> GridModel::withoutNoColumn(QList<GridSortKey> keys)
{
    keys.removeIf([](const GridSortKey &k) { return k.column < 1; });
    return keys;
}

void GridModel::useGroups(const QList<GridSortKey> &groups)
{
    m_groupKeys = withoutNoColumn(groups);
    m_ordering.clearGroups();
}

void GridModel::relist()
{
    m_listing.relist(m_ordering);
}

void GridModel::clearGroups()
{
    if (m_groupKeys.isEmpty())
        return;
    resetKeepingCurrent(m_listing.anchor(m_ordering), [this] {
        m_groupKeys.clear();
        m_ordering.clearGroups();
        rebuild();
    });
    emit listChanged();
}

void GridModel::setGroups(const QList<GridSortKey> &keys)
{
    if (keys == m_groupKeys) {
        expandAll();
        return;
    }
    resetKeepingCurrent(m_listing.anchor(m_ordering), [&] {
        m_groupKeys = withoutNoColumn(keys);
        m_ordering.clearGroups();
        m_ordering.setAllExpanded(true);
        rebuild();
    });
    emit listChanged();
}

void GridModel::addGroup(int column, bool ascending)
{
    // Columns that do not exist yet are kept and take effect once rows arrive.
    if (column < 1)
        return;
    resetKeepingCurrent(m_listing.anchor(m_ordering), [&] {
        m_groupKeys.append({column, ascending});
        // A new level starts fully expanded.
        m_ordering.setAllExpanded(true);
        rebuild();
    });
    emit listChanged();
}

void GridModel::addSortKey(int column, bool ascending)
{
    if (column < 1)
        return;
    QList<GridSortKey> keys = m_sortKeys;
    keys.append({column, ascending});
    setSortKeys(keys);
}

void GridModel::setSortKeys(const QList<GridSortKey> &keys)
{
    if (keys == m_sortKeys)
        return;
    resetKeepingCurrent(m_listing.anchor(m_ordering), [&] {
        m_sortKeys = keys;
        rebuild();
    });
    emit sortKeysChanged();
    emit listChanged();
}

void GridModel::sortByHeader(int column)
{
    if (!m_table.isValidColumn(column) || !m_presentation.isSortable(column))
        return;
    QList<GridSortKey> keys = m_sortKeys;
    if (!keys.isEmpty() && keys.first().column == column) {
        keys.first().ascending = !keys.first().ascending;
    } else {
        keys.removeIf([column](const GridSortKey &k) { return k.column == column; });
        keys.prepend({column, true});
    }
    setSortKeys(keys);
}

bool GridModel::isExpanded(int row) const
{
    return isGroupRow(row) && m_ordering.group(m_listing.groupAt(row)).expanded;
}

void GridModel::setExpanded(int row, bool expanded)
{
    if (!isGroupRow(row))
        return;
    const int group = m_listing.groupAt(row);
    GridOrdering::Group &g = m_ordering.group(group);
    if (g.expanded == expanded)
        return;
    const int oldCount = rowCount();
    const int oldCurrent = currentRow();
    const bool currentInside = !expanded && m_ordering.isWithin(m_listing.enclosingGroup(oldCurrent, m_ordering), group);
    const int anchorBookmark = bookmark(oldCurrent);

    // The rows below the group row come or go; views hear of just those.
    g.expanded = expanded;
    GridListing next;
    next.relist(m_ordering);
    const int newCount = next.count();
    if (newCount > oldCount) {
        beginInsertRows(QModelIndex(), row, row + newCount - oldCount - 1);
        m_listing.swapRows(next);
        endInsertRows();
    } else if (newCount < oldCount) {
        beginRemoveRows(QModelIndex(), row, row + oldCount - newCount - 1);
        m_listing.swapRows(next);
        endRemoveRows();
    } else {
        m_listing.swapRows(next);
    }
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1), {ExpandedRole});

    if (currentInside)
        setCurrentInternal(row, true);
    else if (oldCurrent > row)
        setCurrentInternal(anchorBookmark >= 0 ? rowOfBookmark(anchorBookmark) : oldCurrent + (newCount - oldCount), true);
    emit listChanged();
}

void GridModel::expandAll()
{
    resetKeepingCurrent(m_listing.anchor(m_ordering), [this] {
        m_ordering.setAllExpanded(true);
        relist();
    });
    emit listChanged();
}

void GridModel::collapseAll()
{
    // The current row passes to its outermost group, the only kind left listed.
    GridListing::Anchor anchor = m_listing.anchor(m_ordering);
    if (anchor.row > 0 && m_ordering.hasGroups()) {
        const int group = m_listing.isGroupRow(anchor.row) ? m_listing.groupAt(anchor.row)
                                                           : m_listing.enclosingGroup(anchor.row, m_ordering);
        anchor.bookmark = -1;
        anchor.groupPath = m_ordering.pathOf(m_ordering.outermostGroupOf(group));
    }
    resetKeepingCurrent(anchor, [this] {
        m_ordering.setAllExpanded(false);
        relist();
    });
    emit listChanged();
}

QString GridModel::groupCaption(int row) const
{
    return isGroupRow(row) ? m_presentation.groupCaption(m_table, m_ordering, m_listing.groupAt(row)) : QString();
}

void GridModel::setGroupCaption(int row, const QString &caption)
{
    if (!isGroupRow(row))
        return;
    m_presentation.replaceGroupCaption(m_ordering, m_listing.groupAt(row), caption);
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}

int GridModel::find(int column, const QVariant &needle, FindMode mode, int fromRow, int direction)
{
    if (!m_table.isValidColumn(column))
        return 0;
    const GridSearch search(needle, mode == FindMode::Contains ? GridSearch::Match::Contains : GridSearch::Match::Equal);
    return find([&](const GridRow &row) { return search.matches(row.field(column)); }, fromRow, direction);
}

int GridModel::find(const std::function<bool(const GridRow &)> &matches, int fromRow, int direction)
{
    if (m_table.rowCount() == 0)
        return 0;
    const int step = direction < 0 ? -1 : 1;
    const int start = GridSearch::startPosition(m_listing, m_ordering, fromRow == -1 ? currentRow() : fromRow, step);
    return showFound(GridSearch::findPosition([&](int bookmark) { return matches(GridRow(this, bookmark)); },
                                              m_ordering.order(), start, step));
}

int GridModel::showFound(int position)
{
    if (position < 0)
        return 0;
    // The found row comes into view: the groups over it open.
    if (m_ordering.expandAround(position)) {
        beginResetModel();
        relist();
        endResetModel();
        emit listChanged();
    }
    const int row = m_listing.rowOfPosition(position);
    setCurrentRow(row);
    return row;
}

void GridModel::setNavigatorTemplate(const QString &text)
{
    m_navigatorTemplate = text;
    emit listChanged();
}

GridListedRow GridModel::listedRow(int row) const
{
    GridListedRow out;
    if (!m_listing.isListed(row))
        return out;
    const GridListing::Entry &e = m_listing.entry(row);
    if (e.group >= 0) {
        const GridOrdering::Group &g = m_ordering.group(e.group);
        out.isGroup = true;
        out.level = g.level;
        out.expanded = g.expanded;
        out.caption = groupCaption(row);
        out.style = m_presentation.groupStyle(m_ordering, e.group);
        return out;
    }
    const int b = m_ordering.bookmarkAt(e.position);
    out.level = dataDepth();
    out.style = m_presentation.rowStyle(b);
    for (int c = 1; c <= columnTotal(); ++c) {
        out.texts.append(m_presentation.cellText(m_table, b, c));
        out.icons.append(m_presentation.cellIcon(b, c));
    }
    return out;
}

QString GridModel::formatValue(const QVariant &value, const QString &format)
{
    return GridFormat::text(value, format);
}

QModelIndex GridModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnTotal())
        return {};
    return createIndex(row, column);
}

QVariant GridModel::data(const QModelIndex &idx, int role) const
{
    if (!idx.isValid() || idx.row() >= rowCount() || idx.column() >= columnTotal())
        return {};
    const GridListing::Entry &e = m_listing.entry(idx.row() + 1);
    const int column = idx.column() + 1;
    if (e.group >= 0) {
        const GridOrdering::Group &g = m_ordering.group(e.group);
        switch (role) {
        case Qt::DisplayRole:
            return idx.column() == 0 ? QVariant(groupCaption(idx.row() + 1)) : QVariant();
        case CaptionRole:
            return groupCaption(idx.row() + 1);
        case IsGroupRole:
            return true;
        case LevelRole:
            return g.level;
        case ExpandedRole:
            return g.expanded;
        case ValueRole:
            return g.column == column ? g.value : QVariant();
        case IconIndexRole:
            return -1;
        case StyleRole:
            return m_presentation.groupStyle(m_ordering, e.group);
        default:
            return {};
        }
    }
    return m_presentation.rowData(m_table, m_ordering.bookmarkAt(e.position), column, role, dataDepth());
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= columnTotal())
        return {};
    const GridColumn &c = m_table.column(section + 1);
    switch (role) {
    case Qt::DisplayRole:
        return c.caption;
    case Qt::AccessibleTextRole: {
        const QString spoken = presenter() ? presenter()->accessibleColumnName(section + 1) : QString();
        return spoken.isEmpty() ? c.caption : spoken;
    }
    case Qt::TextAlignmentRole:
        return c.alignment ? QVariant::fromValue(c.alignment | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &idx) const
{
    if (!idx.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QHash<int, QByteArray> GridModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractItemModel::roleNames();
    names.insert(IsGroupRole, "isGroup");
    names.insert(IconIndexRole, "iconIndex");
    names.insert(StyleRole, "rowStyle");
    names.insert(LevelRole, "level");
    names.insert(ExpandedRole, "expanded");
    names.insert(ValueRole, "value");
    names.insert(CaptionRole, "caption");
    return names;
}
