#include "platform/grid/GridAccessible.h"

#include "platform/grid/GridModel.h"
#include "platform/grid/GridView.h"

#include <QHeaderView>
#include <algorithm>
#include <utility>

namespace {

GridAccessibleTable::Listener listener = nullptr;

qint64 cellKey(int row, int column)
{
    return (qint64(row) + 1) * 65536 + column;
}

} // namespace

GridAccessibleTable::GridAccessibleTable(GridView *view) : QAccessibleWidget(view, QAccessible::Table)
{
}

GridAccessibleTable::~GridAccessibleTable()
{
    forgetCells();
}

QAccessibleInterface *GridAccessibleTable::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("GridView") && object && object->isWidgetType())
        return new GridAccessibleTable(static_cast<GridView *>(object));
    return nullptr;
}

GridView *GridAccessibleTable::view() const
{
    return static_cast<GridView *>(widget());
}

GridModel *GridAccessibleTable::model() const
{
    return qobject_cast<GridModel *>(view()->model());
}

QList<int> GridAccessibleTable::shownColumns() const
{
    return shownColumns(view());
}

QList<int> GridAccessibleTable::shownColumns(const GridView *view)
{
    QList<int> columns;
    const QHeaderView *header = view->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !header->isSectionHidden(logical))
            columns.append(logical);
    }
    return columns;
}

int GridAccessibleTable::childIndexOf(const GridView *view, const QModelIndex &index)
{
    const QList<int> columns = shownColumns(view);
    if (!index.isValid() || columns.isEmpty())
        return -1;
    const auto *model = qobject_cast<const GridModel *>(index.model());
    const bool group = model && model->isGroupRow(index.row() + 1);
    const int column = group ? 0 : int(std::max<qsizetype>(columns.indexOf(index.column()), 0));
    return (index.row() + 1) * int(columns.size()) + column;
}

void GridAccessibleTable::setListener(Listener newListener)
{
    listener = newListener;
}

void GridAccessibleTable::send(QAccessibleEvent *event)
{
    if (listener)
        listener(event);
    else if (QAccessible::isActive())
        QAccessible::updateAccessibility(event);
}

int GridAccessibleTable::columnCount() const
{
    return int(shownColumns().size());
}

int GridAccessibleTable::rowCount() const
{
    return model() ? model()->rowCount() : 0;
}

int GridAccessibleTable::childCount() const
{
    return (rowCount() + 1) * columnCount();
}

QAccessibleInterface *GridAccessibleTable::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0 || index >= childCount())
        return nullptr;
    return cell(index / columns - 1, index % columns);
}

int GridAccessibleTable::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->parent() != this)
        return -1;
    auto *cell = static_cast<QAccessibleTableCellInterface *>(
        const_cast<QAccessibleInterface *>(child)->interface_cast(QAccessible::TableCellInterface));
    if (!cell)
        return -1;
    return (cell->rowIndex() + 1) * columnCount() + cell->columnIndex();
}

QAccessibleInterface *GridAccessibleTable::childAt(int x, int y) const
{
    const QPoint inViewport = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = view()->indexAt(inViewport);
    if (!index.isValid())
        return nullptr;
    const QList<int> columns = shownColumns();
    const int column = int(columns.indexOf(index.column()));
    return column >= 0 ? cell(index.row(), column) : nullptr;
}

void *GridAccessibleTable::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString GridAccessibleTable::columnDescription(int column) const
{
    const QList<int> columns = shownColumns();
    if (column < 0 || column >= columns.size() || !model())
        return {};
    return model()->headerData(columns.at(column), Qt::Horizontal, Qt::AccessibleTextRole).toString();
}

int GridAccessibleTable::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

int GridAccessibleTable::selectedRowCount() const
{
    return int(selectedRows().size());
}

QList<QAccessibleInterface *> GridAccessibleTable::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (int row : selectedRows())
        for (int column = 0; column < columnCount(); ++column)
            cells.append(cell(row, column));
    return cells;
}

QList<int> GridAccessibleTable::selectedRows() const
{
    // The list selects one row: the current one.
    const int current = model() ? model()->currentRow() : 0;
    return current >= 1 ? QList<int>{current - 1} : QList<int>{};
}

QAccessibleInterface *GridAccessibleTable::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return cell(row, column);
}

bool GridAccessibleTable::isRowSelected(int row) const
{
    return model() && model()->currentRow() == row + 1;
}

bool GridAccessibleTable::selectRow(int row)
{
    if (!model() || row < 0 || row >= rowCount())
        return false;
    model()->setCurrentRow(row + 1);
    return true;
}

void GridAccessibleTable::modelChange(QAccessibleTableModelChangeEvent *)
{
    // Rows and columns move on every re-read: cells are made again when asked.
    forgetCells();
}

QAccessibleInterface *GridAccessibleTable::cell(int row, int column) const
{
    const qint64 key = cellKey(row, column);
    if (const auto found = m_cells.constFind(key); found != m_cells.constEnd())
        if (QAccessibleInterface *known = QAccessible::accessibleInterface(*found))
            return known;
    auto *made = new GridAccessibleCell(view(), row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

void GridAccessibleTable::forgetCells() const
{
    const QHash<qint64, QAccessible::Id> cells = std::exchange(m_cells, {});
    for (QAccessible::Id id : cells)
        QAccessible::deleteAccessibleInterface(id);
}

GridAccessibleCell::GridAccessibleCell(GridView *view, int row, int column)
    : m_view(view), m_row(row), m_column(column)
{
}

GridAccessibleTable *GridAccessibleCell::tableOf() const
{
    return m_view ? static_cast<GridAccessibleTable *>(QAccessible::queryAccessibleInterface(m_view.data()))
                  : nullptr;
}

bool GridAccessibleCell::isValid() const
{
    const GridAccessibleTable *table = tableOf();
    return table && m_column < table->columnCount() && m_row < table->rowCount();
}

QWindow *GridAccessibleCell::window() const
{
    const GridAccessibleTable *table = tableOf();
    return table ? table->window() : nullptr;
}

QAccessibleInterface *GridAccessibleCell::parent() const
{
    return tableOf();
}

QAccessibleInterface *GridAccessibleCell::table() const
{
    return tableOf();
}

bool GridAccessibleCell::isGroupRow() const
{
    const GridAccessibleTable *table = tableOf();
    return m_row >= 0 && table && table->model() && table->model()->isGroupRow(m_row + 1);
}

QString GridAccessibleCell::text(QAccessible::Text type) const
{
    const GridAccessibleTable *table = tableOf();
    if ((type != QAccessible::Name && type != QAccessible::Description) || !table || !table->model())
        return {};
    GridModel *model = table->model();
    const QList<int> columns = table->shownColumns();
    if (type == QAccessible::Description)
        return m_row >= 0 && m_column < columns.size()
            ? model->data(model->index(m_row, columns.at(m_column)), Qt::AccessibleDescriptionRole).toString()
            : QString();
    if (m_row < 0)
        return table->columnDescription(m_column);
    if (model->isGroupRow(m_row + 1))
        return m_column == 0 ? model->groupCaption(m_row + 1) : QString();
    if (m_column >= columns.size())
        return {};
    return model->data(model->index(m_row, columns.at(m_column)), Qt::AccessibleTextRole).toString();
}

QRect GridAccessibleCell::rect() const
{
    const GridAccessibleTable *table = tableOf();
    if (!table || !table->model())
        return {};
    const QList<int> columns = table->shownColumns();
    if (m_column >= columns.size())
        return {};
    GridView *view = m_view.data();
    if (m_row < 0) {
        const QHeaderView *header = view->header();
        const int logical = columns.at(m_column);
        const QRect section(header->sectionViewportPosition(logical), 0, header->sectionSize(logical),
                            header->height());
        return QRect(header->viewport()->mapToGlobal(section.topLeft()), section.size());
    }
    QRect area = view->visualRect(table->model()->index(m_row, columns.at(m_column)));
    if (isGroupRow() && m_column == 0)   // the caption spans the row
        area = QRect(0, area.top(), view->viewport()->width(), area.height());
    return QRect(view->viewport()->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role GridAccessibleCell::role() const
{
    return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State GridAccessibleCell::state() const
{
    QAccessible::State state;
    if (m_row < 0)
        return state;
    state.selectable = true;
    state.focusable = true;
    if (isSelected()) {
        state.selected = true;
        if (m_view && m_view->hasFocus())
            state.focused = true;
    }
    const QRect shown = m_view ? m_view->viewport()->rect() : QRect();
    const GridAccessibleTable *table = tableOf();
    if (table && table->model()) {
        const QList<int> columns = table->shownColumns();
        if (m_column < columns.size()
            && !shown.intersects(m_view->visualRect(table->model()->index(m_row, columns.at(m_column)))))
            state.offscreen = true;
    }
    if (isGroupRow()) {
        state.expandable = true;
        state.expanded = table->model()->isExpanded(m_row + 1);
        state.collapsed = !state.expanded;
    }
    return state;
}

void *GridAccessibleCell::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}

bool GridAccessibleCell::isSelected() const
{
    const GridAccessibleTable *table = tableOf();
    return m_row >= 0 && table && table->isRowSelected(m_row);
}

QList<QAccessibleInterface *> GridAccessibleCell::columnHeaderCells() const
{
    GridAccessibleTable *table = tableOf();
    if (!table || m_row < 0)
        return {};
    return {table->child(m_column)};
}

int GridAccessibleCell::columnExtent() const
{
    const GridAccessibleTable *table = tableOf();
    return isGroupRow() && m_column == 0 && table ? table->columnCount() : 1;
}
