#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QList>
#include <QPointer>

class GridModel;
class GridView;

// What assistive technology reads of a grid: a table of the visible columns
// only, in their on-screen order and under their captions; data rows with
// each cell's spoken text (a picture column says what the picture means);
// group rows as rows whose first cell carries the caption and spans the row.
// Hidden columns (row ids, keys) are never exposed.
class GridAccessibleTable final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessibleTable(GridView *view);
    ~GridAccessibleTable() override;

    // Installed once by the grid; answers for GridView widgets.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    GridView *view() const;
    GridModel *model() const;
    // Model columns (0-based) that are shown, in on-screen order.
    QList<int> shownColumns() const;
    static QList<int> shownColumns(const GridView *view);
    // The child number of the cell an event about `index` names: the cell's own
    // shown column, else the row's first cell (a hidden column, a group caption).
    static int childIndexOf(const GridView *view, const QModelIndex &index);

    // The grid's events about its cells go to the screen reader's bridge while one
    // listens; a test may take them instead, as offscreen no bridge ever listens.
    using Listener = void (*)(QAccessibleEvent *event);
    static void setListener(Listener listener);
    static void send(QAccessibleEvent *event);

    // QAccessibleInterface
    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface; rows are the listed rows (0-based), columns the shown ones.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    QAccessibleInterface *cellAt(int row, int column) const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

private:
    // Row -1 is the header row.
    QAccessibleInterface *cell(int row, int column) const;
    void forgetCells() const;

    mutable QHash<qint64, QAccessible::Id> m_cells;   // by row * 2^16 + column
};

// One cell of GridAccessibleTable, or a column header when its row is -1.
class GridAccessibleCell final : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridAccessibleCell(GridView *view, int row, int column);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override;
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    GridAccessibleTable *tableOf() const;
    bool isGroupRow() const;

    QPointer<GridView> m_view;
    int m_row;      // listed row, 0-based; -1 for the header
    int m_column;   // shown column, 0-based
};
