#pragma once

#include "export/ListedDeadline.h"
#include "mainwindow/MainWindowSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class AboutDialog;
class CalendarColumn;
class CounterpartyList;
class DeadlineCommands;
class HelpWindow;
class ListPanel;
class NotesPanel;
class QAction;
class QLabel;
class SearchBar;
class Session;
class UndoHistory;
class UpcomingPanel;

// The program's main window: it assembles the deadline list with its search bar,
// the calendar column with the upcoming deadlines and the notes, owns the menus,
// the toolbars and the status bar, and wires the parts to each other. Each part
// follows what the session's register announces by itself.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // Creates and loads the window: reads the display options and the stored
    // layout, builds menus and toolbars and fills the list.
    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    ListPanel *listPanel() const { return m_listPanel; }
    SearchBar *searchBar() const { return m_searchBar; }
    CalendarColumn *calendarColumn() const { return m_calendarColumn; }
    UpcomingPanel *upcomingPanel() const { return m_upcomingPanel; }
    NotesPanel *notesPanel() const { return m_notesPanel; }
    DeadlineCommands *commands() const { return m_commands; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildParts();
    void wireParts();
    void load();
    void applyStartLayout(const MainWindowSettings::StartLayout &layout);
    void arrangePanels();
    void storeExitSettings();

    void buildMenus();
    void buildToolbars();
    void buildStatusBar();
    void setStatusText(const QString &text);
    // The active sheet and whether its open deadlines are due.
    void updateStatus();
    void showLayoutChoice(int layout);
    void showFindsEnabled(bool enabled);

    // The commands only the menus and toolbars reach.
    void chooseLanguage(int index);
    void changeDatabase();
    void openHelp();
    void openPreferences(bool refreshAfter);
    void openAbout();
    void openReport();
    void showCounterparties();
    void showSheets();
    void purgeClosedDeadlines();
    QList<ListedDeadline> listedForExport() const;
    void exportToText();
    void exportToCalendar();

    Session &m_session;
    bool m_closed = false;

    ListPanel *m_listPanel = nullptr;
    SearchBar *m_searchBar = nullptr;
    CalendarColumn *m_calendarColumn = nullptr;
    UpcomingPanel *m_upcomingPanel = nullptr;
    NotesPanel *m_notesPanel = nullptr;
    DeadlineCommands *m_commands = nullptr;
    QLabel *m_statusHelp = nullptr;          // the focused control's help text
    QLabel *m_statusSheet = nullptr;         // the active sheet
    QLabel *m_statusDue = nullptr;           // whether open deadlines are due

    QAction *m_findNextAction = nullptr;
    QAction *m_findPreviousAction = nullptr;
    std::array<QAction *, 4> m_layoutActions {};
    std::array<QAction *, 7> m_languageActions {};   // by language choice; entry 1 is a separator
    std::array<QAction *, 4> m_layoutButtons {};

    HelpWindow *m_helpWindow = nullptr;
    QPointer<AboutDialog> m_aboutDialog;
    CounterpartyList *m_counterpartyList = nullptr;
    UndoHistory *m_undoHistory = nullptr;
};
