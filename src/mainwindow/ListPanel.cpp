#include "mainwindow/ListPanel.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/MainWindowLayout.h"
#include "platform/Clock.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"
#include "startup/DbErrorPrompt.h"
#include "store/DeadlineStore.h"
#include "store/Register.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

ListPanel::ListPanel(Session &session, QWidget *header, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("listPanel"));
    auto *listColumn = new QVBoxLayout(this);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(6);

    auto *headerRow = new QHBoxLayout;
    headerRow->setSpacing(6);
    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    m_titleLabel->setFont(titleFont);
    headerRow->addWidget(m_titleLabel, 1);
    if (header)
        headerRow->addWidget(header);
    listColumn->addLayout(headerRow);

    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->installEventFilter(this);
    // The table itself is what a screen reader meets, not its frame.
    m_list->view()->setAccessibleName(Texts::text(2787));   // "Deadlines"
    listColumn->addWidget(m_list, 1);

    m_emptyListPanel = new QFrame(this);
    m_emptyListPanel->setObjectName(QStringLiteral("emptyListPanel"));
    m_emptyListPanel->setFrameShape(QFrame::StyledPanel);
    m_emptyListPanel->setCursor(Qt::PointingHandCursor);
    m_emptyListPanel->setAutoFillBackground(true);
    auto *startLayout = new QVBoxLayout(m_emptyListPanel);
    startLayout->setContentsMargins(36, 24, 36, 24);
    m_emptyListLabel = new QLabel(Session::AppTitle.toUpper(), m_emptyListPanel);
    m_emptyListLabel->setObjectName(QStringLiteral("emptyListLabel"));
    m_emptyListLabel->setAlignment(Qt::AlignCenter);
    QFont startFont = m_emptyListLabel->font();
    startFont.setBold(true);
    startFont.setPointSizeF(startFont.pointSizeF() * 2.6);
    startFont.setLetterSpacing(QFont::PercentageSpacing, 115);
    m_emptyListLabel->setFont(startFont);
    m_emptyListLabel->setForegroundRole(QPalette::Mid);
    startLayout->addWidget(m_emptyListLabel);
    m_emptyListPanel->installEventFilter(this);
    m_emptyListLabel->installEventFilter(this);
    m_emptyListPanel->adjustSize();
    m_emptyListPanel->hide();

    // The view box sits in the window's toolbar, ahead of the list on Tab.
    m_viewCombo = new QComboBox;
    m_viewCombo->setObjectName(QStringLiteral("viewCombo"));
    m_viewCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_viewCombo->setMinimumContentsLength(24);
    m_viewCombo->installEventFilter(this);
    m_viewComboWatched = m_viewCombo;
    for (int row = 0; row < ViewCount; ++row)
        m_viewCombo->addItem(Texts::text(viewCaptionId(row)));
    connect(m_viewCombo, &QComboBox::currentIndexChanged, this, &ListPanel::chooseView);

    Register &changes = m_session.deadlineRegister();
    // Other sheets' rows are not on show.
    connect(&changes, &Register::deadlinesChanged, this, [this](qint32 sheetId, const QList<qint32> &rowIds) {
        if (sheetId != m_session.activeSheetId())
            return;
        readSheet(rowIds);
        refreshList(currentView());
        updateEmptyListPanel();
    });
    connect(&changes, &Register::activeSheetChanged, this, [this] {
        m_onlyCounterparty.reset();
        readSheet();
        refreshList(currentView());
        updateEmptyListPanel();
        showTitle();
    });
    // The rows show the clients' and suppliers' names and notes.
    connect(&changes, &Register::counterpartiesChanged, this, [this] {
        readSheet();
        refreshList(currentView());
    });
    connect(&changes, &Register::sheetsChanged, this, &ListPanel::showTitle);
}

ListPanel::~ListPanel()
{
    // The children outlive this part of the object: deleting them moves the focus,
    // and a signal such as the list's lostFocus must not reach a handler of a
    // panel that is no longer one.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
    if (m_viewCombo && !m_viewCombo->parent())
        delete m_viewCombo;
}

int ListPanel::currentView() const
{
    return m_viewCombo->currentIndex();
}

void ListPanel::load(int view, const QDate &first, const QDate &last, int sortKeyIndex, bool sortAscending)
{
    m_ready = false;
    m_first = first;
    m_last = last;
    m_presenter.setWarningHorizon(m_session.warnLimitDate());
    m_list->setUpdatesEnabled(false);
    // The selection event does nothing yet: the list is not ready.
    m_viewCombo->setCurrentIndex(view);
    setUpList();
    // The stored sort comes before the rows, which are then ordered once.
    GridModel *model = m_list->model();
    if (model->sortKeys().isEmpty())
        model->addSortKey(sortKeyIndex, sortAscending);
    try {
        readSheet();
        refreshList(currentView());
    } catch (...) {
        // Loading goes on with an empty list.
    }
    m_ready = true;
    showTitle();
    updateEmptyListPanel();

    m_list->setCurrentRow(1);
    m_list->setUpdatesEnabled(true);
}

void ListPanel::setUpList()
{
    m_list->setPresenter(&m_presenter);
    GridModel *model = m_list->model();
    model->setRecords(SheetDeadlines::records({}));
    // The two computed columns follow the fields (18 group key, 19 open balance).
    if (model->fieldCount() == ListColumn::Fields && model->columnTotal() < ListColumn::Count) {
        model->addComputedColumn(QString(), GridCells::Kind::Integer);
        model->addComputedColumn(QString(), GridCells::Kind::Money);
    }

    for (int column = 1; column <= model->columnTotal(); ++column) {
        const int id = ListColumn::captionId(column);
        model->setColumnCaption(column, id != 0 && column != ListColumn::TrType ? Texts::text(id) : QString());
        model->setColumnVisible(column, column == ListColumn::TrType || column == ListColumn::TrDate
                                            || column == ListColumn::TrDescription || column == ListColumn::TrValue
                                            || column == ListColumn::AcName);
    }
    model->setColumnWidth(ListColumn::TrType, MainWindowLayout::TypeColumnWidth);
    model->setColumnFormat(ListColumn::TrDate, QStringLiteral("Short Date"));
    model->setColumnFormat(ListColumn::TrValue, QStringLiteral("Currency"));
    model->setColumnEmptyText(ListColumn::AcName, Texts::text(1054));   // "(none)"
    m_list->setNavigatorTemplate(Texts::text(1052));                     // "Deadline|of"

    for (int i = 1; i <= IconCount; ++i)
        m_list->setImage(i, QIcon(iconResourcePath(i)));

    connect(m_list, &DataGrid::keyDown, this, &ListPanel::listKeyDown, Qt::DirectConnection);
    connect(m_list, &DataGrid::doubleClicked, this, &ListPanel::listDoubleClicked);
    connect(m_list, &DataGrid::currentRowChanged, this, [this] { updateNotes(); });
    connect(m_list, &DataGrid::gotFocus, this, [this] {
        emit helpShown(Texts::text(1056));
        emit listFocused();
    });
    connect(m_list, &DataGrid::lostFocus, this, [this] { emit helpShown(QString()); });
    sizeColumns();
}

void ListPanel::showTitle()
{
    const QString sheet = m_session.activeSheetName();
    m_titleLabel->setText(m_onlyCounterparty ? sheet + QStringLiteral(" \u2013 ") + *m_onlyCounterparty : sheet);
}

void ListPanel::showOnlyCounterparty(int view, const QString &name)
{
    m_viewCombo->setCurrentIndex(view);
    m_onlyCounterparty = name;
    refreshList(currentView());
    showTitle();
    updateEmptyListPanel();
}

void ListPanel::readSheet(const QList<qint32> &rowIds)
{
    const qint32 sheetId = m_session.activeSheetId();
    for (;;) {
        try {
            DeadlineStore store(m_session.connectionString());
            // Only the rows a write names, when the sheet's rows are already held.
            if (!rowIds.isEmpty() && m_sheetRows.sheetId() == sheetId)
                m_freshRows = m_sheetRows.reread(store, rowIds);
            else
                m_freshSheet = m_sheetRows.load(store, sheetId);
            return;
        } catch (const DbError &error) {
            // Asked only once the window is up; during its load the list stays empty.
            if (m_ready && reportError(error))
                continue;
            if (m_sheetRows.sheetId() != sheetId) {
                m_sheetRows.clear();
                m_freshSheet = SheetDeadlines::records({});
            }
            return;
        }
    }
}

void ListPanel::refreshList(int view)
{
    m_presenter.setWarningHorizon(m_session.warnLimitDate());
    m_presenter.setViewCaption(m_viewCombo->currentText());
    // The filter comes from the combo box: every caller passes its index. Should
    // it sit on the calendar row while a caller asks for a fixed view, that view
    // decides.
    int viewRow = m_viewCombo->currentIndex();
    if (view < CalendarView && (viewRow < 0 || viewRow >= CalendarView))
        viewRow = std::max(view, 0);
    const QDate first = m_first;
    const QDate last = m_last;
    GridModel::Layout layout;
    layout.shows = [viewRow, first, last, only = m_onlyCounterparty](const GridRow &row) {
        using namespace ListColumn;
        // A row of Nulls held the place of a deadline that left the sheet.
        return !row.isNull(TrRowId)
            && viewShows(viewRow, row.number(TrDone).value_or(0) != 0, int(row.number(TrType).value_or(0)),
                         row.date(TrDate), first, last)
            && (!only || row.field(AcName).toString() == *only);
    };
    // The groups of the layout are set with the rows in one pass, so the rows are
    // never ordered under the previous layout's groups; the current deadline is
    // found again by its row id, not by its place in the list.
    layout.groups = {{ListColumn::TrDbId, true}};
    // Rows come in row-id order; deadlines the sort leaves equal list by date.
    layout.ties = {{ListColumn::TrDate, true}};
    const int groupOption = m_session.display().groupOption;
    if (groupOption == 1 || groupOption == 2)
        layout.groups.append({ListColumn::GroupKey, true});
    else if (groupOption == 3)
        layout.groups.append({ListColumn::AcName, true});
    // The group key column depends on the layout and the day.
    const std::pair<int, QDate> computedFor{groupOption, Clock::today()};
    const bool recompute = computedFor != m_computedFor;
    m_computedFor = computedFor;

    // Painting stays off while the rows and groups change, as a hidden grid would.
    const bool painting = m_list->updatesEnabled();
    m_list->setUpdatesEnabled(false);
    GridModel *model = m_list->model();
    model->setKeyColumn(ListColumn::TrRowId);
    if (std::optional<GridRecords> sheet = std::exchange(m_freshSheet, std::nullopt)) {
        model->setRecords(std::move(*sheet), layout);
    } else if (std::optional<SheetDeadlines::Changes> changes = std::exchange(m_freshRows, std::nullopt)) {
        model->changeRows(changes->bookmarks, std::move(changes->rows), layout);
        if (recompute)
            model->setLayout(layout, true);
    } else {
        model->setLayout(layout, recompute);
    }
    updateNotes();
    m_list->setUpdatesEnabled(painting);
}

void ListPanel::showDays(const QDate &first, const QDate &last)
{
    m_first = first;
    m_last = last;
    if (currentView() == CalendarView)
        refreshList(CalendarView);
    updateEmptyListPanel();
}

void ListPanel::updateEmptyListPanel()
{
    const bool empty = m_list->rowCount() == 0;
    if (empty) {
        m_emptyListPanel->adjustSize();
        const QRect grid = m_list->geometry();
        m_emptyListPanel->move(grid.x() + (grid.width() - m_emptyListPanel->width()) / 2,
                               grid.y() + (grid.height() - m_emptyListPanel->height()) / 2);
        m_emptyListPanel->raise();
    }
    m_emptyListPanel->setVisible(empty);
}

void ListPanel::sizeColumns()
{
    GridModel *model = m_list->model();
    if (model->columnTotal() < ListColumn::AcName)
        return;
    const auto widths = MainWindowLayout::listColumnWidths(
        m_list->width(), style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), model->columnTotal());
    model->setColumnWidth(ListColumn::TrDate, widths.date);
    model->setColumnWidth(ListColumn::TrValue, widths.amount);
    if (widths.description)
        model->setColumnWidth(ListColumn::TrDescription, *widths.description);
    if (widths.counterparty)
        model->setColumnWidth(ListColumn::AcName, *widths.counterparty);
}

void ListPanel::chooseLayout(int layout)
{
    if (layout < 0 || layout > 3)
        return;
    emit layoutChosen(layout);
    m_session.display().groupOption = layout;
    refreshList(currentView());
}

bool ListPanel::handleLayoutKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier) || key < Qt::Key_1 || key > Qt::Key_4)
        return false;
    chooseLayout(key - Qt::Key_1);
    return true;
}

void ListPanel::expandAll()
{
    m_list->model()->expandAll();
}

void ListPanel::collapseAll()
{
    GridModel *model = m_list->model();
    model->collapseAll();
    // The sheet's group row opens again so the period, month or counterparty
    // groups stay listed.
    if (m_session.display().groupOption >= 1 && model->rowCount() >= 1)
        model->setExpanded(1, true);
}

void ListPanel::chooseView(int index)
{
    if (!m_ready)
        return;
    if (std::exchange(m_onlyCounterparty, std::nullopt))
        showTitle();
    refreshList(index);
    m_list->focusList();
    updateEmptyListPanel();
}

bool ListPanel::isDeadlineRow(int row) const
{
    return row >= 1 && row <= m_list->rowCount() && !m_list->isGroupRow(row);
}

bool ListPanel::reportError(const DbError &error)
{
    return DbErrorPrompt::tell(error, m_session.connectionString());
}

void ListPanel::findDeadline(qint32 rowId)
{
    m_list->model()->find(ListColumn::TrRowId, rowId, GridModel::FindMode::Equal, 0, 1);
    m_list->scrollToCurrent();
}

void ListPanel::goToFirstRow()
{
    m_list->setCurrentRow(1);
    m_list->scrollToCurrent();
}

void ListPanel::goToLastRow()
{
    m_list->setCurrentRow(m_list->rowCount());
    m_list->scrollToCurrent();
}

void ListPanel::updateNotes()
{
    const int row = m_list->currentRow();
    // A group row or no row at all leaves the notes as they were.
    if (!isDeadlineRow(row))
        return;
    const bool hasCounterparty = !m_list->value(row, ListColumn::AcName).toString().isEmpty();
    emit currentNotesChanged(m_list->value(row, ListColumn::TrNotes).toString(),
                             hasCounterparty ? m_list->value(row, ListColumn::AcNotes).toString() : QString());
}

void ListPanel::listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed)
{
    const int row = m_list->currentRow();
    if (row < 1)
        return;
    if (handleLayoutKey(key, modifiers)) {
        *consumed = true;
        return;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return;
    switch (key) {
    case Qt::Key_Space:
        if (isDeadlineRow(row))
            emit toggleAsked();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        *consumed = true;
        if (isDeadlineRow(row))
            emit editAsked();
        break;
    case Qt::Key_Delete:
        *consumed = true;
        if (isDeadlineRow(row))
            emit deleteAsked(row);
        break;
    default:
        break;
    }
}

void ListPanel::listDoubleClicked(int row)
{
    if (m_list->rowCount() == 0) {
        emit newDeadlineAsked();
        return;
    }
    if (row >= 1 && isDeadlineRow(m_list->currentRow()))
        emit editAsked();
}

bool ListPanel::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_viewComboWatched) {
        if (type == QEvent::FocusIn)
            emit helpShown(Texts::text(980));
        else if (type == QEvent::FocusOut)
            emit helpShown(QString());
        else if (type == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (handleLayoutKey(key->key(), key->modifiers()))
                return true;
        }
    } else if (watched == m_emptyListPanel || watched == m_emptyListLabel) {
        if (type == QEvent::MouseButtonRelease) {
            emit newDeadlineAsked();
            return true;
        }
    } else if (watched == m_list) {
        if (type == QEvent::Resize) {
            sizeColumns();
            if (!m_emptyListPanel->isHidden())
                updateEmptyListPanel();
        }
    }
    return QWidget::eventFilter(watched, event);
}
