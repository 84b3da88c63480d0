#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;
class Session;

// The preferences: layout memory, group totals, recurrence counters, the
// warning days and the desktop notifications. Save stores them at once and
// updates the session's display options; Cancel leaves both as they were.
class PreferencesDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit PreferencesDialog(Session &session, QWidget *parent = nullptr);

    // Stores the choices and closes; with the warning on and a day count that is
    // not a whole number, stays open with the focus in the day field.
    void save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void setWarnControlsEnabled(bool enabled);
    void warnToggled(bool checked);
    void stepDays(int delta);

    Session &m_session;
    QCheckBox *m_saveLayout = nullptr;
    QCheckBox *m_groupTotals = nullptr;
    QCheckBox *m_groupCounters = nullptr;
    QCheckBox *m_warn = nullptr;
    QLineEdit *m_warnDays = nullptr;
    QToolButton *m_daysUp = nullptr;
    QToolButton *m_daysDown = nullptr;
    QLabel *m_warnText = nullptr;

    // The desktop notifications and the login check that sends them.
    QWidget *buildNotificationOptions();
    void loadNotificationOptions();
    bool saveNotificationOptions();
    QCheckBox *m_notifications = nullptr;
    QCheckBox *m_loginCheck = nullptr;
    // Backups: on or off, how many are kept, the folder (empty: beside the register).
    QWidget *buildBackupGroup();
    void loadBackupChoices();
    void storeBackupChoices();
    QCheckBox *m_backupsOn = nullptr;
    QSpinBox *m_backupsKept = nullptr;
    QLineEdit *m_backupFolder = nullptr;
};
