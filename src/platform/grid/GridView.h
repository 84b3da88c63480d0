#pragma once

#include <QAccessible>
#include <QTreeView>

class DataGrid;

// The tree view inside DataGrid: a flat list whose group rows it draws itself as
// full-width bold rows with an expand arrow, so no per-row span is needed.
class GridView final : public QTreeView
{
    Q_OBJECT

public:
    explicit GridView(DataGrid *grid);

    // Pixels of indent per group level and the width of the arrow area.
    static constexpr int IndentStep = 16;
    static constexpr int ArrowWidth = 18;

    // No type-ahead: it would match the first column, a hidden one, or a group
    // caption that starts with a blank when Space is pressed, and move the
    // current row. Finding rows is the window's search.
    void keyboardSearch(const QString &) override {}

    // The index that stands for listed row `row` (0-based): its first shown cell.
    // A hidden column has no place on screen, so the view would scroll to, and
    // select on a key press, whatever lies at the viewport's corner instead.
    QModelIndex rowIndex(int row) const;

protected:
    // QTreeView names the cell in its focus and selection events by model column,
    // hidden ones counted; GridAccessibleTable counts shown columns only, so these
    // send the events with its numbers instead.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void sendAccessibleEvent(QAccessible::Event type, const QModelIndex &index);
    bool onArrow(const QModelIndex &index, int x) const;

    DataGrid *m_grid;
};
