// Life cycle of the main window: creation, load, resize and close, and the layout
// that persists between runs.
#include "mainwindow/MainWindow.h"

#include "mainwindow/DeadlineList.h"
#include "store/DeadlineStore.h"
#include "mainwindow/MainWindowLayout.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/ScreenFit.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/grid/DataGrid.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Register.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QStyle>

#include <functional>

namespace {

// Load and close skip a failing step and go on with the next one.
void attempt(const std::function<void()> &step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_listPresenter(session)
    , m_upcomingPresenter(session)
{
    setObjectName(QStringLiteral("mainWindow"));
    // The display options come first: the widgets read them.
    attempt([this] { m_session.readDisplayOptions(); });
    buildMenus();
    buildToolbars();
    buildPanels();
    buildStatusBar();
    load();
    listenToRegister();
}

MainWindow::~MainWindow()
{
    // The children outlive this part of the object: deleting them moves the focus,
    // and a signal such as the list's lostFocus must not reach a handler of a
    // main window that is no longer one.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

void MainWindow::load()
{
    using namespace MainWindowLayout;
    m_listReady = false;
    m_listPresenter.setWarningHorizon(m_session.warnLimitDate());
    setWindowTitle(Session::AppTitle);
    attempt([this] { m_session.display().counterSeparator = counterSeparatorText(); });
    setMinimumSize(MinWidth, MinHeight);

    m_list->setUpdatesEnabled(false);
    {
        const QSignalBlocker blocker(m_viewCombo);
        for (int row = 0; row < ViewCount; ++row)
            m_viewCombo->addItem(Texts::text(viewCaptionId(row)));
    }
    const MainWindowSettings::StartLayout layout =
        MainWindowSettings::readStartLayout(m_session.settings(), m_session.display().saveLayout);
    attempt([this, &layout] { applyStartLayout(layout); });

    {
        const QSignalBlocker blocker(m_calendar);
        // The first day of the week follows the locale by itself.
        m_calendar->setCurrentDate(Clock::today());
    }
    attempt([this] { setUpList(); });

    attempt([this] {
        readSheet();
        refreshList(m_viewCombo->currentIndex());
    });
    attempt([this] { refreshUpcoming(selectionStart(), selectionEnd()); });
    m_listReady = true;
    attempt([this] { updateStatus(); });
    attempt([this] { updateEmptyListPanel(); });

    GridModel *model = m_list->model();
    if (model->sortKeys().isEmpty())
        model->addSortKey(layout.sortKeyIndex, layout.sortAscending == 1);
    m_list->setCurrentRow(1);
    m_list->setUpdatesEnabled(true);

    // The list was just read with the stored layout's groups; reading it again
    // to show the choice would double the start-up time of a large sheet.
    showLayoutChoice(m_session.display().groupOption);
    for (int i = 0; i < int(m_languageActions.size()); ++i)
        m_languageActions[i]->setChecked(i == m_session.languageChoice());
    attempt([this] { markBusyDays(); });
    setSearchMode(false);
    m_list->focusList();
}

void MainWindow::listenToRegister()
{
    Register &changes = m_session.deadlineRegister();
    // Other sheets' rows are not on show.
    connect(&changes, &Register::deadlinesChanged, this, [this](qint32 sheetId, const QList<qint32> &rowIds) {
        if (sheetId == m_session.activeSheetId())
            refreshSheet(rowIds);
    });
    connect(&changes, &Register::activeSheetChanged, this, [this] { refreshSheet(); });
    // The rows show the clients' and suppliers' names and notes.
    connect(&changes, &Register::counterpartiesChanged, this, [this] {
        readSheet();
        refreshList(currentView());
    });
    // The sheet's name is the title's and the status bar's.
    connect(&changes, &Register::sheetsChanged, this, &MainWindow::updateStatus);
}

void MainWindow::refreshSheet(const QList<qint32> &rowIds)
{
    // The empty-list panel counts the rows just read; the rest stand on their own.
    readSheet(rowIds);
    refreshList(currentView());
    markBusyDays();
    refreshUpcoming(selectionStart(), selectionEnd());
    updateStatus();
    updateEmptyListPanel();
}

void MainWindow::applyStartLayout(const MainWindowSettings::StartLayout &layout)
{
    using namespace MainWindowLayout;
    if (layout.maximized) {
        resize(DesignedWidth, DesignedHeight);
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        // The designed size where the screen has room for it; a stored size is the user's.
        const QSize designed = fitOnScreen(this, QSize(DesignedWidth, DesignedHeight));
        resize(layout.width.value_or(designed.width()), layout.height.value_or(designed.height()));
    }
    // The selection event does nothing yet: the list is not ready.
    m_viewCombo->setCurrentIndex(layout.view);
    m_session.display().groupOption = layout.groupOption;
}

void MainWindow::setUpList()
{
    m_list->setPresenter(&m_listPresenter);
    GridModel *model = m_list->model();
    model->setRecords(SheetDeadlines::records(std::vector<DeadlineRow>()));
    // The two computed columns follow the fields (18 group key, 19 open balance).
    while (model->fieldCount() == ListColumn::Fields && model->columnTotal() < ListColumn::Count)
        model->addComputedColumn();

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

    connect(m_list, &DataGrid::keyDown, this, &MainWindow::listKeyDown, Qt::DirectConnection);
    connect(m_list, &DataGrid::doubleClicked, this, &MainWindow::listDoubleClicked);
    connect(m_list, &DataGrid::currentRowChanged, this, [this] { updateNotesPanel(); });
    connect(m_list, &DataGrid::gotFocus, this, &MainWindow::listFocusIn);
    connect(m_list, &DataGrid::lostFocus, this, &MainWindow::listFocusOut);
    sizeListColumns();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    arrangePanels();
    sizeListColumns();
}

void MainWindow::arrangePanels()
{
    using namespace MainWindowLayout;
    if (isMinimized())
        return;
    m_calendarMonthsAcross = calendarMonthsAcross(width());
    m_calendarMonthsDown = calendarMonthsDown(height());
    // The calendar column is as wide as the calendar; the list takes the rest.
    const QSize calendarSize = m_calendar->sizeForMonths(m_calendarMonthsAcross, m_calendarMonthsDown);
    m_calendar->setFixedSize(calendarSize);
    m_calendarPanel->setFixedWidth(std::max(calendarSize.width(), CalendarColumnMinWidth));
    updateEmptyListPanel();
}

void MainWindow::sizeListColumns()
{
    if (!m_list)
        return;
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    storeExitSettings();
    QMainWindow::closeEvent(event);
}

void MainWindow::storeExitSettings()
{
    if (m_closed)
        return;
    m_closed = true;
    MainWindowSettings::ExitState state;
    state.view = m_viewCombo->currentIndex();
    state.groupOption = m_session.display().groupOption;
    const QList<GridSortKey> keys = m_list->model()->sortKeys();
    if (!keys.isEmpty()) {
        state.sortKeyIndex = keys.first().column;
        state.sortAscending = keys.first().ascending;
    }
    if (isMinimized())
        state.windowState = MainWindowSettings::Minimized;
    else if (isMaximized())
        state.windowState = MainWindowSettings::Maximized;
    else
        state.windowState = MainWindowSettings::Normal;
    state.width = width();
    state.height = height();
    state.languageChoice = m_session.languageChoice();
    bool kept = true;
    attempt([&] {
        kept = MainWindowSettings::writeExitSettings(m_session.settings(), m_session.display().saveLayout, state);
    });
    // Said once, instead of losing the layout without a word.
    if (!kept)
        Prompt::message(Texts::text(2711).arg(QDir::toNativeSeparators(m_session.settings().fileName())),
                        Session::AppTitle, Prompt::Icon::Warning);
}

void MainWindow::setStatusText(const QString &text)
{
    m_statusHelp->setText(text);
}
