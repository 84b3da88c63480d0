#include "deadlines/AddToGroupDialog.h"

#include "deadlines/GroupChoicePanel.h"

AddToGroupDialog::AddToGroupDialog(QWidget *parent)
    : QDialog(parent)
    , m_panel(new GroupChoicePanel(this, 1412, 1412, 1413, 1414))
{
    setObjectName(QStringLiteral("addToGroupDialog"));
}

GroupChoice AddToGroupDialog::ask(QWidget *parent)
{
    AddToGroupDialog dialog(parent);
    dialog.exec();
    return dialog.choice();
}

GroupChoice AddToGroupDialog::choice() const
{
    return m_panel->choice();
}
