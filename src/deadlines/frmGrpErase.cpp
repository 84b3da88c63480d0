#include "deadlines/frmGrpErase.h"

#include "deadlines/GroupChoicePanel.h"

frmGrpErase::frmGrpErase(QWidget *parent)
    : QDialog(parent)
    , m_panel(new GroupChoicePanel(this, 1252, 1131, 1132, 306))
{
    setObjectName(QStringLiteral("frmGrpErase"));
}

GroupChoice frmGrpErase::Apri(QWidget *parent)
{
    frmGrpErase dialog(parent);
    dialog.exec();
    return dialog.choice();
}

GroupChoice frmGrpErase::choice() const
{
    return m_panel->choice();
}
