#include "mainwindow/UndoHistory.h"

#include "mainwindow/ChangeCaptions.h"
#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/DbErrorPrompt.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/Register.h"
#include "store/RowChange.h"
#include "store/SheetStore.h"

#include <QAction>
#include <QKeySequence>
#include <QRegularExpression>
#include <QUndoCommand>

namespace {

constexpr int UndoRefusedText = 2888;
constexpr int RedoRefusedText = 2889;
constexpr int ActiveSheetText = 2890;

// One recorded change on the stack. The stack only orders and names the steps:
// undo() and redo() are left empty because UndoHistory writes before it moves
// the stack, and the first redo() a push runs has nothing to do (the writer wrote).
class RecordedStep final : public QUndoCommand
{
public:
    RecordedStep(const QString &caption, std::shared_ptr<const RowChange> change)
        : QUndoCommand(caption)
        , m_change(std::move(change))
    {
    }
    void undo() override {}
    void redo() override {}
    const RowChange &change() const { return *m_change; }

private:
    std::shared_ptr<const RowChange> m_change;
};

} // namespace

UndoHistory::UndoHistory(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_undoAction(new QAction(this))
    , m_redoAction(new QAction(this))
{
    m_undoAction->setObjectName(QStringLiteral("undoAction"));
    m_undoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_redoAction->setObjectName(QStringLiteral("redoAction"));
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(m_undoAction, &QAction::triggered, this, &UndoHistory::undo);
    connect(m_redoAction, &QAction::triggered, this, &UndoHistory::redo);
    connect(&m_session.deadlineRegister(), &Register::changeRecorded, this, &UndoHistory::record);
    connect(&m_stack, &QUndoStack::indexChanged, this, &UndoHistory::updateActions);
    updateActions();
}

void UndoHistory::undo()
{
    step(true);
}

void UndoHistory::redo()
{
    step(false);
}

void UndoHistory::record(const QString &caption, const std::shared_ptr<const RowChange> &change)
{
    if (change && !change->isEmpty())
        m_stack.push(new RecordedStep(caption, change));
}

void UndoHistory::step(bool undo)
{
    const int index = undo ? m_stack.index() - 1 : m_stack.index();
    const auto *recorded = static_cast<const RecordedStep *>(m_stack.command(index));
    if (!recorded)
        return;
    const RowChange &change = recorded->change();
    const RowChange::Direction direction = undo ? RowChange::Direction::Undo : RowChange::Direction::Redo;
    const QString entry = undo ? m_undoAction->text() : m_redoAction->text();
    const QString named = QString(entry).remove(QRegularExpression(QStringLiteral("&(?!&)")));
    // The window shows the active sheet: it never goes from under it.
    if (change.removedIds(StoredTable::Sheets, direction).contains(m_session.activeSheetId())) {
        Prompt::message(Texts::text(ActiveSheetText).arg(named), Session::AppTitle, Prompt::Icon::Information);
        return;
    }
    const QString connectionString = m_session.connectionString();
    RowChange::Outcome outcome = RowChange::Outcome::Changed;
    const bool ran = DbErrorPrompt::run(connectionString, [&] {
        Connection connection;
        connection.open(connectionString);
        outcome = change.apply(connection, direction);
    });
    if (!ran)
        return;
    if (outcome == RowChange::Outcome::Changed) {
        Prompt::message(Texts::text(undo ? UndoRefusedText : RedoRefusedText).arg(recorded->text()), Session::AppTitle,
                        Prompt::Icon::Warning);
        return;
    }
    if (undo)
        m_stack.undo();
    else
        m_stack.redo();
    Pauses::shortPause();
    announce(change);
}

void UndoHistory::announce(const RowChange &change)
{
    Register &changes = m_session.deadlineRegister();
    const bool sheets = !change.before(StoredTable::Sheets).empty() || !change.after(StoredTable::Sheets).empty();
    if (sheets) {
        // A renamed active sheet shows its name again in the title.
        DbErrorPrompt::run(m_session.connectionString(), [this] {
            const qint32 id = m_session.activeSheetId();
            m_session.setActiveSheet(id, SheetStore(m_session.connectionString()).name(id));
        });
        emit changes.sheetsChanged();
    }
    if (!change.before(StoredTable::Counterparties).empty() || !change.after(StoredTable::Counterparties).empty())
        emit changes.counterpartiesChanged();
    const QHash<qint32, QList<qint32>> deadlines = change.deadlinesBySheet();
    for (auto sheet = deadlines.cbegin(); sheet != deadlines.cend(); ++sheet)
        emit changes.deadlinesChanged(sheet.key(), sheet.value());
}

void UndoHistory::updateActions()
{
    m_undoAction->setText(ChangeCaption::undoEntry(m_stack.undoText()));
    m_undoAction->setEnabled(m_stack.canUndo());
    m_redoAction->setText(ChangeCaption::redoEntry(m_stack.redoText()));
    m_redoAction->setEnabled(m_stack.canRedo());
}
