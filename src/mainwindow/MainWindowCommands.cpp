// Commands on the list's rows (new, edit, close/re-open, delete, first/last),
// the list's keys and focus, the notes panel and the incremental search.
#include "mainwindow/MainWindow.h"

#include "deadlines/AddToGroupDialog.h"
#include "deadlines/DeadlineEditor.h"
#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/NewDeadlineWindow.h"
#include "mainwindow/DeadlineList.h"
#include "platform/grid/DataGrid.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DeadlineStore.h"
#include "startup/DbErrorPrompt.h"
#include "store/Register.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

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

bool MainWindow::isDeadlineRow(int row) const
{
    return row >= 1 && row <= m_list->rowCount() && !m_list->isGroupRow(row);
}

bool MainWindow::reportError(const DbError &error)
{
    return DbErrorPrompt::tell(error, m_session.connectionString());
}

bool MainWindow::runOnDatabase(const std::function<void()> &work)
{
    return DbErrorPrompt::run(m_session.connectionString(), work);
}

NewDeadlineWindow &MainWindow::newDeadlineWindow()
{
    if (!m_newDeadlineWindow) {
        m_newDeadlineWindow = new NewDeadlineWindow(m_session, this);
        connect(m_newDeadlineWindow, &NewDeadlineWindow::deadlineSaved, this, &MainWindow::findDeadline);
    }
    return *m_newDeadlineWindow;
}

DeadlineEditor &MainWindow::deadlineEditor()
{
    if (!m_deadlineEditor) {
        m_deadlineEditor = new DeadlineEditor(m_session, this);
        connect(m_deadlineEditor, &DeadlineEditor::deadlineSaved, this, &MainWindow::findDeadline);
    }
    return *m_deadlineEditor;
}

void MainWindow::openNewDeadline()
{
    newDeadlineWindow().openBlank();
}

void MainWindow::newDeadline(int row)
{
    const CommandScope command(m_commandRunning);
    if (!command.entered())
        return;
    if (!isDeadlineRow(row) || m_list->value(row, ListColumn::TrGrpId).toInt() == 0) {
        openNewDeadline();
        return;
    }
    switch (AddToGroupDialog::ask(this)) {
    case GroupChoiceFirst:
        openNewDeadline();
        break;
    case GroupChoiceSecond:
        // The stored description, without the counter the list shows after it.
        newDeadlineWindow().openForGroup(m_list->value(row, ListColumn::TrType).toInt(),
                                         m_list->value(row, ListColumn::TrDescription).toString(),
                                         m_list->value(row, ListColumn::TrAcId).toInt(),
                                         m_list->value(row, ListColumn::TrValue).value<Currency>(),
                                         m_list->value(row, ListColumn::TrGrpId).toInt());
        break;
    default:
        break;
    }
}

void MainWindow::editDeadline()
{
    const int row = m_list->currentRow();
    if (!isDeadlineRow(row))
        return;
    deadlineEditor().open(m_list->value(row, ListColumn::TrRowId).toInt());
}

void MainWindow::toggleDone()
{
    const CommandScope command(m_commandRunning);
    const int row = m_list->currentRow();
    if (!command.entered() || !isDeadlineRow(row))
        return;
    const qint32 rowId = m_list->value(row, ListColumn::TrRowId).toInt();
    const bool toggled = runOnDatabase([&] { DeadlineStore(m_session.connectionString()).toggleDone(rowId); });
    if (!toggled)
        return;
    Pauses::shortPause();
    // The list read again finds the deadline by its row id; when the view now hides
    // it, the row that followed it becomes current (the new last row when it was the
    // last), so the list keeps a row for the next key.
    emit m_session.deadlineRegister().deadlinesChanged(m_session.activeSheetId());
    m_list->scrollToCurrent();
    m_list->announceCurrentRow();   // "Debit, closed" is read out
}

void MainWindow::deleteDeadline(int row)
{
    const CommandScope command(m_commandRunning);
    if (!command.entered() || !isDeadlineRow(row))
        return;
    const qint32 rowId = m_list->value(row, ListColumn::TrRowId).toInt();
    const qint32 grpId = m_list->value(row, ListColumn::TrGrpId).toInt();
    std::function<void()> removal;
    if (grpId == 0) {
        if (!Prompt::confirmDeletion(Texts::text(1055), Session::AppTitle))
            return;
        removal = [this, rowId] { DeadlineStore(m_session.connectionString()).deleteDeadline(rowId); };
    } else {
        switch (DeleteFromGroupDialog::ask(this)) {
        case GroupChoiceSecond:
            removal = [this, grpId] { DeadlineStore(m_session.connectionString()).deleteGroup(grpId); };
            break;
        case GroupChoiceFirst:
            // The member goes and the rest is renumbered, or neither happens.
            removal = [this, rowId, grpId] { DeadlineStore(m_session.connectionString()).deleteFromGroup(rowId, grpId); };
            break;
        default:
            break;
        }
    }
    // A failed try leaves nothing behind (one statement, or one transaction), so
    // Retry runs the whole delete again, and giving up has nothing to announce.
    if (!removal || !runOnDatabase(removal))
        return;
    Pauses::shortPause();
    emit m_session.deadlineRegister().deadlinesChanged(m_session.activeSheetId());
}

void MainWindow::findDeadline(qint32 rowId)
{
    m_list->model()->find(ListColumn::TrRowId, rowId, GridModel::FindMode::Equal, 0, 1);
    m_list->scrollToCurrent();
}

void MainWindow::goToFirstRow()
{
    m_list->setCurrentRow(1);
    m_list->scrollToCurrent();
}

void MainWindow::goToLastRow()
{
    m_list->setCurrentRow(m_list->rowCount());
    m_list->scrollToCurrent();
}

void MainWindow::updateNotesPanel()
{
    const int row = m_list->currentRow();
    // A group row or no row at all leaves the panel as it was.
    if (!isDeadlineRow(row))
        return;
    m_deadlineNotes->setText(m_list->value(row, ListColumn::TrNotes).toString());
    if (!m_list->value(row, ListColumn::AcName).toString().isEmpty())
        m_counterpartyNotes->setText(m_list->value(row, ListColumn::AcNotes).toString());
    else
        m_counterpartyNotes->clear();
    m_counterpartyNotesIcon->setVisible(!m_counterpartyNotes->text().isEmpty());
    nameNotesAreas();
}

void MainWindow::nameNotesAreas()
{
    const auto name = [](QWidget *area, QLabel *notes, int captionId, int namedId) {
        area->setAccessibleName(notes->text().isEmpty() ? Texts::text(captionId)
                                                        : Texts::text(namedId).arg(notes->text()));
    };
    name(m_deadlineNotesArea, m_deadlineNotes, 1012, 2789);              // "Notes: %1"
    name(m_counterpartyNotesArea, m_counterpartyNotes, 1016, 2790);      // "Client/Supplier Notes: %1"
}

void MainWindow::listKeyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed)
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
            toggleDone();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        *consumed = true;
        if (isDeadlineRow(row))
            editDeadline();
        break;
    case Qt::Key_Delete:
        *consumed = true;
        if (isDeadlineRow(row))
            deleteDeadline(row);
        break;
    default:
        break;
    }
}

void MainWindow::listDoubleClicked(int row)
{
    if (m_list->rowCount() == 0) {
        openNewDeadline();
        return;
    }
    if (row >= 1 && isDeadlineRow(m_list->currentRow()))
        editDeadline();
}

void MainWindow::listFocusIn()
{
    setStatusText(Texts::text(1056));
    m_searchBox->clear();
    setSearchMode(false);
}

void MainWindow::listFocusOut()
{
    setStatusText(QString());
}

void MainWindow::setSearchMode(bool active)
{
    const QPalette::ColorRole role = active ? QPalette::Base : QPalette::Button;
    for (QWidget *w : { static_cast<QWidget *>(m_searchBox), static_cast<QWidget *>(m_searchFrame) }) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Active, role));
        palette.setColor(QPalette::Window, palette.color(QPalette::Active, role));
        w->setPalette(palette);
    }
    if (!active) {
        for (QAction *find : {m_findNextButton, m_findPreviousButton, m_findNextAction, m_findPreviousAction})
            find->setEnabled(false);
    }
}

std::function<bool(const GridRow &)> MainWindow::searchMatches(const QString &text)
{
    // Worked out row by row as the search walks, never held for every row.
    return [text](const GridRow &row) {
        using namespace ListColumn;
        return !text.isEmpty()
            && searchText(row.field(TrDescription).toString(), row.field(AcName).toString(),
                          row.field(TrNotes).toString(), row.field(AcNotes).toString())
                   .contains(text, Qt::CaseInsensitive);
    };
}

void MainWindow::searchIncrementally(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    // The current row itself counts: typing on keeps the row while it still matches.
    const int current = m_list->currentRow();
    m_list->model()->find(searchMatches(text), current > 0 ? current - 1 : 0, 1);
    m_list->scrollToCurrent();
    for (QAction *find : {m_findNextButton, m_findPreviousButton, m_findNextAction, m_findPreviousAction})
        find->setEnabled(true);
}

void MainWindow::findNext(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    m_list->model()->find(searchMatches(text), -1, 1);
    m_list->scrollToCurrent();
}

void MainWindow::findPrevious(const QString &text, int minLength)
{
    if (text.trimmed().size() < minLength)
        return;
    m_list->model()->find(searchMatches(text), -1, -1);
    m_list->scrollToCurrent();
}
