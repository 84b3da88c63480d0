#pragma once

#include "deadlines/GroupChoice.h"

#include <QWidget>

class QDialog;
class QPushButton;
class QRadioButton;

// The body both recurrence-group questions share: a prompt, two exclusive options
// (the first chosen and bold on opening), a confirm and a cancel button. It sets
// up its dialog (title, no Close box, Esc cancels) and keeps the answer.
class GroupChoicePanel final : public QWidget
{
    Q_OBJECT
public:
    GroupChoicePanel(QDialog *dialog, int titleId, int firstId, int secondId, int confirmId);

    GroupChoice choice() const { return m_choice; }
    // Enter answers Cancel instead of confirming: for the question that deletes.
    void makeCancelDefault();

private:
    void markChosen();

    QDialog *m_dialog;
    QRadioButton *m_first = nullptr;
    QRadioButton *m_second = nullptr;
    QPushButton *m_confirm = nullptr;
    QPushButton *m_cancel = nullptr;
    GroupChoice m_choice = GroupChoiceCancelled;
};
