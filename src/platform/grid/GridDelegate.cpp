#include "platform/grid/GridDelegate.h"

#include "platform/grid/DataGrid.h"

#include <QApplication>
#include <QPainter>

GridDelegate::GridDelegate(DataGrid *grid)
    : QStyledItemDelegate(grid), m_grid(grid)
{
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const GridRowStyle look =
        m_grid->effectiveStyle(index.data(GridModel::StyleRole).toString(), index.row(), selected, false);
    painter->save();
    painter->fillRect(option.rect, look.background);

    QRect area = option.rect.adjusted(3, 0, -3, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    const int iconIndex = index.data(GridModel::IconIndexRole).toInt();
    const QIcon icon = iconIndex >= 0 ? m_grid->image(iconIndex) : QIcon();
    if (!icon.isNull()) {
        // Icon-only cells centre the picture; otherwise it leads the text.
        QRect iconRect(0, 0, IconSize, IconSize);
        if (text.isEmpty()) {
            iconRect.moveCenter(option.rect.center());
        } else {
            iconRect.moveTopLeft(QPoint(area.left(), area.top() + (area.height() - IconSize) / 2));
            area.setLeft(iconRect.right() + 4);
        }
        icon.paint(painter, iconRect, Qt::AlignCenter, QIcon::Normal, QIcon::On);
    }
    if (!text.isEmpty()) {
        QFont font = option.font;
        font.setBold(look.bold);
        painter->setFont(font);
        painter->setPen(look.foreground);
        const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width());
        painter->drawText(area, int(align ? align : (Qt::AlignLeft | Qt::AlignVCenter)) | Qt::TextSingleLine,
                          shown);
    }
    painter->restore();
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return QSize(QFontMetrics(option.font).horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 8,
                 std::max(option.fontMetrics.height() + 4, IconSize + 4));
}
