#include "platform/grid/GridView.h"

#include "platform/grid/DataGrid.h"
#include "platform/grid/GridAccessible.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

GridView::GridView(DataGrid *grid)
    : QTreeView(grid), m_grid(grid)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    setIconSize(QSize(16, 16));
    setIndentation(0);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    header()->setHighlightSections(false);
}

QModelIndex GridView::rowIndex(int row) const
{
    const QList<int> shown = GridAccessibleTable::shownColumns(this);
    return model()->index(row, shown.isEmpty() ? 0 : shown.first());
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    // Whole rows show the current one; the current index may sit in a hidden column.
    viewport()->update();
    // Only the list being worked in speaks: a panel's list re-read meanwhile keeps still.
    if (current.isValid() && hasFocus())
        sendAccessibleEvent(QAccessible::Focus, current);
}

void GridView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    // One row is selected at a time: its first index names it.
    sendAccessibleEvent(QAccessible::SelectionAdd, selected.indexes().value(0));
    sendAccessibleEvent(QAccessible::SelectionRemove, deselected.indexes().value(0));
}

void GridView::sendAccessibleEvent(QAccessible::Event type, const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= model()->rowCount())
        return;
    const int child = GridAccessibleTable::childIndexOf(this, index);
    if (child < 0)
        return;
    QAccessibleEvent event(this, type);
    event.setChild(child);
    GridAccessibleTable::send(&event);
}

bool GridView::onArrow(const QModelIndex &index, int x) const
{
    const int level = index.data(GridModel::LevelRole).toInt();
    const int left = (level - 1) * IndentStep - header()->offset();
    return x >= left && x < left + ArrowWidth + 4;
}

void GridView::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.data(GridModel::IsGroupRole).toBool()) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    const int row = index.row();
    const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
    const GridRowStyle look =
        m_grid->effectiveStyle(index.data(GridModel::StyleRole).toString(), row, selected, true);

    const int width = std::max(viewport()->width(), header()->length() - header()->offset());
    const QRect rect(0, option.rect.y(), width, option.rect.height());
    painter->save();
    painter->fillRect(rect, look.background);

    const int level = index.data(GridModel::LevelRole).toInt();
    const int left = 2 + (level - 1) * IndentStep - header()->offset();
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(left, rect.y() + (rect.height() - 12) / 2, 12, 12);
    arrow.palette.setColor(QPalette::ButtonText, look.foreground);
    arrow.palette.setColor(QPalette::WindowText, look.foreground);
    const bool expanded = index.data(GridModel::ExpandedRole).toBool();
    style()->drawPrimitive(expanded ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowRight,
                           &arrow, painter, this);

    QFont font = option.font;
    font.setBold(look.bold);
    painter->setFont(font);
    painter->setPen(look.foreground);
    const QRect textRect = rect.adjusted(left + ArrowWidth, 0, -4, 0);
    const QString caption = QFontMetrics(font).elidedText(index.data(GridModel::CaptionRole).toString(),
                                                          Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    if (currentIndex().row() == row && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect.adjusted(0, 0, -1, -1);
        focus.backgroundColor = look.background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    bool consumed = false;
    emit m_grid->keyDown(event->key(), event->modifiers(), &consumed);
    if (consumed) {
        event->accept();
        return;
    }
    GridModel *model = m_grid->model();
    const int row = model->currentRow();
    if (model->isGroupRow(row) && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Minus:
            model->setExpanded(row, false);
            return;
        case Qt::Key_Right:
        case Qt::Key_Plus:
            model->setExpanded(row, true);
            return;
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index.data(GridModel::IsGroupRole).toBool()
        && onArrow(index, event->position().toPoint().x())) {
        GridModel *model = m_grid->model();
        model->setCurrentRow(index.row() + 1);
        model->setExpanded(index.row() + 1, !model->isExpanded(index.row() + 1));
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const int row = index.isValid() ? index.row() + 1 : 0;
    GridModel *model = m_grid->model();
    if (event->button() == Qt::LeftButton && model->isGroupRow(row)
        && !onArrow(index, event->position().toPoint().x()))
        model->setExpanded(row, !model->isExpanded(row));
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit m_grid->doubleClicked(row);
}
