#include "store/Backups.h"

#include "store/Statements.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QRegularExpression &backupName()
{
    static const QRegularExpression name(QStringLiteral("^orvel2-(\\d{8}-\\d{6})\\.mdb$"));
    return name;
}

const QString PartialSuffix = QStringLiteral(".partial");

QString systemWords()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// One engine connection, closed with the object.
struct Handle
{
    sqlite3 *db = nullptr;
    Handle() = default;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { close(); }
    int open(const QString &path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
        if (db)
            sqlite3_busy_timeout(db, 1000);
        return rc;
    }
    int close()
    {
        const int rc = db ? sqlite3_close(db) : SQLITE_OK;
        db = nullptr;
        return rc;
    }
    QString words(int rc) const
    {
        return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    }
};

bool syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// A new empty file only this user may read; false with errno set when it exists.
bool createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

// Copies a database into the empty file `to` through the online backup, which
// reads a consistent state even while another connection writes, and syncs it.
// Empty when done; otherwise the engine's words.
QString copyDatabase(const QString &from, int fromFlags, const QString &to)
{
    Handle source;
    int rc = source.open(from, fromFlags);
    if (rc != SQLITE_OK)
        return source.words(rc);
    sqlite3_exec(source.db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
    Handle target;
    rc = target.open(to, SQLITE_OPEN_READWRITE);
    if (rc != SQLITE_OK)
        return target.words(rc);
    // No journal for a file that is renamed into place only once complete and synced.
    sqlite3_exec(target.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_backup *backup = sqlite3_backup_init(target.db, "main", source.db, "main");
    if (!backup)
        return target.words(SQLITE_ERROR);
    QElapsedTimer waited;
    waited.start();
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(20);
    } while ((rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < 5000);
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return rc == SQLITE_OK ? QString::fromUtf8(sqlite3_errstr(SQLITE_BUSY)) : target.words(rc);
    if (finished != SQLITE_OK)
        return target.words(finished);
    rc = target.close();
    if (rc != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errstr(rc));
    if (!syncPath(to, O_RDONLY))
        return systemWords();
    return {};
}

bool removeFile(const QString &path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

// Backups of the folder by name, which sorts them by moment: oldest first.
QStringList backupNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("orvel2-*.mdb")}, QDir::Files, QDir::Name);
    names.removeIf([](const QString &name) { return !backupName().match(name).hasMatch(); });
    return names;
}

QString ensureFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists()) {
        if (!QDir().mkpath(folder))
            return systemWords();
        // Backups hold the whole register: only this user may list them.
        ::chmod(QFile::encodeName(folder).constData(), 0700);
        return {};
    }
    if (!info.isDir())
        return QString::fromLocal8Bit(std::strerror(ENOTDIR));
    if (!info.isWritable() || !info.isExecutable())
        return QString::fromLocal8Bit(std::strerror(EACCES));
    return {};
}

// Where a register too damaged to back up is kept before a restore replaces it.
QString damagedCopyPath(const QString &databasePath, const QDateTime &now)
{
    const QFileInfo file(databasePath);
    const QString stem = file.absolutePath() + QStringLiteral("/orvel2 before restore ")
                         + now.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    QString path = stem + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral(" (%1).mdb").arg(n);
    return path;
}

} // namespace

QString Backups::defaultFolder(const QString &databaseFolder)
{
    return QDir(databaseFolder).filePath(QStringLiteral("backups"));
}

QString Backups::fileName(const QDateTime &moment)
{
    return QStringLiteral("orvel2-") + moment.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".mdb");
}

QDateTime Backups::momentOf(const QString &fileName)
{
    const QRegularExpressionMatch match = backupName().match(fileName);
    if (!match.hasMatch())
        return {};
    return QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
}

QString Backups::verify(const QString &path)
{
    Handle file;
    int rc = file.open(path, SQLITE_OPEN_READONLY);
    if (rc != SQLITE_OK)
        return file.words(rc);
    // Mapped, the check's many lookups of index pages cost no read calls: a third faster.
    sqlite3_exec(file.db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
    sqlite3_stmt *statement = nullptr;
    rc = sqlite3_prepare_v2(file.db, "PRAGMA integrity_check(3)", -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return file.words(rc);
    QStringList verdict;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        verdict.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        return file.words(rc);
    if (verdict != QStringList{QStringLiteral("ok")})
        return verdict.join(u'\n');
    // A sound file that is no register is no backup either.
    const QByteArray contents = storeStatement(QStringLiteral("QSQLITE"), "backup-contents").toUtf8();
    rc = sqlite3_prepare_v2(file.db, contents.constData(), -1, &statement, nullptr);
    const QString refused = rc == SQLITE_OK ? QString() : file.words(rc);
    sqlite3_finalize(statement);
    return refused;
}

void Backups::rotate(const QString &folder, int keep)
{
    if (keep <= 0)
        return;
    const QStringList names = backupNames(folder);
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        removeFile(QDir(folder).filePath(names.at(i)));
}

QList<Backups::Entry> Backups::list(const QString &folder)
{
    QList<Entry> entries;
    const QByteArray contents = storeStatement(QStringLiteral("QSQLITE"), "backup-contents").toUtf8();
    const QStringList names = backupNames(folder);
    for (auto name = names.crbegin(); name != names.crend(); ++name) {
        Entry entry;
        entry.path = QDir(folder).filePath(*name);
        entry.made = momentOf(*name);
        entry.size = QFileInfo(entry.path).size();
        Handle file;
        sqlite3_stmt *statement = nullptr;
        if (file.open(entry.path, SQLITE_OPEN_READONLY) == SQLITE_OK
            && sqlite3_prepare_v2(file.db, contents.constData(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW) {
            entry.deadlines = sqlite3_column_int(statement, 0);
            entry.sheets = sqlite3_column_int(statement, 1);
        }
        sqlite3_finalize(statement);
        entries.append(entry);
    }
    return entries;
}

Backups::Outcome Backups::make(const QString &databasePath, const QString &folder, const QDateTime &now, int keep)
{
    using Failure = Outcome::Failure;
    const QDir dir(folder);
    QDateTime moment = now;
    QString path = dir.filePath(fileName(moment));
    QString error = ensureFolder(folder);
    if (!error.isEmpty())
        return {Failure::Folder, path, error};
    // What a copy cut short by a crash left behind.
    for (const QString &left : dir.entryList({QStringLiteral("orvel2-*.mdb") + PartialSuffix + u'*'}, QDir::Files))
        removeFile(dir.filePath(left));
    while (QFileInfo::exists(path)) {
        moment = moment.addSecs(1);
        path = dir.filePath(fileName(moment));
    }
    const QString partial = path + PartialSuffix;
    if (!createPrivateFile(partial))
        return {Failure::Folder, path, systemWords()};
    error = copyDatabase(databasePath, SQLITE_OPEN_READWRITE, partial);
    if (!error.isEmpty()) {
        removeFile(partial);
        return {Failure::Copy, path, error};
    }
    error = verify(partial);
    if (!error.isEmpty()) {
        removeFile(partial);
        return {Failure::Damaged, path, error};
    }
    if (::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0) {
        error = systemWords();
        removeFile(partial);
        return {Failure::Folder, path, error};
    }
    syncPath(folder, O_RDONLY | O_DIRECTORY);
    rotate(folder, keep);
    return {Failure::None, path, {}};
}

Backups::Outcome Backups::restore(const QString &databasePath, const QString &backupPath, const QString &folder,
                                  const QDateTime &now, bool currentDamaged)
{
    using Failure = Outcome::Failure;
    QString error = verify(backupPath);
    if (!error.isEmpty())
        return {Failure::Damaged, backupPath, error};

    Outcome saved = make(databasePath, folder, now, 0);
    if (!saved.ok()) {
        if (!currentDamaged)
            return saved;
        // The engine cannot read it whole: its bytes are kept as they are.
        saved.path = damagedCopyPath(databasePath, now);
        QFile original(databasePath);
        if (!original.copy(saved.path))
            return {Failure::Copy, saved.path, original.errorString()};
    }

    const QString temporary = databasePath + QStringLiteral(".restoring");
    removeFile(temporary);
    if (!createPrivateFile(temporary))
        return {Failure::Replace, saved.path, systemWords()};
    error = copyDatabase(backupPath, SQLITE_OPEN_READONLY, temporary);
    if (error.isEmpty()) {
        // A journal beside the register belongs to the register: the engine would
        // play it back into the restored file.
        const QFileInfo journal(databasePath + QStringLiteral("-journal"));
        if (journal.exists() && journal.size() > 0)
            error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(journal.filePath()),
                                                  QString::fromLocal8Bit(std::strerror(EBUSY)));
    }
    if (error.isEmpty()) {
        if (QFileInfo::exists(databasePath))
            QFile::setPermissions(temporary, QFile::permissions(databasePath));
        if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(databasePath).constData()) != 0)
            error = systemWords();
    }
    if (!error.isEmpty()) {
        removeFile(temporary);
        return {Failure::Replace, saved.path, error};
    }
    removeFile(databasePath + QStringLiteral("-journal"));
    syncPath(QFileInfo(databasePath).absolutePath(), O_RDONLY | O_DIRECTORY);
    return {Failure::None, saved.path, {}};
}
