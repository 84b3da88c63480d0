#pragma once

#include "mainwindow/DeadlineListHost.h"
#include "mainwindow/DeadlineListPresenter.h"
#include "mainwindow/MainWindowSettings.h"

#include <QDate>
#include <QMainWindow>

#include <array>
#include <memory>

class DataGrid;
class MainWindowTasksPresenter;
class QAction;
class QCalendarWidget;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class DeadlineEditor;
class NewDeadlineWindow;
class Session;

// The program's main window: the deadline list of the active sheet with its
// views, layouts and totals, the calendar column with the notes panel, the record
// commands and the search. Other windows refresh it through DeadlineListHost; its grid
// asks it, row by row, what to show.
class frmMain final : public QMainWindow, public DeadlineListHost
{
    Q_OBJECT

public:
    // Creates and loads the window: reads the display options and the stored
    // layout, builds menus and toolbars and fills the list.
    explicit frmMain(Session &session, QWidget *parent = nullptr);
    ~frmMain() override;

    // DeadlineListHost: the refresh operations other windows call after a write.
    int currentView() const override;
    QDate selectionStart() const override;
    QDate selectionEnd() const override;
    void refreshList(int view) override;
    void markBusyDays() override;
    void refreshUpcoming(const QDate &from, const QDate &to) override;
    void updateStatus() override;
    void updateEmptyListPanel() override;
    void findDeadline(qint32 rowId) override;

    // Layout of the list (0 plain, 1 by due period, 2 by month, 3 by counterparty).
    void mnuGroupby_Click(int index);
    void ExpandAll();
    void CollapseAll();

    // Record commands on the grid's rows (1-based; group rows do nothing).
    void NewDeadline(int row);
    void EditDeadline();
    void ToggleDone();
    void DeleteDeadline(int row);
    void FirstRow();
    void LastRow();
    void UpdateNotesPanel();
    void ManageCounts();

    // Incremental search over the rows' search text.
    void SetSearchMode(bool active);
    void SearchIncremental(const QString &text, int minLength);
    void FindNext(const QString &text, int minLength);
    void FindPrevious(const QString &text, int minLength);

    DataGrid *grid() const { return m_gex; }
    bool isListReady() const { return m_listReady; }
    QDate warningHorizon() const { return m_listPresenter.warningHorizon(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Creation and load (frmMain.cpp).
    void buildMenus();
    void buildToolbars();
    void buildPanels();
    void buildStatusBar();
    void Form_Load();
    void applyStartLayout(const MainWindowSettings::StartLayout &layout);
    void showLayoutChoice(int index);
    void applyCaptions();
    void setupGrid();
    void ArrangePanels();
    void SizeListColumns();
    void Form_Unload();
    void setStatusText(const QString &text);
    QIcon toolIcon(int glyph) const;

    // Menu and toolbar entries, by their index.
    void mnuFile_Click(int index);
    void mnuRecord_Click(int index);
    void mnuView_Click(int index);
    void mnuTools_Click(int index);
    void mnuLangs_Click(int index);
    void mnuHelp_Click(int index);
    void tb_Click(int index);
    void tbLayout_Click(int index);
    void txtFindToolbar_Click(int index);
    void ChangeDatabase();
    void OpenHelp();

    // List events (frmMainList.cpp).
    void cmbFilter_Click(int index);
    bool LayoutKey(int key, Qt::KeyboardModifiers modifiers);

    // Grid events and refreshes (frmMainCommands.cpp).
    void gex_KeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);
    void gex_DblClick(int row);
    void gex_GotFocus();
    void gex_LostFocus();
    void RefreshAfterDelete();
    bool isDeadlineRow(int row) const;
    void ReportDbError(const std::exception &error);
    NewDeadlineWindow &NuovoWindow();
    DeadlineEditor &EditWindow();
    void OpenNuovo();

    // Calendar column (frmMainCalendar.cpp).
    void mv_SelChange();

    Session &m_session;
    bool m_listReady = false;
    bool m_unloaded = false;
    DeadlineListPresenter m_listPresenter;
    int m_calendarMonthsAcross = 1;
    int m_calendarMonthsDown = 1;

    DataGrid *m_gex = nullptr;
    DataGrid *m_gextasks = nullptr;
    std::unique_ptr<MainWindowTasksPresenter> m_tasksPresenter;
    QCalendarWidget *m_mv = nullptr;
    QWidget *m_mvDays = nullptr;            // the calendar's day table, which takes focus and keys
    QWidget *m_gextasksViewport = nullptr;  // where clicks on the upcoming deadlines land
    QComboBox *m_cmbFilter = nullptr;
    QWidget *m_picGex = nullptr;
    QWidget *m_picCalendar = nullptr;
    QFrame *m_picNotes = nullptr;
    QFrame *m_picStart = nullptr;
    QLabel *m_lblStart = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblNotes = nullptr;
    QLabel *m_lblDeadlineNotes = nullptr;
    QLabel *m_lblAccNotes = nullptr;
    QLabel *m_imgCliForNotes = nullptr;
    QFrame *m_picSearchText = nullptr;
    QLineEdit *m_txtFind = nullptr;
    QToolButton *m_txtFindImage = nullptr;
    QLabel *m_sbPanel1 = nullptr;
    QLabel *m_sbPanel2 = nullptr;

    QMenu *m_mnuFileGrp = nullptr;
    QMenu *m_mnuRecordGrp = nullptr;
    QMenu *m_mnuViewGrp = nullptr;
    QMenu *m_mnuGroupbyGrp = nullptr;
    QMenu *m_mnuToolsGrp = nullptr;
    QMenu *m_mnuLangsGrp = nullptr;
    QMenu *m_mnuHelpGrp = nullptr;
    std::array<QAction *, 6> m_mnuFile {};
    std::array<QAction *, 12> m_mnuRecord {};
    std::array<QAction *, 8> m_mnuView {};
    std::array<QAction *, 4> m_mnuGroupby {};
    std::array<QAction *, 5> m_mnuTools {};
    std::array<QAction *, 7> m_mnuLangs {};
    std::array<QAction *, 5> m_mnuHelp {};

    QToolBar *m_tb = nullptr;
    QToolBar *m_tbLayout = nullptr;
    QToolBar *m_txtFindToolbar = nullptr;
    std::array<QAction *, 12> m_tbButtons {};          // index 1..11
    std::array<QAction *, 10> m_tbLayoutButtons {};    // index 1..9
    std::array<QAction *, 6> m_txtFindButtons {};      // index 1..5

    NewDeadlineWindow *m_frmScadenzeNuovo = nullptr;
    DeadlineEditor *m_frmScadenze = nullptr;
};
