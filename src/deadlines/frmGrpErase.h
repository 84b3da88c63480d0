#pragma once

#include "deadlines/GroupChoice.h"

#include <QDialog>

class GroupChoicePanel;

// Asked before deleting a member of a recurrence: only that deadline (first
// option) or the whole group (second option).
class frmGrpErase : public QDialog
{
    Q_OBJECT
public:
    explicit frmGrpErase(QWidget *parent = nullptr);
    static GroupChoice Apri(QWidget *parent);

    GroupChoice choice() const;

private:
    GroupChoicePanel *m_panel;
};
