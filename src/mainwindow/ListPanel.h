#pragma once

#include "mainwindow/DeadlineListPresenter.h"
#include "mainwindow/SheetDeadlines.h"

#include <QComboBox>
#include <QDate>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>

class DataGrid;
class DbError;
class QFrame;
class QLabel;
class Session;

// The deadline list of the active sheet: the sheet's title over it, the rows the
// view box and the layout choose from the sheet's rows held in memory, the
// empty-list panel and the current-row rule. It reads again what the session's
// register says changed; its keys and clicks ask for the record commands.
class ListPanel final : public QWidget
{
    Q_OBJECT

public:
    // header goes beside the title (the search bar).
    ListPanel(Session &session, QWidget *header, QWidget *parent = nullptr);
    ~ListPanel() override;

    DataGrid *list() const { return m_list; }
    // The view box, for the window's toolbar.
    QComboBox *viewCombo() const { return m_viewCombo; }
    bool isReady() const { return m_ready; }
    int currentView() const;

    // Reads the sheet and shows it in the stored view, sorted by the stored key.
    void load(int view, const QDate &first, const QDate &last, int sortKeyIndex, bool sortAscending);
    // Reads the active sheet's rows, or only the named ones when it holds them.
    void readSheet(const QList<qint32> &rowIds = {});
    // Shows the rows held, as the view and the layout choose them: no read.
    void refreshList(int view);
    // The days selected in the calendar, which the calendar view lists.
    void showDays(const QDate &first, const QDate &last);
    void updateEmptyListPanel();
    void sizeColumns();

    // Layout of the list (0 plain, 1 by due period, 2 by month, 3 by counterparty).
    void chooseLayout(int layout);
    // Lists only one client's or supplier's deadlines (an empty name: those
    // without one) in that view, until the user chooses a view or a sheet.
    void showOnlyCounterparty(int view, const QString &name);
    // Ctrl+1 to Ctrl+4 choose a layout; true when key was one of them.
    bool handleLayoutKey(int key, Qt::KeyboardModifiers modifiers);
    void expandAll();
    void collapseAll();

    // Whether row (1-based) holds a deadline, not a group.
    bool isDeadlineRow(int row) const;
    // The current-row rule: the deadline saved or chosen becomes current.
    void findDeadline(qint32 rowId);
    void goToFirstRow();
    void goToLastRow();

signals:
    void layoutChosen(int layout);
    // The notes of the current deadline, when the current row is one.
    void currentNotesChanged(const QString &deadlineNotes, const QString &counterpartyNotes);
    // The focused control's help text; empty when it leaves.
    void helpShown(const QString &text);
    void listFocused();
    // Keys and clicks that ask for a record command.
    void newDeadlineAsked();
    void editAsked();
    void toggleAsked();
    void deleteAsked(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpList();
    void showTitle();
    void chooseView(int index);
    void listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);
    void listDoubleClicked(int row);
    void updateNotes();
    // A database error told in the user's language; true when the user chose Retry.
    bool reportError(const DbError &error);

    Session &m_session;
    DeadlineListPresenter m_presenter;
    bool m_ready = false;
    SheetDeadlines m_sheetRows;
    // Rows read and not yet handed to the list: the whole sheet, or what a write changed.
    std::optional<GridRecords> m_freshSheet;
    std::optional<SheetDeadlines::Changes> m_freshRows;
    std::pair<int, QDate> m_computedFor{-1, QDate()};   // layout and day of the computed columns
    std::optional<QString> m_onlyCounterparty;   // the name the list is narrowed to
    QDate m_first;
    QDate m_last;

    QLabel *m_titleLabel = nullptr;
    DataGrid *m_list = nullptr;
    QFrame *m_emptyListPanel = nullptr;
    QLabel *m_emptyListLabel = nullptr;
    QPointer<QComboBox> m_viewCombo;   // in the window's toolbar, which may go first
    // The same box as the event filter sees it: only compared, never used, since
    // its events still come while it is being destroyed and is no combo box any more.
    const QObject *m_viewComboWatched = nullptr;
};
