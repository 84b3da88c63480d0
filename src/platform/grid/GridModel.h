#pragma once

#include "platform/grid/GridPresenter.h"
#include "store/Currency.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

class GridPresenter;

// One sort key or group level: a 1-based column number and its order.
struct GridSortKey
{
    int column = 0;
    bool ascending = true;
    bool operator==(const GridSortKey &) const = default;
};

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

// The data behind every list of the program: reads the rows of a record source
// through the store, keeps columns by number (fields, then computed columns),
// groups and sorts them, and lists group rows and data rows as one flat table
// whose row numbering (1-based in the public API) is what the screen shows.
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

    // Data binding. requery() reads the rows through the store and throws DbError.
    // A record source that is not a SELECT is taken as a table name.
    void setConnectionString(const QString &connectionString);
    QString connectionString() const { return m_connectionString; }
    void setRecordSource(const QString &jetSelect);
    QString recordSource() const { return m_recordSource; }
    void requery();
    // Rows given directly (tests, lists that do not come from the database).
    void setRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows);
    void appendRow(const QVariantList &row);

    void setPresenter(GridPresenter *presenter);   // not owned; may be null
    GridPresenter *presenter() const { return m_presenter; }
    // Asks the presenter again for computed columns, styles and captions.
    void refreshComputed();
    void refreshPresentation();

    // Columns: 1-based; fields in record-source order, then computed columns.
    int columnTotal() const;
    int fieldCount() const;
    QString fieldName(int column) const;
    int columnOfField(const QString &name) const;   // 0 when unknown
    // Computed columns follow the fields, so add them once the fields are known
    // (after a first read, even of no rows); returns the new column's number.
    int addComputedColumn(const QString &caption = QString());
    bool isComputedColumn(int column) const;
    void setColumnCaption(int column, const QString &caption);
    QString columnCaption(int column) const;
    void setColumnWidth(int column, int pixels);
    int columnWidth(int column) const;
    void setColumnVisible(int column, bool visible);
    bool isColumnVisible(int column) const;
    void setColumnFormat(int column, const QString &format);   // "Short Date", "Currency", or empty
    QString columnFormat(int column) const;
    void setColumnEmptyText(int column, const QString &text);
    QString columnEmptyText(int column) const;
    void setColumnAlignment(int column, Qt::Alignment alignment);   // 0: by value type
    Qt::Alignment columnAlignment(int column) const;

    // Listed rows: 1-based, group rows counted, rows under collapsed groups absent.
    int rowCount() const;
    int dataRowCount() const;                // every data row read, listed or not
    bool isGroupRow(int row) const;
    // Field / computed value of a data row; on a group row the group's value when
    // column is the grouped column, otherwise an invalid QVariant.
    QVariant value(int row, int column) const;
    QString displayText(int row, int column) const;
    int bookmark(int row) const;             // data rows; -1 for a group row or no row
    int rowOfBookmark(int bookmark) const;   // 0 when the row is not listed
    GridRow dataRow(int row) const;          // data rows only

    int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row);             // out of range: no current row (0)
    bool isCurrentGroupRow() const { return isGroupRow(m_currentRow); }
    QVariant currentValue(int column) const { return value(m_currentRow, column); }

    // Grouping.
    void clearGroups();
    void addGroup(int column, bool ascending = true);
    QList<GridSortKey> groups() const { return m_groupKeys; }
    bool isExpanded(int row) const;
    void setExpanded(int row, bool expanded);
    void expandAll();
    void collapseAll();
    QString groupCaption(int row) const;
    void setGroupCaption(int row, const QString &caption);
    int groupLevel(int row) const;           // 0 for a data row
    int groupColumn(int row) const;          // 0 for a data row
    Currency groupSum(int row, int column) const;
    GridGroup group(int row) const;          // group rows only

    // Sorting, applied within groups; ties keep the record-set order.
    QList<GridSortKey> sortKeys() const { return m_sortKeys; }
    void clearSortKeys();
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

    // Record navigator: "Deadline|of" gives "Deadline 3 of 12".
    void setNavigatorTemplate(const QString &text);
    QString navigatorTemplate() const { return m_navigatorTemplate; }
    QString navigatorText() const;

    // What is listed, for printing.
    GridListedRow listedRow(int row) const;

    // Formats a value as a column shows it ("Short Date", "Currency" exact).
    static QString formatValue(const QVariant &value, const QString &format);

    // QAbstractItemModel: a flat table, one model row per listed row, one model
    // column per grid column (hidden ones included).
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
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

    struct Column;
    struct Group;
    struct Entry;
    struct Data;
    struct CurrentAnchor
    {
        int bookmark = -1;
        QString groupPath;
        int index = 0;
    };

    QVariant rawValue(int bookmark, int column) const;
    QString cellText(int bookmark, int column) const;
    int cellIcon(int bookmark, int column) const;
    QString dataRowStyle(int bookmark) const;
    const std::vector<std::int64_t> &sortKeyOf(int column) const;
    void resetColumnsForFields(const QStringList &fieldNames);
    void fillComputed();
    void rebuild();              // order + groups + listed rows; keeps the current row
    void relist();               // listed rows from the groups' expanded state
    void appendListed(int group);
    int dataDepth() const;
    int listedIndexOfData(int position) const;
    void expandAncestorsOf(int position);
    void setCurrentInternal(int row, bool force);
    QString groupPath(int group) const;
    bool isInsideGroup(int row, int group) const;
    CurrentAnchor currentAnchor() const;
    void restoreCurrent(const CurrentAnchor &anchor);
    bool validColumn(int column) const { return column >= 1 && column <= columnTotal(); }

    QString m_connectionString;
    QString m_recordSource;
    GridPresenter *m_presenter = nullptr;
    std::unique_ptr<Data> m_d;
    QList<GridSortKey> m_groupKeys;
    QList<GridSortKey> m_sortKeys;
    QString m_navigatorTemplate;
    int m_currentRow = 0;
};
