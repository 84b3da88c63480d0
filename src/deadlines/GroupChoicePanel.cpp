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
    auto *ok = new QPushButton(Texts::text(confirmId), this);
    ok->setObjectName(QStringLiteral("confirmButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(Texts::text(1109), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
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
    connect(ok, &QPushButton::clicked, this, [this] {
        m_choice = m_first->isChecked() ? GroupChoiceFirst : GroupChoiceSecond;
        m_dialog->accept();
    });
    // Cancel, and Esc through the dialog's reject, leave the answer at 0.
    connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    connect(dialog, &QDialog::rejected, this, [this] { m_choice = GroupChoiceCancelled; });
}

void GroupChoicePanel::markChosen()
{
    for (QRadioButton *option : {m_first, m_second}) {
        QFont f = option->font();
        f.setBold(option->isChecked());
        option->setFont(f);
    }
}
