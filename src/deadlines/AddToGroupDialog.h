#pragma once

#include "deadlines/GroupChoice.h"

#include <QDialog>

class GroupChoicePanel;

// Asked before a new deadline when the current one belongs to a recurrence:
// start a new deadline (first option) or add to that group (second option).
class AddToGroupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AddToGroupDialog(QWidget *parent = nullptr);
    // Shows the question modally and returns the answer.
    static GroupChoice ask(QWidget *parent);

    GroupChoice choice() const;

private:
    GroupChoicePanel *m_panel;
};
