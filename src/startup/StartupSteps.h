#pragma once

#include <QString>

// The part of start-up that needs no window: shared variables, language, the
// database (provisioned when missing), schema upgrade and the active sheet.
enum class SessionOutcome {
    Ready,     // the main window may open
    Ended,     // no usable database: the user was told (and offered another folder when none opened)
};

SessionOutcome PrepareSession(const QString &localeLanguageCode);

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
    struct Impl;
    Impl *d;
    bool m_acquired = false;
};
