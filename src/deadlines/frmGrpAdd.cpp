#include "deadlines/frmGrpAdd.h"

#include "deadlines/GroupChoicePanel.h"

frmGrpAdd::frmGrpAdd(QWidget *parent)
    : QDialog(parent)
    , m_panel(new GroupChoicePanel(this, 1412, 1412, 1413, 1414))
{
    setObjectName(QStringLiteral("frmGrpAdd"));
}

GroupChoice frmGrpAdd::Apri(QWidget *parent)
{
    frmGrpAdd dialog(parent);
    dialog.exec();
    return dialog.choice();
}

GroupChoice frmGrpAdd::choice() const
{
    return m_panel->choice();
}
