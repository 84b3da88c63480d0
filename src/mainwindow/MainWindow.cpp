// The main window: its parts put together, the menus, toolbars and status bar,
// the commands only they reach, and the layout that persists between runs.
#include "mainwindow/MainWindow.h"

#include "about/AboutDialog.h"
#include "about/HelpWindow.h"
#include "alerts/DueDeadlines.h"
#include "alerts/PreferencesDialog.h"
#include "counterparties/CounterpartyList.h"
#include "deadlines/PurgeDialog.h"
#include "import/ImportDialog.h"
#include "mainwindow/CalendarColumn.h"
#include "mainwindow/DeadlineCommands.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListExports.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/ListedDeadlines.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/NotesPanel.h"
#include "mainwindow/RegisterCopyCommands.h"
#include "mainwindow/SearchBar.h"
#include "mainwindow/ToolIcons.h"
#include "mainwindow/UndoHistory.h"
#include "mainwindow/UpcomingPanel.h"
#include "platform/Clock.h"
#include "platform/DesktopUrls.h"
#include "platform/Prompts.h"
#include "platform/ScreenFit.h"
#include "platform/grid/DataGrid.h"
#include "reports/ReportWindow.h"
#include "reports/AgingWindow.h"
#include "mainwindow/CounterpartyFocus.h"
#include "sheets/SheetsDialog.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/LanguageMenu.h"
#include "startup/RestoreDialog.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"
#include "store/Register.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

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

// A menu entry with the text of textId, named for tests; the first key is the one
// the menu shows.
QAction *addCommand(QMenu *menu, const char *name, int textId, const QList<QKeySequence> &keys = {})
{
    QAction *action = menu->addAction(Texts::text(textId));
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    return action;
}

QMenu *addMenu(QMenuBar *bar, const char *name, int textId)
{
    QMenu *menu = bar->addMenu(Texts::text(textId));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("mainWindow"));
    // The display options come first: the widgets read them.
    attempt([this] { m_session.readDisplayOptions(); });
    // The parts are built apart and placed after the toolbars, which keeps the
    // view box ahead of them on Tab.
    QWidget *central = buildParts();
    buildMenus();
    buildToolbars();
    setCentralWidget(central);
    buildStatusBar();
    wireParts();
    load();
}

MainWindow::~MainWindow()
{
    // The children outlive this part of the object: deleting them moves the focus,
    // and a signal such as the list's help text must not reach a handler of a
    // main window that is no longer one.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

QWidget *MainWindow::buildParts()
{
    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("centralPanel"));
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 4);
    outer->setSpacing(8);

    // The list column: title and search bar over the list.
    m_searchBar = new SearchBar;
    m_listPanel = new ListPanel(m_session, m_searchBar, central);
    m_searchBar->searchIn(m_listPanel->list());
    m_commands = new DeadlineCommands(m_session, *m_listPanel, this);
    outer->addWidget(m_listPanel, 1);

    // The calendar column: calendar, upcoming deadlines, notes of the current row.
    m_calendarColumn = new CalendarColumn(m_session, central);
    m_upcomingPanel = new UpcomingPanel(m_session, m_calendarColumn);
    m_calendarColumn->addPart(m_upcomingPanel, 3);
    m_notesPanel = new NotesPanel(m_calendarColumn);
    m_calendarColumn->addPart(m_notesPanel, 2);
    outer->addWidget(m_calendarColumn, 0);
    return central;
}

void MainWindow::wireParts()
{
    connect(m_listPanel, &ListPanel::newDeadlineAsked, m_commands, &DeadlineCommands::openNewDeadline);
    connect(m_listPanel, &ListPanel::editAsked, m_commands, &DeadlineCommands::editDeadline);
    connect(m_listPanel, &ListPanel::toggleAsked, m_commands, &DeadlineCommands::toggleDone);
    connect(m_listPanel, &ListPanel::deleteAsked, m_commands, &DeadlineCommands::deleteDeadline);
    connect(m_listPanel, &ListPanel::layoutChosen, this, &MainWindow::showLayoutChoice);
    connect(m_listPanel, &ListPanel::currentNotesChanged, m_notesPanel, &NotesPanel::showNotes);
    connect(m_listPanel, &ListPanel::helpShown, this, &MainWindow::setStatusText);
    // Back on the list, the search is over.
    connect(m_listPanel, &ListPanel::listFocused, m_searchBar, &SearchBar::reset);
    connect(m_searchBar, &SearchBar::findEnabledChanged, this, &MainWindow::showFindsEnabled);
    connect(m_calendarColumn, &CalendarColumn::helpShown, this, &MainWindow::setStatusText);
    connect(m_calendarColumn, &CalendarColumn::keyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *consumed) {
                if (m_listPanel->handleLayoutKey(key, modifiers))
                    *consumed = true;
            }, Qt::DirectConnection);
    connect(m_calendarColumn, &CalendarColumn::selectionChanged, this, [this](const QDate &first, const QDate &last) {
        m_upcomingPanel->showDays(first, last);
        m_listPanel->showDays(first, last);
    });
    connect(m_upcomingPanel, &UpcomingPanel::deadlineChosen, this, [this](qint32 rowId) {
        if (rowId != 0)
            m_listPanel->findDeadline(rowId);
        m_listPanel->list()->focusList();
    });

    Register &changes = m_session.deadlineRegister();
    connect(&changes, &Register::deadlinesChanged, this, [this](qint32 sheetId) {
        if (sheetId == m_session.activeSheetId())
            updateStatus();
    });
    connect(&changes, &Register::activeSheetChanged, this, &MainWindow::updateStatus);
    // The sheet's name is the status bar's.
    connect(&changes, &Register::sheetsChanged, this, &MainWindow::updateStatus);
}

void MainWindow::load()
{
    setWindowTitle(Session::AppTitle);
    attempt([this] { m_session.display().counterSeparator = counterSeparatorText(); });
    setMinimumSize(MainWindowLayout::MinWidth, MainWindowLayout::MinHeight);

    const MainWindowSettings::StartLayout layout =
        MainWindowSettings::readStartLayout(m_session.settings(), m_session.display().saveLayout);
    attempt([this, &layout] { applyStartLayout(layout); });
    m_calendarColumn->showToday();
    const QDate first = m_calendarColumn->selectionStart();
    const QDate last = m_calendarColumn->selectionEnd();
    m_listPanel->load(layout.view, first, last, layout.sortKeyIndex, layout.sortAscending == 1);
    attempt([this, first, last] { m_upcomingPanel->showDays(first, last); });
    attempt([this] { updateStatus(); });

    // The list was just read with the stored layout's groups; reading it again
    // to show the choice would double the start-up time of a large sheet.
    showLayoutChoice(m_session.display().groupOption);
    for (int i = 0; i < int(m_languageActions.size()); ++i)
        m_languageActions[i]->setChecked(i == m_session.languageChoice());
    attempt([this] { m_calendarColumn->markBusyDays(); });
    m_searchBar->setSearchMode(false);
    m_listPanel->list()->focusList();
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
    m_session.display().groupOption = layout.groupOption;
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    arrangePanels();
    m_listPanel->sizeColumns();
}

void MainWindow::arrangePanels()
{
    if (isMinimized())
        return;
    // The calendar column is as wide as the calendar; the list takes the rest.
    m_calendarColumn->arrange(MainWindowLayout::calendarMonthsAcross(width()),
                              MainWindowLayout::calendarMonthsDown(height()));
    m_listPanel->updateEmptyListPanel();
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
    state.view = m_listPanel->currentView();
    state.groupOption = m_session.display().groupOption;
    const QList<GridSortKey> keys = m_listPanel->list()->model()->sortKeys();
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

void MainWindow::buildMenus()
{
    ListPanel *list = m_listPanel;
    DeadlineCommands *commands = m_commands;
    QMenu *file = addMenu(menuBar(), "fileMenu", 201);
    connect(addCommand(file, "sheetsAction", 203, {Qt::Key_F12}), &QAction::triggered, this, &MainWindow::showSheets);
    file->addSeparator();
    connect(addCommand(file, "printAction", 2791, {Qt::SHIFT | Qt::CTRL | Qt::Key_F12}), &QAction::triggered, this,
            &MainWindow::openReport);
    connect(addCommand(file, "exportAction", 207), &QAction::triggered, this, &MainWindow::exportToText);
    connect(addCommand(file, "exportCalendarAction", 2501), &QAction::triggered, this, &MainWindow::exportToCalendar);
    connect(addCommand(file, "restoreBackupAction", 2833), &QAction::triggered, this, [this] {
        RestoreDialog dialog(m_session, this);
        dialog.exec();
    });
    addRegisterCopyCommands(file, m_session, this);
    connect(addCommand(file, "importAction", 2900), &QAction::triggered, this, [this] {
        ImportDialog dialog(m_session, this);
        if (dialog.chooseFile())
            dialog.exec();
    });
    file->addSeparator();
    connect(addCommand(file, "exitAction", 209, {Qt::CTRL | Qt::Key_Q}), &QAction::triggered, this, &QWidget::close);

    // Edit: Undo and Redo of every change recorded since the program started.
    m_undoHistory = new UndoHistory(m_session, this);
    QMenu *edit = addMenu(menuBar(), "editMenu", 2870);
    edit->addAction(m_undoHistory->undoAction());
    edit->addAction(m_undoHistory->redoAction());

    QMenu *record = addMenu(menuBar(), "recordMenu", 301);
    connect(addCommand(record, "newAction", 303, {Qt::Key_F5, Qt::CTRL | Qt::Key_N}), &QAction::triggered, commands,
            [list, commands] { commands->newDeadline(list->list()->currentRow()); });
    connect(addCommand(record, "editAction", 304), &QAction::triggered, commands, &DeadlineCommands::editDeadline);
    // Space belongs to the list; the entry only shows it after a tab.
    QAction *toggleDone = addCommand(record, "toggleDoneAction", 305);
    toggleDone->setText(toggleDone->text() + QLatin1Char('\t') + Texts::text(608));
    connect(toggleDone, &QAction::triggered, commands, &DeadlineCommands::toggleDone);
    connect(addCommand(record, "deleteAction", 306, {Qt::Key_Delete}), &QAction::triggered, commands,
            [list, commands] { commands->deleteDeadline(list->list()->currentRow()); });
    record->addSeparator();
    connect(addCommand(record, "findAction", 307, {Qt::CTRL | Qt::Key_F}), &QAction::triggered, this,
            [this] { m_searchBar->focusBox(Qt::ShortcutFocusReason); });
    record->addSeparator();
    m_findNextAction = addCommand(record, "findNextAction", 620, {Qt::Key_F3});
    connect(m_findNextAction, &QAction::triggered, this, [this] { m_searchBar->findNext(m_searchBar->text(), 1); });
    m_findPreviousAction = addCommand(record, "findPreviousAction", 621);
    connect(m_findPreviousAction, &QAction::triggered, this,
            [this] { m_searchBar->findPrevious(m_searchBar->text(), 1); });
    record->addSeparator();
    connect(addCommand(record, "firstRowAction", 308), &QAction::triggered, list, &ListPanel::goToFirstRow);
    connect(addCommand(record, "lastRowAction", 309), &QAction::triggered, list, &ListPanel::goToLastRow);

    QMenu *view = addMenu(menuBar(), "viewMenu", 401);
    connect(addCommand(view, "counterpartiesAction", 403, {Qt::CTRL | Qt::Key_F5}), &QAction::triggered, this,
            &MainWindow::showCounterparties);
    // The aging per client/supplier; a row of it brings that one's deadlines into the list.
    connect(addCommand(view, "agingAction", 2970), &QAction::triggered, this, [this] {
        showAgingWindow(m_session, this, [this](int type, qint32, const QString &name) {
            showCounterpartyInList(*m_listPanel, type, name);
            raise();
            activateWindow();
        });
    });
    view->addSeparator();
    QMenu *layouts = view->addMenu(Texts::text(410));
    layouts->setObjectName(QStringLiteral("layoutMenu"));
    // Ctrl+1 to Ctrl+4 belong to the list, the calendar and the view box; the
    // entries only show them.
    for (int layout = 0; layout < int(m_layoutActions.size()); ++layout) {
        QAction *action = layouts->addAction(Texts::text(412 + layout) + QStringLiteral("\tCtrl+")
                                             + QString::number(layout + 1));
        action->setObjectName(QStringLiteral("layoutAction%1").arg(layout));
        action->setCheckable(true);
        connect(action, &QAction::triggered, list, [list, layout] { list->chooseLayout(layout); });
        m_layoutActions[layout] = action;
    }
    view->addSeparator();
    connect(addCommand(view, "expandAction", 311), &QAction::triggered, list, &ListPanel::expandAll);
    connect(addCommand(view, "collapseAction", 313), &QAction::triggered, list, &ListPanel::collapseAll);
    view->addSeparator();
    connect(addCommand(view, "preferencesAction", 419), &QAction::triggered, this, [this] { openPreferences(true); });

    QMenu *tools = addMenu(menuBar(), "toolsMenu", 501);
    connect(addCommand(tools, "purgeAction", 503), &QAction::triggered, this, &MainWindow::purgeClosedDeadlines);
    tools->addSeparator();
    QMenu *languages = tools->addMenu(Texts::text(504));
    languages->setObjectName(QStringLiteral("languageMenu"));
    // The entry's index is the stored choice. The languages carry their own
    // names and mnemonics in every language; only "Automatic" is translated.
    const QStringList names = {Texts::text(505), QString(), QStringLiteral("&Deutch"), QStringLiteral("&English"),
                               QStringLiteral("E&spañol"), QStringLiteral("&Français"), QStringLiteral("&Italiano")};
    for (int index = 0; index < int(m_languageActions.size()); ++index) {
        QAction *action = index == LanguageMenu::SeparatorIndex ? languages->addSeparator()
                                                                 : languages->addAction(names.at(index));
        action->setObjectName(QStringLiteral("languageAction%1").arg(index));
        if (index != LanguageMenu::SeparatorIndex) {
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, index] { chooseLanguage(index); });
        }
        m_languageActions[index] = action;
    }
    tools->addSeparator();
    connect(addCommand(tools, "changeDatabaseAction", 506), &QAction::triggered, this, &MainWindow::changeDatabase);

    QMenu *help = addMenu(menuBar(), "helpMenu", 601);
    connect(addCommand(help, "helpAction", 603, {Qt::Key_F1}), &QAction::triggered, this, &MainWindow::openHelp);
    help->addSeparator();
    connect(addCommand(help, "aboutAction", 607), &QAction::triggered, this, &MainWindow::openAbout);
}

void MainWindow::buildToolbars()
{
    ListPanel *list = m_listPanel;
    DeadlineCommands *records = m_commands;
    const QSize iconSize(24, 24);
    QToolBar *commands = addToolBar(Texts::text(2785));   // "Commands"
    commands->setAccessibleName(commands->windowTitle());
    commands->setObjectName(QStringLiteral("commandToolBar"));
    commands->setIconSize(iconSize);
    commands->setMovable(false);
    connect(addToolButton(commands, "newButton", ToolIcon::New, 901), &QAction::triggered, records,
            [list, records] { records->newDeadline(list->list()->currentRow()); });
    connect(addToolButton(commands, "editButton", ToolIcon::Edit, 902), &QAction::triggered, records,
            &DeadlineCommands::editDeadline);
    connect(addToolButton(commands, "toggleDoneButton", ToolIcon::ToggleDone, 903), &QAction::triggered, records,
            &DeadlineCommands::toggleDone);
    connect(addToolButton(commands, "deleteButton", ToolIcon::Delete, 904), &QAction::triggered, records,
            [list, records] { records->deleteDeadline(list->list()->currentRow()); });
    commands->addSeparator();
    connect(addToolButton(commands, "counterpartiesButton", ToolIcon::Counterparties, 905), &QAction::triggered,
            this, &MainWindow::showCounterparties);
    commands->addSeparator();
    connect(addToolButton(commands, "printButton", ToolIcon::Print, 907), &QAction::triggered, this,
            &MainWindow::openReport);
    connect(addToolButton(commands, "exportButton", ToolIcon::Export, 909), &QAction::triggered, this,
            &MainWindow::exportToText);
    commands->addSeparator();
    // From the toolbar the new preferences show at the list's next refresh.
    connect(addToolButton(commands, "preferencesButton", ToolIcon::Preferences, 911), &QAction::triggered, this,
            [this] { openPreferences(false); });

    QToolBar *layouts = addToolBar(Texts::text(2786));    // "View and layout"
    layouts->setAccessibleName(layouts->windowTitle());
    layouts->setObjectName(QStringLiteral("layoutToolBar"));
    layouts->setIconSize(iconSize);
    layouts->setMovable(false);
    auto *showLabel = new QLabel(Texts::text(981), layouts);   // "Show:"
    showLabel->setObjectName(QStringLiteral("showLabel"));
    showLabel->setContentsMargins(8, 0, 4, 0);
    layouts->addWidget(showLabel);
    layouts->addWidget(list->viewCombo());
    // Read out as the box's name.
    showLabel->setBuddy(list->viewCombo());
    layouts->addSeparator();
    connect(addToolButton(layouts, "expandButton", ToolIcon::ExpandAll, 913), &QAction::triggered, list,
            &ListPanel::expandAll);
    connect(addToolButton(layouts, "collapseButton", ToolIcon::CollapseAll, 915), &QAction::triggered, list,
            &ListPanel::collapseAll);
    layouts->addSeparator();
    const ToolIcon icons[] = {ToolIcon::PlainLayout, ToolIcon::DateLayout, ToolIcon::MonthLayout,
                              ToolIcon::CounterpartyLayout};
    for (int layout = 0; layout < int(m_layoutButtons.size()); ++layout) {
        QAction *button = addToolButton(layouts, "", icons[layout], 412 + layout);
        button->setObjectName(QStringLiteral("layoutButton%1").arg(layout));
        button->setCheckable(true);
        connect(button, &QAction::triggered, list, [list, layout] { list->chooseLayout(layout); });
        m_layoutButtons[layout] = button;
    }
}

void MainWindow::buildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_statusHelp = new QLabel(statusBar());
    m_statusHelp->setObjectName(QStringLiteral("statusHelp"));
    m_statusHelp->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(m_statusHelp, 1);
    m_statusSheet = new QLabel(statusBar());
    m_statusSheet->setObjectName(QStringLiteral("statusSheet"));
    m_statusSheet->setContentsMargins(4, 0, 4, 0);
    statusBar()->addPermanentWidget(m_statusSheet);
    m_statusDue = new QLabel(statusBar());
    m_statusDue->setObjectName(QStringLiteral("statusDue"));
    m_statusDue->setContentsMargins(4, 0, 6, 0);
    m_statusDue->setFixedWidth(16 + 10);
    statusBar()->addPermanentWidget(m_statusDue);
}

void MainWindow::setStatusText(const QString &text)
{
    m_statusHelp->setText(text);
}

void MainWindow::updateStatus()
{
    m_statusSheet->setText(m_session.activeSheetName());
    const int warnDays = m_session.display().warnDays;
    QString state;
    if (warnDays != DueDeadlines::NoWarning) {
        try {
            state = DueDeadlines::hasDueDeadlines(m_session.connectionString(), m_session.activeSheetId(), warnDays,
                                                  Clock::today())
                        ? QStringLiteral("due")
                        : QStringLiteral("none");
        } catch (const DbError &) {
        }
    }
    m_statusDue->setProperty("dueState", state);
    if (state.isEmpty()) {
        m_statusDue->clear();
        m_statusDue->setToolTip(QString());
        return;
    }
    const bool due = state == QLatin1String("due");
    m_statusDue->setPixmap(QIcon(due ? QStringLiteral(":/icons/due_pending.svg") : QStringLiteral(":/icons/due_none.svg"))
                               .pixmap(16, 16, QIcon::Normal));
    m_statusDue->setToolTip(Texts::text(due ? 2300 : 2301));
    m_statusDue->setAccessibleName(m_statusDue->toolTip());
}

void MainWindow::showLayoutChoice(int layout)
{
    for (int i = 0; i < int(m_layoutActions.size()); ++i) {
        m_layoutActions[i]->setChecked(i == layout);
        m_layoutButtons[i]->setChecked(i == layout);
    }
}

void MainWindow::showFindsEnabled(bool enabled)
{
    m_findNextAction->setEnabled(enabled);
    m_findPreviousAction->setEnabled(enabled);
}

void MainWindow::chooseLanguage(int index)
{
    LanguageMenu::choose(index, m_session);
    // A click toggles the entry's own tick; the marks always follow the choice.
    for (int i = 0; i < int(m_languageActions.size()); ++i)
        m_languageActions[i]->setChecked(i == m_session.languageChoice());
}

void MainWindow::changeDatabase()
{
    // The database in use stays until the next start.
    DatabaseFolderChoice::changeDatabase(m_session.settings(), this);
}

void MainWindow::openHelp()
{
    const QString page = m_session.helpFile();
    if (page.isEmpty() || DesktopUrls::open(QUrl::fromLocalFile(page)))
        return;
    // No browser took the page: show it here, so help is never silently missing.
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(this);
    m_helpWindow->showPage(page);
}

void MainWindow::openPreferences(bool refreshAfter)
{
    PreferencesDialog dialog(m_session, this);
    if (dialog.exec() != QDialog::Accepted || !refreshAfter)
        return;
    m_listPanel->refreshList(m_listPanel->currentView());
    updateStatus();
}

void MainWindow::openAbout()
{
    if (!m_aboutDialog)
        m_aboutDialog = new AboutDialog(this);
    m_aboutDialog->show();
    m_aboutDialog->raise();
    m_aboutDialog->activateWindow();
}

void MainWindow::openReport()
{
    ReportWindow window(m_session, this);
    window.exec();
}

void MainWindow::showCounterparties()
{
    if (!m_counterpartyList)
        m_counterpartyList = new CounterpartyList(m_session.connectionString(), m_session.deadlineRegister(), this);
    m_counterpartyList->showList();
}

void MainWindow::showSheets()
{
    SheetsDialog dialog(m_session, this);
    dialog.exec();
}

void MainWindow::purgeClosedDeadlines()
{
    // "This procedure allows all past deadlines before a given date to be
    // deleted", "Continue?"; the purge window opens on Yes.
    if (Prompt::message(Texts::text(1301) + QStringLiteral("\n\n") + Texts::text(1302), Session::AppTitle,
                        Prompt::Icon::Question, Prompt::Buttons::YesNo)
        != Prompt::Answer::Yes)
        return;
    PurgeDialog dialog(m_session, this);
    dialog.exec();
}

QList<ListedDeadline> MainWindow::listedForExport() const
{
    return listedDeadlines(*m_listPanel->list()->model(), m_session.display().showGroupCounters,
                           m_session.display().counterSeparator);
}

void MainWindow::exportToText()
{
    ListExports::toText(listedForExport());
}

void MainWindow::exportToCalendar()
{
    ListExports::toCalendar(listedForExport());
}
