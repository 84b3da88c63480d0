#pragma once

#include "export/ListedDeadline.h"
#include "mainwindow/DeadlineListPresenter.h"
#include "mainwindow/MainWindowSettings.h"
#include "mainwindow/SheetDeadlines.h"
#include "mainwindow/UpcomingListPresenter.h"

#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>
#include <utility>

class AboutDialog;
class CounterpartyList;
class DataGrid;
class DbError;
class GridRow;
class DeadlineEditor;
class HelpWindow;
class MonthCalendar;
class NewDeadlineWindow;
class QAction;
class QComboBox;
class QFrame;
class QKeySequence;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class Session;

// The program's main window: the deadline list of the active sheet with its
// views, layouts and totals, the calendar column with the upcoming deadlines and
// the notes panel, the record commands and the search. Its parts follow what the
// session's register announces, whoever wrote; its list asks the presenter, row
// by row, what to show.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // Creates and loads the window: reads the display options and the stored
    // layout, builds menus and toolbars and fills the list.
    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The parts' own refreshes, and the deadline made current.
    int currentView() const;
    QDate selectionStart() const;
    QDate selectionEnd() const;
    // Reads the active sheet's rows, or only the named ones when it holds them.
    void readSheet(const QList<qint32> &rowIds = {});
    // Shows the rows held, as the view and the layout choose them: no read.
    void refreshList(int view);
    void markBusyDays();
    void refreshUpcoming(const QDate &first, const QDate &last);
    void updateStatus();
    void updateEmptyListPanel();
    void findDeadline(qint32 rowId);

    // Layout of the list (0 plain, 1 by due period, 2 by month, 3 by counterparty).
    void chooseLayout(int layout);
    void expandAll();
    void collapseAll();

    // Record commands on the list's rows (1-based; group rows do nothing).
    void newDeadline(int row);
    void editDeadline();
    void toggleDone();
    void deleteDeadline(int row);
    void goToFirstRow();
    void goToLastRow();
    void updateNotesPanel();
    void showCounterparties();
    // The report window, modal (MainWindowReports.cpp).
    void openReport();

    // Incremental search over the rows' search text.
    void setSearchMode(bool active);
    void searchIncrementally(const QString &text, int minLength);
    // Whether a row's search text holds text, ignoring case.
    static std::function<bool(const GridRow &)> searchMatches(const QString &text);
    void findNext(const QString &text, int minLength);
    void findPrevious(const QString &text, int minLength);

    DataGrid *list() const { return m_list; }
    MonthCalendar *calendar() const { return m_calendar; }
    DataGrid *upcomingList() const { return m_upcomingList; }
    bool isListReady() const { return m_listReady; }
    QDate warningHorizon() const { return m_listPresenter.warningHorizon(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Creation, load and close (MainWindow.cpp).
    void load();
    // Connects the parts to the register's announcements (MainWindow.cpp).
    void listenToRegister();
    // Every part that shows the active sheet, read again in the order they depend on each other.
    void refreshSheet(const QList<qint32> &rowIds = {});
    void applyStartLayout(const MainWindowSettings::StartLayout &layout);
    void setUpList();
    void arrangePanels();
    void sizeListColumns();
    void storeExitSettings();
    void setStatusText(const QString &text);

    // Menus, toolbars and the commands only they reach (MainWindowMenus.cpp).
    void buildMenus();
    void buildToolbars();
    void showLayoutChoice(int layout);
    void chooseLanguage(int index);
    void purgeClosedDeadlines();
    void changeDatabase();
    void openHelp();
    void openPreferences(bool refreshAfter);
    void openAbout();

    // Panels and status bar (MainWindowPanels.cpp).
    void buildPanels();
    void buildStatusBar();
    // The notes areas are Tab stops: their names read the notes out.
    void nameNotesAreas();

    // The view box and the layout keys (MainWindowList.cpp).
    void chooseView(int index);
    bool handleLayoutKey(int key, Qt::KeyboardModifiers modifiers);

    // The list's keys and focus (MainWindowCommands.cpp).
    void listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);
    void listDoubleClicked(int row);
    void listFocusIn();
    void listFocusOut();
    bool isDeadlineRow(int row) const;
    // A database error told in the user's language; true when the user chose Retry.
    bool reportError(const DbError &error);
    // Runs work, offering Retry while a database error stops it; false when the user gave up.
    bool runOnDatabase(const std::function<void()> &work);
    NewDeadlineWindow &newDeadlineWindow();
    DeadlineEditor &deadlineEditor();
    void openNewDeadline();

    // Clients/suppliers, sheets, purge and exports (MainWindowRegisters.cpp).
    void showSheets();
    void exportToText();
    void exportToCalendar();
    QList<ListedDeadline> listedForExport() const;

    // Calendar column (MainWindowCalendar.cpp).
    void calendarSelectionChanged();
    void calendarBusyDaysRequested(const QDate &first, int dayCount);
    void sizeUpcomingColumn();
    // Makes the upcoming panel's current deadline the list's, and goes to the list.
    void showUpcomingDeadline();

    Session &m_session;
    bool m_listReady = false;
    SheetDeadlines m_sheetRows;
    // Rows read and not yet handed to the list: the whole sheet, or what a write changed.
    std::optional<GridRecords> m_freshSheet;
    std::optional<SheetDeadlines::Changes> m_freshRows;
    std::pair<int, QDate> m_computedFor{-1, QDate()};   // layout and day of the computed columns
    bool m_closed = false;
    bool m_commandRunning = false;   // a record command is under way (MainWindowCommands.cpp)
    DeadlineListPresenter m_listPresenter;
    UpcomingListPresenter m_upcomingPresenter;
    int m_calendarMonthsAcross = 1;
    int m_calendarMonthsDown = 1;

    DataGrid *m_list = nullptr;
    DataGrid *m_upcomingList = nullptr;
    MonthCalendar *m_calendar = nullptr;
    QWidget *m_upcomingViewport = nullptr;   // where clicks on the upcoming deadlines land
    QComboBox *m_viewCombo = nullptr;
    QWidget *m_calendarPanel = nullptr;
    QFrame *m_emptyListPanel = nullptr;
    QLabel *m_emptyListLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_deadlineNotes = nullptr;
    QLabel *m_counterpartyNotes = nullptr;
    QLabel *m_counterpartyNotesIcon = nullptr;
    QWidget *m_deadlineNotesArea = nullptr;
    QWidget *m_counterpartyNotesArea = nullptr;
    QFrame *m_searchFrame = nullptr;
    QLineEdit *m_searchBox = nullptr;
    QLabel *m_statusHelp = nullptr;          // the focused control's help text
    QLabel *m_statusSheet = nullptr;         // the active sheet
    QLabel *m_statusDue = nullptr;           // whether open deadlines are due

    QAction *m_toggleDoneAction = nullptr;
    QAction *m_findNextAction = nullptr;
    QAction *m_findPreviousAction = nullptr;
    std::array<QAction *, 4> m_layoutActions {};
    std::array<QAction *, 7> m_languageActions {};   // by language choice; entry 1 is a separator
    std::array<QAction *, 4> m_layoutButtons {};
    QAction *m_findNextButton = nullptr;
    QAction *m_findPreviousButton = nullptr;

    NewDeadlineWindow *m_newDeadlineWindow = nullptr;
    DeadlineEditor *m_deadlineEditor = nullptr;
    HelpWindow *m_helpWindow = nullptr;
    QPointer<AboutDialog> m_aboutDialog;
    CounterpartyList *m_counterpartyList = nullptr;
};
