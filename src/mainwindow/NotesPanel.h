#pragma once

#include <QFrame>

class QLabel;

// The notes of the list's current deadline and of its client or supplier, each
// wrapping and scrolling in its own area.
class NotesPanel final : public QFrame
{
    Q_OBJECT

public:
    explicit NotesPanel(QWidget *parent = nullptr);

    // The counterparty's notes are empty for a deadline without one.
    void showNotes(const QString &deadlineNotes, const QString &counterpartyNotes);

private:
    // The notes areas are Tab stops: their names read the notes out.
    void nameNotesAreas();

    QLabel *m_deadlineNotes = nullptr;
    QLabel *m_counterpartyNotes = nullptr;
    QLabel *m_counterpartyNotesIcon = nullptr;
    QWidget *m_deadlineNotesArea = nullptr;
    QWidget *m_counterpartyNotesArea = nullptr;
};
