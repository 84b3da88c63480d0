#pragma once

#include "store/Backups.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>

#include <optional>

class Session;

// Where the session's backups go: the folder chosen in the preferences, or
// "backups" beside the register.
QString backupFolder(const Session &session);

// When a backup was made, as the list and the questions show it: the short date
// and the time with its seconds, since backups of one minute must read apart.
QString backupMomentText(const QDateTime &moment, const QLocale &locale = QLocale());

// A backup that failed, as a sentence naming the file; empty when it was made.
QString backupFailureSentence(const Backups::Outcome &outcome);

// The newest backup of the folder whose check says ok.
std::optional<Backups::Entry> newestGoodBackup(const QString &folder);

// Replaces the session's register with a backup (see Backups::restore), then
// reads the active sheet again and announces the whole register as changed, so
// every window shows the restored file. The sentence says how it went.
struct BackupRestore
{
    bool restored = false;
    QString text;
};
BackupRestore restoreBackup(Session &session, const QString &backupPath, bool currentDamaged = false,
                            const QDateTime &now = QDateTime::currentDateTime());

// When the register is backed up, if the preferences have backups on: at the
// first start of each day, and at exit when something was changed since the
// start. Never on a server, which keeps its own backups.
class BackupSchedule final : public QObject
{
    Q_OBJECT

public:
    explicit BackupSchedule(Session &session, QObject *parent = nullptr);

    // Each returns a failure's sentence, empty when a backup was made or none was due.
    QString atStart(const QDateTime &now = QDateTime::currentDateTime());
    QString atExit(const QDateTime &now = QDateTime::currentDateTime());

private:
    QString backUp(const QDateTime &now);

    Session &m_session;
    bool m_changed = false;
};
