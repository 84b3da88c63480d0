#pragma once

#include "deadlines/GroupChoice.h"

#include <QDialog>

class GroupChoicePanel;

// Asked before deleting a member of a recurrence: only that deadline (first
// option) or the whole group (second option).
class DeleteFromGroupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DeleteFromGroupDialog(QWidget *parent = nullptr);
    // Shows the question modally and returns the answer.
    static GroupChoice ask(QWidget *parent);

    GroupChoice choice() const;

private:
    GroupChoicePanel *m_panel;
};
