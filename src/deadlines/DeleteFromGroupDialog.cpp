#include "deadlines/DeleteFromGroupDialog.h"

#include "deadlines/GroupChoicePanel.h"

DeleteFromGroupDialog::DeleteFromGroupDialog(QWidget *parent)
    : QDialog(parent)
    , m_panel(new GroupChoicePanel(this, 1252, 1131, 1132, 306))
{
    setObjectName(QStringLiteral("deleteFromGroupDialog"));
    // Deleting is chosen with the button, never by a stray Enter.
    m_panel->makeCancelDefault();
}

GroupChoice DeleteFromGroupDialog::ask(QWidget *parent)
{
    DeleteFromGroupDialog dialog(parent);
    dialog.exec();
    return dialog.choice();
}

GroupChoice DeleteFromGroupDialog::choice() const
{
    return m_panel->choice();
}
