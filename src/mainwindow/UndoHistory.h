#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <memory>

class QAction;
class RowChange;
class Session;

// Every change recorded since the program started, for Edit > Undo and Redo.
// The stack keeps the order and the captions; the work happens here, before the
// stack moves, so a step that is refused (its rows changed meanwhile, or it would
// delete the active sheet) stays where it was.
class UndoHistory final : public QObject
{
    Q_OBJECT
public:
    explicit UndoHistory(Session &session, QObject *parent = nullptr);

    // The two entries of the Edit menu, kept captioned and enabled as the history moves.
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }
    const QUndoStack &stack() const { return m_stack; }

    void undo();
    void redo();

private:
    void record(const QString &caption, const std::shared_ptr<const RowChange> &change);
    void step(bool undo);
    void announce(const RowChange &change);
    void updateActions();

    Session &m_session;
    QUndoStack m_stack;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
};
