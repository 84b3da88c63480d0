#pragma once

#include <QStyledItemDelegate>

class DataGrid;

// Paints data cells from what the model says: the named row style, the cell's
// picture number and its text. Selection takes the "SelectedRow" style.
class GridDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridDelegate(DataGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static constexpr int IconSize = 16;

private:
    DataGrid *m_grid;
};
