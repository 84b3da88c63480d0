#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// Writes a whole file or nothing: the bytes go to a private temporary file beside the
// target, which replaces the target only once everything is on disk. A folder that
// cannot be written, a full disk or a failed rename leave the target as it was and
// no temporary file behind, and say why.
class SafeFileWriter
{
public:
    explicit SafeFileWriter(const QString &path);

    // True when the file now holds exactly these bytes.
    bool write(const QByteArray &bytes);
    // The same for contents made while they are written: produce writes them to the
    // device and returns false when a write failed.
    bool write(const std::function<bool(QIODevice &device)> &produce);

    // Writes all of bytes to device, going on after a short write so that a failure
    // leaves the device's reason in its errorString(). For producers.
    static bool writeAll(QIODevice &device, QByteArrayView bytes);

    QString path() const { return m_path; }
    // After a failed write: the file's path and the system's reason, for the message
    // the caller shows ("/home/anna/out.txt: Permission denied").
    QString errorText() const { return m_errorText; }

private:
    bool fail(const QString &reason);

    QString m_path;
    QString m_errorText;
};
