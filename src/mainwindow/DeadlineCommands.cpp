#include "mainwindow/DeadlineCommands.h"

#include "deadlines/AddToGroupDialog.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/NewDeadlineWindow.h"
#include "mainwindow/ChangeCaptions.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "platform/grid/DataGrid.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "startup/DbErrorPrompt.h"
#include "store/DeadlineStore.h"
#include "store/Register.h"
#include "store/RowChange.h"

namespace {

// Marks a record command as running for as long as it lasts. A key or click
// that reaches the window meanwhile (through a question's own event loop, or
// queued while the write ran) belongs to the same moment as the first one and
// must not start the command a second time on a list that is about to change.
class CommandScope
{
public:
    explicit CommandScope(bool &running) : m_running(running), m_entered(!running) { m_running = true; }
    ~CommandScope()
    {
        if (m_entered)
            m_running = false;
    }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;
    // False when another command already runs: the caller does nothing.
    bool entered() const { return m_entered; }

private:
    bool &m_running;
    bool m_entered;
};

} // namespace

DeadlineCommands::DeadlineCommands(Session &session, ListPanel &list, QWidget *window)
    : QObject(window)
    , m_session(session)
    , m_list(list)
    , m_window(window)
{
}

DataGrid *DeadlineCommands::grid() const
{
    return m_list.list();
}

bool DeadlineCommands::runOnDatabase(const std::function<void()> &work)
{
    return DbErrorPrompt::run(m_session.connectionString(), work);
}

NewDeadlineWindow &DeadlineCommands::newDeadlineWindow()
{
    if (!m_newDeadlineWindow) {
        m_newDeadlineWindow = new NewDeadlineWindow(m_session, m_window);
        connect(m_newDeadlineWindow, &NewDeadlineWindow::deadlineSaved, &m_list, &ListPanel::findDeadline);
    }
    return *m_newDeadlineWindow;
}

DeadlineEditor &DeadlineCommands::deadlineEditor()
{
    if (!m_deadlineEditor) {
        m_deadlineEditor = new DeadlineEditor(m_session, m_window);
        connect(m_deadlineEditor, &DeadlineEditor::deadlineSaved, &m_list, &ListPanel::findDeadline);
    }
    return *m_deadlineEditor;
}

void DeadlineCommands::openNewDeadline()
{
    newDeadlineWindow().openBlank();
}

void DeadlineCommands::newDeadline(int row)
{
    const CommandScope command(m_running);
    if (!command.entered())
        return;
    if (!m_list.isDeadlineRow(row) || grid()->value(row, ListColumn::TrGrpId).toInt() == 0) {
        openNewDeadline();
        return;
    }
    switch (AddToGroupDialog::ask(m_window)) {
    case GroupChoiceFirst:
        openNewDeadline();
        break;
    case GroupChoiceSecond:
        // The stored description, without the counter the list shows after it.
        newDeadlineWindow().openForGroup(grid()->value(row, ListColumn::TrType).toInt(),
                                         grid()->value(row, ListColumn::TrDescription).toString(),
                                         grid()->value(row, ListColumn::TrAcId).toInt(),
                                         grid()->value(row, ListColumn::TrValue).value<Currency>(),
                                         grid()->value(row, ListColumn::TrGrpId).toInt());
        break;
    default:
        break;
    }
}

void DeadlineCommands::editDeadline()
{
    const int row = grid()->currentRow();
    if (!m_list.isDeadlineRow(row))
        return;
    deadlineEditor().open(grid()->value(row, ListColumn::TrRowId).toInt());
}

void DeadlineCommands::toggleDone()
{
    const CommandScope command(m_running);
    const int row = grid()->currentRow();
    if (!command.entered() || !m_list.isDeadlineRow(row))
        return;
    const qint32 rowId = grid()->value(row, ListColumn::TrRowId).toInt();
    RowChange change;
    const bool toggled = runOnDatabase([&] {
        change = RowChange();
        DeadlineStore(m_session.connectionString()).toggleDone(rowId, &change);
    });
    if (!toggled)
        return;
    Pauses::shortPause();
    // The list read again finds the deadline by its row id; when the view now hides
    // it, the row that followed it becomes current (the new last row when it was the
    // last), so the list keeps a row for the next key.
    emit m_session.deadlineRegister().deadlinesChanged(m_session.activeSheetId());
    m_session.deadlineRegister().recordChange(ChangeCaption::toggleCaption(change), std::move(change));
    grid()->scrollToCurrent();
    grid()->announceCurrentRow();   // "Debit, closed" is read out
}

void DeadlineCommands::deleteDeadline(int row)
{
    const CommandScope command(m_running);
    if (!command.entered() || !m_list.isDeadlineRow(row))
        return;
    const qint32 rowId = grid()->value(row, ListColumn::TrRowId).toInt();
    const qint32 grpId = grid()->value(row, ListColumn::TrGrpId).toInt();
    std::function<void(RowChange &)> removal;
    bool wholeGroup = false;
    if (grpId == 0) {
        if (!Prompt::confirmDeletion(Texts::text(1055), Session::AppTitle))
            return;
        removal = [this, rowId](RowChange &change) {
            DeadlineStore(m_session.connectionString()).deleteDeadline(rowId, &change);
        };
    } else {
        switch (DeleteFromGroupDialog::ask(m_window)) {
        case GroupChoiceSecond:
            wholeGroup = true;
            removal = [this, grpId](RowChange &change) {
                DeadlineStore(m_session.connectionString()).deleteGroup(grpId, &change);
            };
            break;
        case GroupChoiceFirst:
            // The member goes and the rest is renumbered, or neither happens.
            removal = [this, rowId, grpId](RowChange &change) {
                DeadlineStore(m_session.connectionString()).deleteFromGroup(rowId, grpId, &change);
            };
            break;
        default:
            break;
        }
    }
    // A failed try leaves nothing behind (one statement, or one transaction), so
    // Retry runs the whole delete again, and giving up has nothing to announce.
    RowChange change;
    if (!removal || !runOnDatabase([&] {
            change = RowChange();
            removal(change);
        }))
        return;
    Pauses::shortPause();
    emit m_session.deadlineRegister().deadlinesChanged(m_session.activeSheetId());
    m_session.deadlineRegister().recordChange(
        wholeGroup ? ChangeCaption::deadlineCaption(ChangeCaption::DeleteRecurrence, change, false)
                   : ChangeCaption::deadlineCaption(ChangeCaption::DeleteDeadline, change, true),
        std::move(change));
}
