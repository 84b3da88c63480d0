#pragma once

#include "deadlines/GroupChoice.h"

#include <QDialog>

class GroupChoicePanel;

// Asked before a new deadline when the current one belongs to a recurrence:
// start a new deadline (first option) or add to that group (second option).
class frmGrpAdd : public QDialog
{
    Q_OBJECT
public:
    explicit frmGrpAdd(QWidget *parent = nullptr);
    static GroupChoice Apri(QWidget *parent);

    GroupChoice choice() const;

private:
    GroupChoicePanel *m_panel;
};
