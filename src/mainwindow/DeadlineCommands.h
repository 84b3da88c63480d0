#pragma once

#include <QObject>

#include <functional>

class DataGrid;
class DeadlineEditor;
class ListPanel;
class NewDeadlineWindow;
class Session;

// The record commands on the list's rows: new, edit, close/re-open and delete.
// A write is announced through the session's register; a saved deadline becomes
// the list's current one.
class DeadlineCommands final : public QObject
{
    Q_OBJECT

public:
    // window owns the windows and questions the commands open.
    DeadlineCommands(Session &session, ListPanel &list, QWidget *window);

    // Rows are the list's, 1-based; group rows do nothing.
    void openNewDeadline();
    void newDeadline(int row);
    void editDeadline();
    void toggleDone();
    void deleteDeadline(int row);

private:
    DataGrid *grid() const;
    // Runs work, offering Retry while a database error stops it; false when the user gave up.
    bool runOnDatabase(const std::function<void()> &work);
    NewDeadlineWindow &newDeadlineWindow();
    DeadlineEditor &deadlineEditor();

    Session &m_session;
    ListPanel &m_list;
    QWidget *m_window;
    bool m_running = false;   // a record command is under way
    NewDeadlineWindow *m_newDeadlineWindow = nullptr;
    DeadlineEditor *m_deadlineEditor = nullptr;
};
