#include "export/SafeFileWriter.h"

#include <QDir>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Holds the process umask at "owner only" while the temporary file is created, so
// nobody else can open it before its contents are complete, whatever the user's
// umask says. The program runs on one thread, so nothing else creates files meanwhile.
class PrivateCreation
{
public:
    PrivateCreation() : m_saved(::umask(0077)) {}
    ~PrivateCreation() { ::umask(m_saved); }
    PrivateCreation(const PrivateCreation &) = delete;
    PrivateCreation &operator=(const PrivateCreation &) = delete;
    mode_t saved() const { return m_saved; }

private:
    mode_t m_saved;
};

QFileDevice::Permissions permissionsFromMode(mode_t mode)
{
    QFileDevice::Permissions p;
    if (mode & S_IRUSR) p |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & S_IWUSR) p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & S_IRGRP) p |= QFileDevice::ReadGroup;
    if (mode & S_IWGRP) p |= QFileDevice::WriteGroup;
    if (mode & S_IROTH) p |= QFileDevice::ReadOther;
    if (mode & S_IWOTH) p |= QFileDevice::WriteOther;
    return p;
}
#endif

} // namespace

SafeFileWriter::SafeFileWriter(const QString &path)
    : m_path(path)
{
}

bool SafeFileWriter::fail(const QString &reason)
{
    m_errorText = QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + reason;
    return false;
}

bool SafeFileWriter::writeAll(QIODevice &device, QByteArrayView bytes)
{
    // A short write (the disk filled up midway) is no error yet to the device;
    // the next write fails and names the reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = device.write(bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

bool SafeFileWriter::write(const QByteArray &bytes)
{
    return write([&bytes](QIODevice &device) { return writeAll(device, bytes); });
}

bool SafeFileWriter::write(const std::function<bool(QIODevice &device)> &produce)
{
    m_errorText.clear();
    const bool existed = QFileInfo::exists(m_path);
    QSaveFile file(m_path);
    bool opened = false;
#ifdef Q_OS_UNIX
    mode_t userUmask = 0;
    {
        PrivateCreation guard;
        userUmask = guard.saved();
        opened = file.open(QIODevice::WriteOnly);
    }
#else
    opened = file.open(QIODevice::WriteOnly);
#endif
    if (!opened)
        return fail(file.errorString());

    if (!produce(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
#ifdef Q_OS_UNIX
    // A new file gets the permissions any file of the user gets; a replaced one
    // already carries the old file's permissions.
    if (!existed)
        file.setPermissions(permissionsFromMode(0666 & ~userUmask));
#else
    Q_UNUSED(existed);
#endif
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
