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

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};
