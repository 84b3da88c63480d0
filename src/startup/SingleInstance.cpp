#include "startup/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &lockFolder)
{
    QString folder = lockFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    m_path = QDir(folder).filePath(QStringLiteral("orvel2-%1.lock").arg(user));
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock left by a crashed run names a dead process; QLockFile takes it over.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
    if (m_acquired || m_lock->error() == QLockFile::LockFailedError)
        return;
    switch (m_lock->error()) {
    case QLockFile::PermissionError:
        m_failure = QStringLiteral("permission denied");
        break;
    default:
        m_failure = QStringLiteral("the folder is full or cannot be written");
        break;
    }
}

SingleInstance::~SingleInstance() = default;
