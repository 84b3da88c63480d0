#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Holds the per-user lock that keeps a second copy of the program from starting.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &lockFolder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;
    bool acquired() const { return m_acquired; }
    // True only when another running copy holds the lock. A lock that could not
    // be made at all (a full or read-only folder) proves nothing: then this is
    // false and failure() says why.
    bool anotherRuns() const { return !m_acquired && m_failure.isEmpty(); }
    QString failure() const { return m_failure; }
    QString lockPath() const { return m_path; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
    QString m_failure;
    QString m_path;
};
