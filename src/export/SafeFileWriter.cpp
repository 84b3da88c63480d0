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

// What producers write into: every write goes to the file whole or fails with the
// system's reason. A short write (the disk filling up midway) is no error to the
// file itself, and a writer that stops at it (QDataStream, under QPdfWriter) would
// never make the write that fails and names the reason.
class WholeWrites final : public QIODevice
{
public:
    explicit WholeWrites(QFileDevice &file) : m_file(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_failed)
            return -1;
        qint64 written = 0;
        while (written < size) {
            const qint64 n = m_file.write(data + written, size - written);
            if (n <= 0) {
                m_failed = true;
                setErrorString(m_file.errorString());
                return -1;
            }
            written += n;
        }
        return size;
    }

private:
    QFileDevice &m_file;
    bool m_failed = false;
};

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
    // Unbuffered: a write the disk refuses fails in that write, with the system's
    // reason, rather than later in a buffer flush that gives none.
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    bool opened = false;
#ifdef Q_OS_UNIX
    mode_t userUmask = 0;
    {
        PrivateCreation guard;
        userUmask = guard.saved();
        opened = file.open(mode);
    }
#else
    opened = file.open(mode);
#endif
    if (!opened)
        return fail(file.errorString());

    // A producer may miss a failed write, and commit() would rename the file anyway.
    WholeWrites device(file);
    const bool produced = produce(device);
    if (!produced || device.failed() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = device.failed() ? device.errorString() : file.errorString();
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
