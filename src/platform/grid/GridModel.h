#pragma once

#include "platform/grid/GridListing.h"
#include "platform/grid/GridOrdering.h"
#include "platform/grid/GridPresentation.h"
#include "platform/grid/GridPresenter.h"
#include "platform/grid/GridSortKey.h"
#include "platform/grid/GridTable.h"
#include "store/MoneySum.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

struct GridRecords;

// One row as it is listed, with what a printer needs to render it.
struct GridListedRow
{
    bool isGroup = false;
    int level = 0;              // group rows: 1 for the outer level; data rows: depth of groups above
    bool expanded = false;      // group rows only
    QString caption;            // group rows only
    QString style;              // named row style ("RowGroup", "Expired", or empty)
    QStringList texts;          // data rows: displayed text of every column (index = column - 1)
    QList<int> icons;           // data rows: picture number of every column, -1 for none
};

// The data behind every list of the program: holds the rows its window feeds
// it, keeps columns by number (fields, then computed columns),
// groups and sorts them, and lists group rows and data rows as one flat table
// whose row numbering (1-based in the public API) is what the screen shows.
// The work is done by its parts: GridRecords carries the rows, GridTable holds the values
// and column settings, GridOrdering orders and groups, GridListing lists the
// rows and keeps the current one, GridSearch finds, GridSums adds up and
// GridPresentation asks the presenter; this class keeps them in step and tells
// the views what changed.
//
// Qt's model rows are 0-based: model row r is listed row r + 1.
class GridModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role {
        IsGroupRole = Qt::UserRole + 1,   // bool
        IconIndexRole,                    // int, -1 for none
        StyleRole,                        // QString: named row style, may be empty
        LevelRole,                        // int: group level, or depth of a data row
        ExpandedRole,                     // bool, group rows
        ValueRole,                        // the raw value (field / computed / group value)
        CaptionRole                       // QString: group caption (group rows)
    };
    enum class FindMode { Equal, Contains };

    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    // The rows, fed by the window. A re-feed keeps the column settings when the
    // fields are the same.
    void setRecords(GridRecords &&records);
    // A column whose value names a data row across re-feeds (a row id). With one
    // set, new rows keep the same row current when it is still there, otherwise
    // the first still-listed row that followed it (then the nearest before it);
    // without one, the current row keeps its number.
    void setKeyColumn(int column) { m_keyColumn = column; }
    int keyColumn() const { return m_keyColumn; }
    // Which rows are listed, and their groups: rows shows refuses stay held but
    // are neither listed, found nor added up (no shows: every row is listed).
    struct Layout
    {
        std::function<bool(const GridRow &)> shows;
        QList<GridSortKey> groups;
        // What orders the rows the sort keys leave equal, before the records' own
        // order: a list read in one order may be meant to tie in another.
        QList<GridSortKey> ties;
    };
    // New rows under a layout, ordered and grouped once (every group open).
    void setRecords(GridRecords &&records, const Layout &layout);
    // Rows changed in place, then listed under the layout: each bookmark takes
    // the row of the same index in rows, and a bookmark of -1 adds it at the end.
    // The other rows' computed columns are kept: a change of the day or of what
    // they depend on needs setLayout(layout, true).
    void changeRows(const std::vector<int> &bookmarks, GridRecords &&rows, const Layout &layout);
    // Another layout over the rows held, ordered and grouped from the values
    // held; valuesChanged asks the presenter again for the computed columns
    // first. Each of the three keeps the current row as a re-feed keeps it.
    void setLayout(const Layout &layout, bool valuesChanged = false);
    // Rows given as lists (tests, small lists).
    void setRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows);

    void setPresenter(GridPresenter *presenter);   // not owned; may be null
    GridPresenter *presenter() const { return m_presentation.presenter(); }
    // Asks the presenter again for computed columns, styles and captions.
    void refreshComputed();
    void refreshPresentation();

    // Columns: 1-based; fields in record-source order, then computed columns.
    int columnTotal() const { return m_table.columnCount(); }
    int fieldCount() const { return m_table.fieldCount(); }
    QString fieldName(int column) const { return m_table.columnOrNone(column).name; }
    int columnOfField(const QString &name) const { return m_table.columnOfField(name); }   // 0 when unknown
    // Computed columns follow the fields, so add them once the fields are known
    // (after a first read, even of no rows); returns the new column's number.
    int addComputedColumn(const QString &caption = QString(), GridCells::Kind kind = GridCells::Kind::Variant);
    bool isComputedColumn(int column) const { return m_table.columnOrNone(column).computed; }
    void setColumnCaption(int column, const QString &caption) { setColumn(column, &GridColumn::caption, caption, false); }
    QString columnCaption(int column) const { return m_table.columnOrNone(column).caption; }
    void setColumnWidth(int column, int pixels) { setColumn(column, &GridColumn::width, pixels, false); }
    int columnWidth(int column) const { return m_table.columnOrNone(column).width; }
    void setColumnVisible(int column, bool visible) { setColumn(column, &GridColumn::visible, visible, false); }
    bool isColumnVisible(int column) const { return m_table.columnOrNone(column).visible; }
    // "Short Date", "Currency", or empty.
    void setColumnFormat(int column, const QString &format) { setColumn(column, &GridColumn::format, format, true); }
    QString columnFormat(int column) const { return m_table.columnOrNone(column).format; }
    void setColumnEmptyText(int column, const QString &text) { setColumn(column, &GridColumn::emptyText, text, true); }
    QString columnEmptyText(int column) const { return m_table.columnOrNone(column).emptyText; }
    // 0: by value type.
    void setColumnAlignment(int column, Qt::Alignment alignment)
    {
        setColumn(column, &GridColumn::alignment, alignment, true);
    }
    Qt::Alignment columnAlignment(int column) const { return m_table.columnOrNone(column).alignment; }

    // Listed rows: 1-based, group rows counted, rows under collapsed groups absent.
    int rowCount() const { return m_listing.count(); }
    int dataRowCount() const { return m_ordering.rowCount(); }   // every row the view keeps, collapsed ones too
    bool isGroupRow(int row) const { return m_listing.isGroupRow(row); }
    // Field / computed value of a data row; on a group row the group's value when
    // column is the grouped column, otherwise an invalid QVariant.
    QVariant value(int row, int column) const;
    QString displayText(int row, int column) const;
    int bookmark(int row) const;             // data rows; -1 for a group row or no row
    int rowOfBookmark(int bookmark) const;   // 0 when the row is not listed
    GridRow dataRow(int row) const { return GridRow(this, bookmark(row)); }   // data rows only
    // Every data row in the order the list shows them, those inside collapsed
    // groups too: position 0 to dataRowCount() - 1.
    GridRow orderedDataRow(int position) const { return GridRow(this, m_ordering.bookmarkAt(position)); }

    int currentRow() const { return m_listing.currentRow(); }
    void setCurrentRow(int row) { setCurrentInternal(row, false); }   // out of range: no current row (0)
    bool isCurrentGroupRow() const { return isGroupRow(currentRow()); }
    QVariant currentValue(int column) const { return value(currentRow(), column); }

    // Grouping.
    void clearGroups();
    void addGroup(int column, bool ascending = true);
    // Replaces every level at once: one regrouping instead of one per level.
    void setGroups(const QList<GridSortKey> &keys);
    QList<GridSortKey> groups() const { return m_groupKeys; }
    bool isExpanded(int row) const;
    void setExpanded(int row, bool expanded);
    void expandAll();
    void collapseAll();
    QString groupCaption(int row) const;
    void setGroupCaption(int row, const QString &caption);
    // 0 for a data row.
    int groupLevel(int row) const { return isGroupRow(row) ? m_ordering.group(m_listing.groupAt(row)).level : 0; }
    int groupColumn(int row) const { return isGroupRow(row) ? m_ordering.group(m_listing.groupAt(row)).column : 0; }
    // GridGroup::sum; nothing added for a data row.
    MoneySum groupSum(int row, int column) const { return isGroupRow(row) ? group(row).sum(column) : MoneySum(); }
    GridGroup group(int row) const { return GridGroup(this, m_listing.groupAt(row)); }   // group rows only

    // Sorting, applied within groups; ties keep the record-set order.
    QList<GridSortKey> sortKeys() const { return m_sortKeys; }
    void clearSortKeys() { setSortKeys({}); }
    void addSortKey(int column, bool ascending = true);
    void setSortKeys(const QList<GridSortKey> &keys);
    // A header click: the column becomes the first key, or its order flips when
    // it already is. Ignored when the presenter says the column is not sortable.
    void sortByHeader(int column);

    // Searches data rows (collapsed ones too) starting after (direction +1) or
    // before (-1) fromRow, wrapping once and ending with fromRow itself. The found
    // row becomes current, its groups expanded. Returns its row, or 0.
    int find(int column, const QVariant &value, FindMode mode = FindMode::Equal,
             int fromRow = -1, int direction = 1);   // fromRow -1: the current row
    // The same walk with the window's own test of a row.
    int find(const std::function<bool(const GridRow &)> &matches, int fromRow = -1, int direction = 1);

    // Record navigator: "Deadline|of" gives "Deadline 3 of 12".
    void setNavigatorTemplate(const QString &text);
    QString navigatorTemplate() const { return m_navigatorTemplate; }
    QString navigatorText() const { return GridListing::navigatorText(m_navigatorTemplate, currentRow(), rowCount()); }

    // What is listed, for printing.
    GridListedRow listedRow(int row) const;

    // Formats a value as a column shows it ("Short Date", "Currency" exact).
    static QString formatValue(const QVariant &value, const QString &format);

    // QAbstractItemModel: a flat table, one model row per listed row, one model
    // column per grid column (hidden ones included).
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &) const override { return {}; }
    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : rowCount(); }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : columnTotal(); }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void currentRowChanged(int row);
    void sortKeysChanged();
    void columnsChanged();       // captions, widths, visibility, formats or the column set
    void listChanged();          // rows re-read, regrouped, resorted, expanded or collapsed

private:
    friend class GridRow;
    friend class GridGroup;

    // The rows changed from the ground up: computed columns, order, groups, list.
    void rebuildAll(const std::function<void()> &change);
    static void handBackMemory(int droppedRows);
    // Rebuilds everything after change, under the layout.
    void relayout(const Layout &layout, bool valuesChanged, const std::function<void()> &change);
    // The sort keys, then the ties they do not name already.
    QList<GridSortKey> orderKeys() const;
    // New group levels; the groups are formed anew, every one open.
    static QList<GridSortKey> withoutNoColumn(QList<GridSortKey> keys);
    void useGroups(const QList<GridSortKey> &groups);
    // Makes the row found at an order position current, its groups open; 0 for none.
    int showFound(int position);
    // The rows a re-read should make current, best first: the current data row's
    // key, then the keys of the rows listed after it, then those before it.
    std::vector<qint64> keyAnchor() const;
    // The current row after a re-read: by the key anchor when there is one,
    // else it keeps its number (the first row when there was none).
    void finishReread(const std::vector<qint64> &keys = {});
    void rebuild();
    void relist();
    // A reset that regroups, resorts or opens and closes groups; the current row
    // then goes to the anchored row.
    void resetKeepingCurrent(const GridListing::Anchor &anchor, const std::function<void()> &change);
    void setCurrentInternal(int row, bool force);
    // A column's setting changed: the views are told, and asked to redraw the
    // cells when cellsChange. An unknown column or the same value does nothing.
    template<typename T>
    void setColumn(int column, T GridColumn::*setting, const T &value, bool cellsChange)
    {
        if (!m_table.isValidColumn(column) || m_table.column(column).*setting == value)
            return;
        m_table.column(column).*setting = value;
        columnChanged(column, cellsChange);
    }
    void columnChanged(int column, bool cellsChange);
    int dataDepth() const;

    GridTable m_table;
    GridOrdering m_ordering;
    GridListing m_listing;
    GridPresentation m_presentation;
    QList<GridSortKey> m_groupKeys;
    QList<GridSortKey> m_sortKeys;
    QList<GridSortKey> m_tieKeys;
    QString m_navigatorTemplate;
    int m_keyColumn = 0;
    std::function<bool(const GridRow &)> m_filter;
    std::vector<char> m_included;   // by bookmark; empty while every row is listed
};
