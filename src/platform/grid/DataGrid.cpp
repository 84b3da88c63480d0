#include "platform/grid/DataGrid.h"

#include "platform/grid/GridAccessible.h"
#include "platform/grid/GridColours.h"
#include "platform/grid/GridDelegate.h"
#include "platform/grid/GridView.h"

#include <QAccessible>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

DataGrid::DataGrid(QWidget *parent)
    : QWidget(parent),
      m_model(new GridModel(this)),
      m_view(new GridView(this)),
      m_delegate(new GridDelegate(this)),
      m_navigator(new QLabel(this))
{
    // Screen readers meet the visible columns only (the same factory is not added twice).
    QAccessible::installFactory(&GridAccessibleTable::factory);
    // The built-in styles other than these follow the palette when painted (builtInStyle).
    m_styles.insert(QStringLiteral("Default"), {});
    m_styles.insert(QStringLiteral("PreviewRow"), {});

    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->installEventFilter(this);

    m_navigator->setContentsMargins(4, 1, 4, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_navigator);
    setFocusProxy(m_view);

    QHeaderView *header = m_view->header();
    connect(header, &QHeaderView::sectionClicked, this, [this](int logical) {
        m_model->sortByHeader(logical + 1);
        applySortIndicator();
    });
    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!m_applyingColumns && size > 0)
            m_model->setColumnWidth(logical + 1, size);
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_syncing)
                    m_model->setCurrentRow(current.isValid() ? current.row() + 1 : 0);
            });
    // While rows come and go the view moves its own current index; the model
    // decides the current row afterwards, so the view's guess is not passed on.
    auto hold = [this] { m_syncing = true; };
    auto release = [this] { m_syncing = false; };
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, release);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, release);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, hold);
    connect(m_model, &QAbstractItemModel::modelReset, this, release);
    connect(m_model, &GridModel::currentRowChanged, this, [this](int row) {
        syncCurrentFromModel(row);
        emit currentRowChanged(row);
    });
    connect(m_model, &GridModel::listChanged, this, [this] { syncCurrentFromModel(m_model->currentRow()); });
    connect(m_model, &GridModel::columnsChanged, this, &DataGrid::applyColumns);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumns);
    connect(m_model, &GridModel::sortKeysChanged, this, &DataGrid::applySortIndicator);
    applyColumns();
    updateNavigator();
}

DataGrid::~DataGrid() = default;

void DataGrid::setImage(int index, const QIcon &icon)
{
    m_images.insert(index, icon);
    m_view->viewport()->update();
}

void DataGrid::setImages(const QHash<int, QIcon> &images)
{
    m_images = images;
    m_view->viewport()->update();
}

void DataGrid::setRowStyle(const QString &name, const GridRowStyle &style)
{
    m_styles.insert(name, style);
    m_view->viewport()->update();
}

GridRowStyle DataGrid::rowStyle(const QString &name) const
{
    return m_styles.contains(name) ? m_styles.value(name) : builtInStyle(name);
}

bool DataGrid::hasRowStyle(const QString &name) const
{
    return m_styles.contains(name) || builtInStyle(name).background.isValid();
}

GridRowStyle DataGrid::builtInStyle(const QString &name) const
{
    // Read from the palette each time, so a theme changed while the program runs
    // (a dark one) never leaves a light row behind.
    const QPalette pal = palette();
    if (name == QLatin1String("OddRow"))
        return {pal.color(QPalette::Base), {}, false};
    if (name == QLatin1String("EvenRow"))
        return {pal.color(QPalette::AlternateBase), {}, false};
    if (name == QLatin1String("RowGroup"))
        return {pal.color(QPalette::Button), pal.color(QPalette::ButtonText), true};
    if (name == QLatin1String("SelectedRow"))
        return {pal.color(QPalette::Highlight), pal.color(QPalette::HighlightedText), false};
    if (name == QLatin1String("Expired"))
        return {QColor::fromRgb(GridColours::expiredBackground(pal.color(QPalette::Base).rgb() & 0xffffff)), {},
                false};
    return {};
}

GridRowStyle DataGrid::effectiveStyle(const QString &name, int row, bool selected, bool group) const
{
    GridRowStyle look = rowStyle(QStringLiteral("Default"));
    auto overlay = [&look](const GridRowStyle &s) {
        if (s.background.isValid())
            look.background = s.background;
        if (s.foreground.isValid())
            look.foreground = s.foreground;
        look.bold = look.bold || s.bold;
    };
    if (group)
        overlay(rowStyle(QStringLiteral("RowGroup")));
    else
        overlay(rowStyle(row % 2 == 0 ? QStringLiteral("OddRow") : QStringLiteral("EvenRow")));
    if (!name.isEmpty())
        overlay(rowStyle(name));
    if (selected)
        overlay(rowStyle(QStringLiteral("SelectedRow")));
    if (!look.background.isValid())
        look.background = palette().color(QPalette::Base);
    if (!look.foreground.isValid())
        look.foreground = palette().color(QPalette::Text);
    // A background a window fixed, or a theme's odd pair, must not swallow the text.
    look.foreground = QColor::fromRgb(
        GridColours::readableText(look.foreground.rgb() & 0xffffff, look.background.rgb() & 0xffffff));
    return look;
}

void DataGrid::setNavigatorVisible(bool visible)
{
    m_navigator->setVisible(visible);
}

bool DataGrid::isNavigatorVisible() const
{
    return !m_navigator->isHidden();
}

QString DataGrid::navigatorText() const
{
    return m_navigator->text();
}

void DataGrid::scrollToCurrent()
{
    const int row = m_model->currentRow();
    if (row > 0)
        m_view->scrollTo(m_view->rowIndex(row - 1));
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The list is first filled while the window is still small; once it has its
    // real size, show the current row with what surrounds it instead of leaving
    // it stuck at the top edge with its group captions scrolled away.
    QTimer::singleShot(0, this, [this] {
        const int row = m_model->currentRow();
        if (row > 0)
            m_view->scrollTo(m_view->rowIndex(row - 1), QAbstractItemView::PositionAtCenter);
    });
}

void DataGrid::announceCurrentRow()
{
    const int row = m_model->currentRow();
    if (row < 1)
        return;
    const QList<int> columns = GridAccessibleTable::shownColumns(m_view);
    for (int column : columns) {
        QAccessibleEvent changed(m_view, QAccessible::DescriptionChanged);
        changed.setChild(GridAccessibleTable::childIndexOf(m_view, m_model->index(row - 1, column)));
        GridAccessibleTable::send(&changed);
    }
    const int focused = GridAccessibleTable::childIndexOf(m_view, m_view->currentIndex());
    if (focused < 0)
        return;
    QAccessibleEvent renamed(m_view, QAccessible::NameChanged);
    renamed.setChild(focused);
    GridAccessibleTable::send(&renamed);
}

void DataGrid::focusList()
{
    m_view->setFocus(Qt::OtherFocusReason);
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::FocusIn)
            emit gotFocus();
        else if (event->type() == QEvent::FocusOut)
            emit lostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void DataGrid::applyColumns()
{
    m_applyingColumns = true;
    QHeaderView *header = m_view->header();
    for (int c = 1; c <= m_model->columnTotal(); ++c) {
        m_view->setColumnHidden(c - 1, !m_model->isColumnVisible(c));
        if (header->sectionSize(c - 1) != m_model->columnWidth(c) && m_model->isColumnVisible(c))
            header->resizeSection(c - 1, m_model->columnWidth(c));
    }
    m_applyingColumns = false;
    // The view's current cell moves off a column just hidden.
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && m_view->isColumnHidden(current.column()))
        syncCurrentFromModel(m_model->currentRow());
    applySortIndicator();
}

void DataGrid::applySortIndicator()
{
    QHeaderView *header = m_view->header();
    const QList<GridSortKey> keys = m_model->sortKeys();
    header->setSortIndicatorShown(!keys.isEmpty());
    if (!keys.isEmpty())
        header->setSortIndicator(keys.first().column - 1,
                                 keys.first().ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void DataGrid::updateNavigator()
{
    m_navigator->setText(m_model->navigatorText());
}

void DataGrid::syncCurrentFromModel(int row)
{
    m_syncing = true;
    QItemSelectionModel *selection = m_view->selectionModel();
    if (row > 0) {
        const QModelIndex index = m_view->rowIndex(row - 1);
        if (selection->currentIndex() != index)
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        else if (!selection->isRowSelected(row - 1))
            selection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(index);
    } else {
        selection->clear();
    }
    m_syncing = false;
    updateNavigator();
}
