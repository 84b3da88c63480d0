// The main window's menus and toolbars, and the commands that only they reach:
// the language, the change of database and the help.
#include "mainwindow/MainWindow.h"

#include "about/AboutDialog.h"
#include "about/HelpWindow.h"
#include "alerts/PreferencesDialog.h"
#include "mainwindow/ToolIcons.h"
#include "platform/DesktopUrls.h"
#include "platform/grid/DataGrid.h"
#include "platform/Prompts.h"
#include "startup/DatabaseFolderChoice.h"
#include "startup/LanguageMenu.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>

namespace {

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

void MainWindow::buildMenus()
{
    QMenu *file = addMenu(menuBar(), "fileMenu", 201);
    connect(addCommand(file, "sheetsAction", 203, {Qt::Key_F12}), &QAction::triggered, this, &MainWindow::showSheets);
    file->addSeparator();
    connect(addCommand(file, "printAction", 2791, {Qt::SHIFT | Qt::CTRL | Qt::Key_F12}), &QAction::triggered, this,
            &MainWindow::openReport);
    connect(addCommand(file, "exportAction", 207), &QAction::triggered, this, &MainWindow::exportToText);
    connect(addCommand(file, "exportCalendarAction", 2501), &QAction::triggered, this, &MainWindow::exportToCalendar);
    file->addSeparator();
    connect(addCommand(file, "exitAction", 209, {Qt::CTRL | Qt::Key_Q}), &QAction::triggered, this, &QWidget::close);

    QMenu *record = addMenu(menuBar(), "recordMenu", 301);
    connect(addCommand(record, "newAction", 303, {Qt::Key_F5, Qt::CTRL | Qt::Key_N}), &QAction::triggered, this,
            [this] { newDeadline(m_list->currentRow()); });
    connect(addCommand(record, "editAction", 304), &QAction::triggered, this, &MainWindow::editDeadline);
    // Space belongs to the list; the entry only shows it after a tab.
    m_toggleDoneAction = addCommand(record, "toggleDoneAction", 305);
    m_toggleDoneAction->setText(m_toggleDoneAction->text() + QLatin1Char('\t') + Texts::text(608));
    connect(m_toggleDoneAction, &QAction::triggered, this, &MainWindow::toggleDone);
    connect(addCommand(record, "deleteAction", 306, {Qt::Key_Delete}), &QAction::triggered, this,
            [this] { deleteDeadline(m_list->currentRow()); });
    record->addSeparator();
    connect(addCommand(record, "findAction", 307, {Qt::CTRL | Qt::Key_F}), &QAction::triggered, this,
            [this] { m_searchBox->setFocus(Qt::ShortcutFocusReason); });
    record->addSeparator();
    m_findNextAction = addCommand(record, "findNextAction", 620, {Qt::Key_F3});
    connect(m_findNextAction, &QAction::triggered, this, [this] { findNext(m_searchBox->text(), 1); });
    m_findPreviousAction = addCommand(record, "findPreviousAction", 621);
    connect(m_findPreviousAction, &QAction::triggered, this, [this] { findPrevious(m_searchBox->text(), 1); });
    record->addSeparator();
    connect(addCommand(record, "firstRowAction", 308), &QAction::triggered, this, &MainWindow::goToFirstRow);
    connect(addCommand(record, "lastRowAction", 309), &QAction::triggered, this, &MainWindow::goToLastRow);

    QMenu *view = addMenu(menuBar(), "viewMenu", 401);
    connect(addCommand(view, "counterpartiesAction", 403, {Qt::CTRL | Qt::Key_F5}), &QAction::triggered, this,
            &MainWindow::showCounterparties);
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
        connect(action, &QAction::triggered, this, [this, layout] { chooseLayout(layout); });
        m_layoutActions[layout] = action;
    }
    view->addSeparator();
    connect(addCommand(view, "expandAction", 311), &QAction::triggered, this, &MainWindow::expandAll);
    connect(addCommand(view, "collapseAction", 313), &QAction::triggered, this, &MainWindow::collapseAll);
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
    const QSize iconSize(24, 24);
    QToolBar *commands = addToolBar(Texts::text(2785));   // "Commands"
    commands->setAccessibleName(commands->windowTitle());
    commands->setObjectName(QStringLiteral("commandToolBar"));
    commands->setIconSize(iconSize);
    commands->setMovable(false);
    connect(addToolButton(commands, "newButton", ToolIcon::New, 901), &QAction::triggered, this,
            [this] { newDeadline(m_list->currentRow()); });
    connect(addToolButton(commands, "editButton", ToolIcon::Edit, 902), &QAction::triggered, this,
            &MainWindow::editDeadline);
    connect(addToolButton(commands, "toggleDoneButton", ToolIcon::ToggleDone, 903), &QAction::triggered, this,
            &MainWindow::toggleDone);
    connect(addToolButton(commands, "deleteButton", ToolIcon::Delete, 904), &QAction::triggered, this,
            [this] { deleteDeadline(m_list->currentRow()); });
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
    m_viewCombo = new QComboBox(layouts);
    m_viewCombo->setObjectName(QStringLiteral("viewCombo"));
    m_viewCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_viewCombo->setMinimumContentsLength(24);
    m_viewCombo->installEventFilter(this);
    connect(m_viewCombo, &QComboBox::currentIndexChanged, this, &MainWindow::chooseView);
    layouts->addWidget(m_viewCombo);
    // Read out as the box's name.
    showLabel->setBuddy(m_viewCombo);
    layouts->addSeparator();
    connect(addToolButton(layouts, "expandButton", ToolIcon::ExpandAll, 913), &QAction::triggered, this,
            &MainWindow::expandAll);
    connect(addToolButton(layouts, "collapseButton", ToolIcon::CollapseAll, 915), &QAction::triggered, this,
            &MainWindow::collapseAll);
    layouts->addSeparator();
    const ToolIcon icons[] = {ToolIcon::PlainLayout, ToolIcon::DateLayout, ToolIcon::MonthLayout,
                              ToolIcon::CounterpartyLayout};
    for (int layout = 0; layout < int(m_layoutButtons.size()); ++layout) {
        QAction *button = addToolButton(layouts, "", icons[layout], 412 + layout);
        button->setObjectName(QStringLiteral("layoutButton%1").arg(layout));
        button->setCheckable(true);
        connect(button, &QAction::triggered, this, [this, layout] { chooseLayout(layout); });
        m_layoutButtons[layout] = button;
    }
}

void MainWindow::showLayoutChoice(int layout)
{
    for (int i = 0; i < int(m_layoutActions.size()); ++i) {
        m_layoutActions[i]->setChecked(i == layout);
        m_layoutButtons[i]->setChecked(i == layout);
    }
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
    DatabaseFolderChoice::changeDatabase(m_session.settings());
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
    refreshList(m_viewCombo->currentIndex());
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
