#include "alerts/PreferencesDialog.h"

#include "alerts/DueDeadlines.h"
#include "alerts/LoginCheck.h"
#include "platform/Prompts.h"
#include "startup/BackupSchedule.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

QCheckBox *checkBox(QWidget *parent, const char *name, int textId)
{
    auto *box = new QCheckBox(Texts::text(textId), parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

PreferencesDialog::PreferencesDialog(Session &session, QWidget *parent)
    // No Close button: the dialog ends through Save, Cancel or Esc.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_session(session)
{
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(Texts::text(1210));   // "Preferences"

    auto *general = new QGroupBox(Texts::text(1211), this);   // "Global settings"
    auto *generalLayout = new QVBoxLayout(general);
    m_saveLayout = checkBox(general, "saveLayoutBox", 1212);
    generalLayout->addWidget(m_saveLayout);

    auto *list = new QGroupBox(Texts::text(1213), this);      // "Deadlines data sheet"
    auto *listLayout = new QGridLayout(list);
    m_groupTotals = checkBox(list, "groupTotalsBox", 1214);
    m_groupCounters = checkBox(list, "groupCountersBox", 1215);
    m_warn = checkBox(list, "warnBox", 1216);
    m_warnDays = new QLineEdit(list);
    m_warnDays->setObjectName(QStringLiteral("warnDaysField"));
    m_warnDays->setMaxLength(3);
    m_warnDays->setFixedWidth(m_warnDays->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    m_warnDays->setAlignment(Qt::AlignRight);
    // Up and Down in the field step the days, so the arrows stay out of the Tab order.
    m_warnDays->installEventFilter(this);
    m_daysUp = new QToolButton(list);
    m_daysUp->setObjectName(QStringLiteral("warnDaysUp"));
    m_daysUp->setArrowType(Qt::UpArrow);
    m_daysUp->setAutoRepeat(true);
    m_daysUp->setFocusPolicy(Qt::NoFocus);
    m_daysUp->setAccessibleName(Texts::text(2782));     // "Increase the warning days"
    m_daysUp->setToolTip(m_daysUp->accessibleName());
    m_daysDown = new QToolButton(list);
    m_daysDown->setObjectName(QStringLiteral("warnDaysDown"));
    m_daysDown->setArrowType(Qt::DownArrow);
    m_daysDown->setAutoRepeat(true);
    m_daysDown->setFocusPolicy(Qt::NoFocus);
    m_daysDown->setAccessibleName(Texts::text(2783));   // "Decrease the warning days"
    m_daysDown->setToolTip(m_daysDown->accessibleName());
    connect(m_daysUp, &QToolButton::clicked, this, [this] { stepDays(1); });
    connect(m_daysDown, &QToolButton::clicked, this, [this] { stepDays(-1); });
    m_warnText = new QLabel(Texts::text(1217), list);
    m_warnText->setObjectName(QStringLiteral("warnText"));
    m_warnText->setWordWrap(true);
    m_warnText->setBuddy(m_warnDays);

    auto *warnRow = new QHBoxLayout;
    warnRow->setSpacing(2);
    warnRow->addWidget(m_warn);
    warnRow->addSpacing(6);
    warnRow->addWidget(m_warnDays);
    warnRow->addWidget(m_daysUp);
    warnRow->addWidget(m_daysDown);
    warnRow->addSpacing(6);
    warnRow->addWidget(m_warnText, 1);
    listLayout->addWidget(m_groupTotals, 0, 0);
    listLayout->addWidget(m_groupCounters, 1, 0);
    listLayout->addLayout(warnRow, 2, 0);

    auto *saveButton = new QPushButton(Texts::text(1108), this);     // "Save"
    saveButton->setObjectName(QStringLiteral("saveButton"));
    saveButton->setDefault(true);
    auto *cancelButton = new QPushButton(Texts::text(1109), this);   // "Cancel"
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(saveButton, &QPushButton::clicked, this, &PreferencesDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(list);
    layout->addWidget(buildNotificationOptions());
    layout->addWidget(buildBackupGroup());
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(m_warn, &QCheckBox::toggled, this, &PreferencesDialog::warnToggled);
    load();
}

void PreferencesDialog::load()
{
    const SettingsStore &settings = m_session.settings();
    m_saveLayout->setChecked(settings.integer(Setting::SaveLayout) == 1);
    m_groupTotals->setChecked(settings.integer(Setting::ShowGroupTotals) == 1);
    m_groupCounters->setChecked(settings.integer(Setting::ShowGroupCounters) == 1);
    const int warnDays = m_session.display().warnDays;
    const QSignalBlocker blocker(m_warn);
    m_warn->setChecked(warnDays != DueDeadlines::NoWarning);
    m_warnDays->setText(warnDays != DueDeadlines::NoWarning ? QString::number(warnDays) : QString());
    setWarnControlsEnabled(m_warn->isChecked());
    loadNotificationOptions();
    loadBackupChoices();
}

void PreferencesDialog::setWarnControlsEnabled(bool enabled)
{
    // Greyed rather than hidden, so the user sees what the box switches on.
    m_warnDays->setEnabled(enabled);
    m_daysUp->setEnabled(enabled);
    m_daysDown->setEnabled(enabled);
    m_warnText->setEnabled(enabled);
}

void PreferencesDialog::warnToggled(bool checked)
{
    setWarnControlsEnabled(checked);
    if (checked) {
        const int warnDays = m_session.display().warnDays;
        m_warnDays->setText(QString::number(warnDays == DueDeadlines::NoWarning ? 2 : warnDays));
    }
}

bool PreferencesDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_warnDays && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            stepDays(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PreferencesDialog::stepDays(int delta)
{
    const int days = DueDeadlines::warnDaysFromText(m_warnDays->text()).value_or(0) + delta;
    m_warnDays->setText(QString::number(std::clamp(days, 0, DueDeadlines::NoWarning - 1)));
}

void PreferencesDialog::save()
{
    int warnDays = DueDeadlines::NoWarning;
    if (m_warn->isChecked()) {
        const std::optional<int> typed = DueDeadlines::warnDaysFromText(m_warnDays->text());
        if (!typed) {
            m_warnDays->setFocus(Qt::OtherFocusReason);
            m_warnDays->selectAll();
            return;
        }
        warnDays = *typed;
    }
    if (!saveNotificationOptions())
        return;
    try {
        SettingsStore &settings = m_session.settings();
        settings.setInteger(Setting::SaveLayout, m_saveLayout->isChecked() ? 1 : 0);
        settings.setInteger(Setting::ShowGroupTotals, m_groupTotals->isChecked() ? 1 : 0);
        settings.setInteger(Setting::ShowGroupCounters, m_groupCounters->isChecked() ? 1 : 0);
        settings.setInteger(Setting::WarnDays, warnDays);
        storeBackupChoices();
    } catch (const std::exception &error) {
        // The choices stay on screen; the shared options change only with the store.
        Prompt::message(QString::fromLocal8Bit(error.what()), Session::AppTitle, Prompt::Icon::Critical);
        return;
    }
    Session::DisplayOptions &display = m_session.display();
    display.saveLayout = m_saveLayout->isChecked();
    display.showGroupTotals = m_groupTotals->isChecked();
    display.showGroupCounters = m_groupCounters->isChecked();
    display.warnDays = warnDays;
    accept();
}

QWidget *PreferencesDialog::buildNotificationOptions()
{
    auto *box = new QGroupBox(Texts::text(2952), this);   // "Notifications"
    auto *boxLayout = new QVBoxLayout(box);
    m_notifications = checkBox(box, "notificationsBox", 2949);
    m_loginCheck = checkBox(box, "loginCheckBox", 2950);   // "Check deadlines when I log in"
    boxLayout->addWidget(m_notifications);
    boxLayout->addWidget(m_loginCheck);
    return box;
}

void PreferencesDialog::loadNotificationOptions()
{
    m_notifications->setChecked(m_session.settings().integer(Setting::Notifications) != 0);
    // The entry itself is the choice: one removed by hand reads as off.
    m_loginCheck->setChecked(LoginCheck::isOn());
}

bool PreferencesDialog::saveNotificationOptions()
{
    // Written first: should the entry fail, nothing is stored and the dialog stays.
    if (m_loginCheck->isChecked() != LoginCheck::isOn()) {
        const QString failure = LoginCheck::setOn(m_loginCheck->isChecked(), QCoreApplication::applicationFilePath());
        if (!failure.isEmpty()) {
            Prompt::message(Texts::text(2951).arg(QDir::toNativeSeparators(LoginCheck::entryPath()), failure),
                            Session::AppTitle, Prompt::Icon::Warning);
            m_loginCheck->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    try {
        m_session.settings().setInteger(Setting::Notifications, m_notifications->isChecked() ? 1 : 0);
    } catch (const std::exception &error) {
        Prompt::message(QString::fromLocal8Bit(error.what()), Session::AppTitle, Prompt::Icon::Critical);
        return false;
    }
    return true;
}

QWidget *PreferencesDialog::buildBackupGroup()
{
    auto *group = new QGroupBox(Texts::text(2849), this);   // "Backups"
    auto *grid = new QGridLayout(group);
    m_backupsOn = checkBox(group, "backupsOnBox", 2850);
    auto *keptLabel = new QLabel(Texts::text(2851), group);
    m_backupsKept = new QSpinBox(group);
    m_backupsKept->setObjectName(QStringLiteral("backupsKeptBox"));
    m_backupsKept->setRange(1, 999);
    keptLabel->setBuddy(m_backupsKept);
    auto *folderLabel = new QLabel(Texts::text(2852), group);
    m_backupFolder = new QLineEdit(group);
    m_backupFolder->setObjectName(QStringLiteral("backupFolderField"));
    // Chosen, not typed: a folder that is not there would only fail at the next backup.
    m_backupFolder->setReadOnly(true);
    m_backupFolder->setPlaceholderText(
        Texts::text(2855).arg(QDir::toNativeSeparators(Backups::defaultFolder(m_session.databaseFolder()))));
    m_backupFolder->setToolTip(m_backupFolder->placeholderText());
    folderLabel->setBuddy(m_backupFolder);
    auto *choose = new QPushButton(Texts::text(2853), group);
    choose->setObjectName(QStringLiteral("chooseBackupFolderButton"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString chosen = Prompt::chooseFolder(Texts::text(2854));
        if (!chosen.isEmpty())
            m_backupFolder->setText(QDir::toNativeSeparators(chosen));
    });
    auto *standard = new QPushButton(Texts::text(2857), group);
    standard->setObjectName(QStringLiteral("defaultBackupFolderButton"));
    standard->setAutoDefault(false);
    connect(standard, &QPushButton::clicked, m_backupFolder, &QLineEdit::clear);
    connect(m_backupsOn, &QCheckBox::toggled, m_backupsKept, &QWidget::setEnabled);
    grid->addWidget(m_backupsOn, 0, 0, 1, 4);
    grid->addWidget(keptLabel, 1, 0);
    grid->addWidget(m_backupsKept, 1, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(folderLabel, 2, 0);
    grid->addWidget(m_backupFolder, 2, 1);
    grid->addWidget(choose, 2, 2);
    grid->addWidget(standard, 2, 3);
    grid->setColumnStretch(1, 1);
    // A register on a server is backed up on the server, not by the program.
    if (m_session.onServer()) {
        group->setEnabled(false);
        group->setToolTip(Texts::text(2964));
    }
    return group;
}

void PreferencesDialog::loadBackupChoices()
{
    const SettingsStore &settings = m_session.settings();
    m_backupsOn->setChecked(settings.integer(Setting::BackupsOn) == 1);
    m_backupsKept->setValue(std::max(1, settings.integer(Setting::BackupsKept)));
    m_backupsKept->setEnabled(m_backupsOn->isChecked());
    m_backupFolder->setText(QDir::toNativeSeparators(settings.text(Setting::BackupFolder)));
}

void PreferencesDialog::storeBackupChoices()
{
    SettingsStore &settings = m_session.settings();
    settings.setInteger(Setting::BackupsOn, m_backupsOn->isChecked() ? 1 : 0);
    settings.setInteger(Setting::BackupsKept, m_backupsKept->value());
    settings.setText(Setting::BackupFolder, QDir::fromNativeSeparators(m_backupFolder->text().trimmed()));
}
