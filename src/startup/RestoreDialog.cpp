#include "startup/RestoreDialog.h"

#include "platform/Prompts.h"
#include "startup/BackupSchedule.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

RestoreDialog::RestoreDialog(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("restoreDialog"));
    setWindowTitle(Texts::text(2834));   // "Restore from backup"

    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("folderLabel"));
    m_folderLabel->setWordWrap(true);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("backupList"));
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({Texts::text(2836), Texts::text(2837), Texts::text(2838), Texts::text(2839)});
    m_list->setAccessibleName(Texts::text(2834));
    m_folderLabel->setBuddy(m_list);

    m_restoreButton = new QPushButton(Texts::text(2841), this);
    m_restoreButton->setObjectName(QStringLiteral("restoreButton"));
    auto *closeButton = new QPushButton(Texts::text(2842), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    // Enter in the list never restores: only the button, after a question.
    m_restoreButton->setAutoDefault(false);
    closeButton->setAutoDefault(false);
    connect(m_restoreButton, &QPushButton::clicked, this, &RestoreDialog::restoreChosen);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] {
        const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
        m_restoreButton->setEnabled(row >= 0 && m_entries.at(row).deadlines >= 0);
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_restoreButton);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_folderLabel);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(620, 360);
    fill();
}

void RestoreDialog::fill()
{
    const QString folder = backupFolder(m_session);
    m_folderLabel->setText(Texts::text(2835).arg(QDir::toNativeSeparators(folder)));
    m_entries = Backups::list(folder);
    m_list->clear();
    const QLocale locale;
    for (const Backups::Entry &entry : std::as_const(m_entries)) {
        const bool readable = entry.deadlines >= 0;
        auto *item = new QTreeWidgetItem(m_list, {backupMomentText(entry.made, locale),
                                                  locale.formattedDataSize(entry.size),
                                                  readable ? locale.toString(entry.deadlines) : Texts::text(2840),
                                                  readable ? locale.toString(entry.sheets) : QString()});
        for (int column = 1; column < 4; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(0, QDir::toNativeSeparators(entry.path));
    }
    if (m_entries.isEmpty())
        new QTreeWidgetItem(m_list, {Texts::text(2856)});
    for (int column = 0; column < 4; ++column)
        m_list->resizeColumnToContents(column);
    m_list->setCurrentItem(m_entries.isEmpty() ? nullptr : m_list->topLevelItem(0));
    m_restoreButton->setEnabled(!m_entries.isEmpty() && m_entries.first().deadlines >= 0);
    m_list->setFocus();
}

void RestoreDialog::restoreChosen()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || row >= m_entries.size() || m_entries.at(row).deadlines < 0)
        return;
    const Backups::Entry entry = m_entries.at(row);
    const QLocale locale;
    const QString question = Texts::text(2843).arg(backupMomentText(entry.made, locale),
                                                   locale.toString(entry.deadlines), locale.toString(entry.sheets))
                             + u'\n' + Texts::text(2858);   // "The register as it is now is backed up first."
    if (Prompt::message(question, Session::AppTitle, Prompt::Icon::Question, Prompt::Buttons::YesNo,
                        Prompt::Default::Safe)
        != Prompt::Answer::Yes)
        return;
    const BackupRestore result = restoreBackup(m_session, entry.path);
    Prompt::message(result.text, Session::AppTitle, result.restored ? Prompt::Icon::Information : Prompt::Icon::Critical);
    if (result.restored) {
        accept();
        return;
    }
    fill();
}
