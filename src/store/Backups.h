#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Copies of the register known to be good: each one is taken through the
// engine's online backup (a file copy of a file in use may catch it half-written),
// opened again read-only and kept only when its integrity check says ok. A copy
// is written under a temporary name and renamed when checked, and a restore
// writes beside the register and renames over it, so that a crash at any moment
// leaves the register and every earlier backup as they were.
namespace Backups {

// "backups" beside the register: where backups go unless another folder is chosen.
QString defaultFolder(const QString &databaseFolder);
// orvel2-YYYYMMDD-HHMMSS.mdb
QString fileName(const QDateTime &moment);
// The moment a backup's file name holds; invalid for any other name.
QDateTime momentOf(const QString &fileName);

// What became of one backup or restore.
struct Outcome
{
    enum class Failure {
        None,
        Folder,     // the backup folder could not be made or written; detail says why
        Copy,       // the engine could not copy the file; detail has its words
        Damaged,    // the copy's integrity check failed; the copy is gone
        Replace,    // the register could not be replaced (restore only)
    };
    Failure failure = Failure::None;
    QString path;     // the backup made, or the one that was to be made
    QString detail;   // the engine's or the file system's words
    bool ok() const { return failure == Failure::None; }
};

// Copies the database file into folder (made 0700 when missing) as a 0600 file
// named for now (a later second when that name is taken), checks the copy, then
// keeps the newest `keep` backups of the folder (0: all).
Outcome make(const QString &databasePath, const QString &folder, const QDateTime &now, int keep);

// Empty when the file opens read-only and PRAGMA integrity_check says ok;
// otherwise the engine's first words about what is wrong.
QString verify(const QString &path);

// Deletes all but the newest `keep` backups of the folder; other files stay.
void rotate(const QString &folder, int keep);

struct Entry
{
    QString path;
    QDateTime made;
    qint64 size = 0;
    int deadlines = -1;   // -1: the file could not be read
    int sheets = -1;
};
// The folder's backups, newest first, with what each holds.
QList<Entry> list(const QString &folder);

// Replaces the database file with the backup after checking it: first the
// register as it is is backed up into folder (not rotated, so no backup goes
// while one is restored); a register too damaged for that is kept byte for byte
// beside itself instead (Outcome::path names it). Then the backup is written
// beside the register, synced and renamed over it. Outcome::path names the
// backup of the previous register, or the backup refused (Failure::Damaged);
// on failure the register is as it was.
Outcome restore(const QString &databasePath, const QString &backupPath, const QString &folder,
                const QDateTime &now, bool currentDamaged = false);

} // namespace Backups
