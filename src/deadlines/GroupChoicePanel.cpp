#include "deadlines/GroupChoicePanel.h"

#include "startup/Texts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

GroupChoicePanel::GroupChoicePanel(QDialog *dialog, int titleId, int firstId, int secondId, int confirmId)
    : QWidget(dialog)
    , m_dialog(dialog)
{
    dialog->setWindowTitle(Texts::text(titleId));
    dialog->setModal(true);
    // No Close box: the dialog ends only through its buttons or Esc.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto *prompt = new QLabel(Texts::text(1130), this);
    prompt->setObjectName(QStringLiteral("prompt"));
    prompt->setWordWrap(true);
    m_first = new QRadioButton(Texts::text(firstId), this);
    m_first->setObjectName(QStringLiteral("firstOption"));
    m_second = new QRadioButton(Texts::text(secondId), this);
    m_second->setObjectName(QStringLiteral("secondOption"));
    m_first->setChecked(true);
    m_confirm = new QPushButton(Texts::text(confirmId), this);
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    m_confirm->setDefault(true);
    m_cancel = new QPushButton(Texts::text(1109), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(prompt);
    layout->addWidget(m_first);
    layout->addWidget(m_second);
    layout->addLayout(buttons);
    auto *outer = new QVBoxLayout(dialog);
    outer->addWidget(this);
    markChosen();

    connect(m_first, &QRadioButton::toggled, this, [this] { markChosen(); });
    connect(m_confirm, &QPushButton::clicked, this, [this] {
        m_choice = m_first->isChecked() ? GroupChoiceFirst : GroupChoiceSecond;
        m_dialog->accept();
    });
    // Cancel, and Esc through the dialog's reject, leave the answer at 0.
    connect(m_cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    connect(dialog, &QDialog::rejected, this, [this] { m_choice = GroupChoiceCancelled; });
}

void GroupChoicePanel::makeCancelDefault()
{
    m_confirm->setDefault(false);
    m_cancel->setDefault(true);
}

void GroupChoicePanel::markChosen()
{
    for (QRadioButton *option : {m_first, m_second}) {
        QFont f = option->font();
        f.setBold(option->isChecked());
        option->setFont(f);
    }
}
