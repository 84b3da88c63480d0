#include "startup/BackupSchedule.h"

#include "platform/Clock.h"
#include "platform/DateFormat.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/Register.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString databasePath(const Session &session)
{
    return Database::dataSource(session.connectionString());
}

} // namespace

QString backupFolder(const Session &session)
{
    const QString chosen = session.settings().text(Setting::BackupFolder).trimmed();
    return chosen.isEmpty() ? Backups::defaultFolder(session.databaseFolder()) : chosen;
}

QString backupMomentText(const QDateTime &moment, const QLocale &locale)
{
    QString time = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype minutes = time.indexOf(QStringLiteral("mm"));
    if (!time.contains(QStringLiteral("ss")) && minutes > 0)
        time.insert(minutes + 2, time.at(minutes - 1) + QStringLiteral("ss"));
    return shortDateText(moment.date(), locale) + u' ' + locale.toString(moment.time(), time);
}

QString backupFailureSentence(const Backups::Outcome &outcome)
{
    using Failure = Backups::Outcome::Failure;
    switch (outcome.failure) {
    case Failure::None:
        return {};
    case Failure::Folder:
        return Texts::text(2832).arg(native(QFileInfo(outcome.path).absolutePath()), outcome.detail);
    case Failure::Damaged:
        return Texts::text(2831).arg(native(outcome.path), outcome.detail);
    case Failure::Copy:
    case Failure::Replace:
        break;
    }
    return Texts::text(2830).arg(native(outcome.path), outcome.detail);
}

std::optional<Backups::Entry> newestGoodBackup(const QString &folder)
{
    for (const Backups::Entry &entry : Backups::list(folder)) {
        if (entry.deadlines >= 0 && Backups::verify(entry.path).isEmpty())
            return entry;
    }
    return std::nullopt;
}

BackupRestore restoreBackup(Session &session, const QString &backupPath, bool currentDamaged, const QDateTime &now)
{
    using Failure = Backups::Outcome::Failure;
    const Backups::Outcome outcome =
        Backups::restore(databasePath(session), backupPath, backupFolder(session), now, currentDamaged);
    // "Nothing was restored: the register is as it was."
    const QString unchanged = u'\n' + Texts::text(2847);
    if (outcome.failure == Failure::Damaged && outcome.path == backupPath)
        return {false, Texts::text(2846).arg(native(backupPath), outcome.detail) + unchanged};
    if (outcome.failure == Failure::Replace)
        return {false, Texts::text(2845).arg(native(backupPath), outcome.detail) + unchanged};
    if (!outcome.ok())
        return {false, backupFailureSentence(outcome) + unchanged};

    BackupRestore done{true, Texts::text(2844).arg(native(backupPath)) + u'\n'
                                 + Texts::text(2859).arg(native(outcome.path))};
    if (currentDamaged)
        return done;   // start-up opens the file again from the start
    try {
        session.loadActiveSheet();
    } catch (const DbError &) {
        // The windows read the file again and say what they find.
    }
    Register &changes = session.deadlineRegister();
    emit changes.sheetsChanged();
    emit changes.counterpartiesChanged();
    emit changes.activeSheetChanged(session.activeSheetId());
    return done;
}

BackupSchedule::BackupSchedule(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    Register &changes = session.deadlineRegister();
    const auto changed = [this] { m_changed = true; };
    connect(&changes, &Register::deadlinesChanged, this, changed);
    connect(&changes, &Register::counterpartiesChanged, this, changed);
    connect(&changes, &Register::sheetsChanged, this, changed);
}

QString BackupSchedule::atStart(const QDateTime &now)
{
    // A register on a server is the server's to back up: there is no file to copy.
    if (m_session.onServer())
        return {};
    const QString today = Clock::today().toString(Qt::ISODate);
    if (m_session.settings().integer(Setting::BackupsOn) != 1
        || m_session.settings().text(Setting::BackupDay) == today)
        return {};
    const QString failure = backUp(now);
    if (failure.isEmpty()) {
        try {
            m_session.settings().setText(Setting::BackupDay, today);
        } catch (const SettingsStore::WriteError &) {
            // Another backup at the next start is no harm.
        }
    }
    return failure;
}

QString BackupSchedule::atExit(const QDateTime &now)
{
    if (!m_changed || m_session.onServer() || m_session.settings().integer(Setting::BackupsOn) != 1)
        return {};
    return backUp(now);
}

QString BackupSchedule::backUp(const QDateTime &now)
{
    const int kept = std::max(1, m_session.settings().integer(Setting::BackupsKept));
    const Backups::Outcome outcome = Backups::make(databasePath(m_session), backupFolder(m_session), now, kept);
    if (outcome.ok())
        m_changed = false;
    return backupFailureSentence(outcome);
}
