#include "platform/DesktopKeyring.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace {

// Runs job and waits for its end; false when it did not end in time. A job that
// ends is the caller's to delete; one that is still waiting on the keyring is left
// to delete itself whenever its answer comes, which then reaches no one.
bool finishes(QKeychain::Job *job, int timeoutMs)
{
    job->setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    const QMetaObject::Connection done = QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(done);
    if (!finished)
        job->setAutoDelete(true);
    return finished;
}

Keyring::Outcome outcomeOf(const QKeychain::Job &job)
{
    switch (job.error()) {
    case QKeychain::NoError:
        return Keyring::Outcome::Done;
    case QKeychain::EntryNotFound:
        return Keyring::Outcome::NotFound;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        return Keyring::Outcome::NoKeyring;
    default:
        return Keyring::Outcome::Failed;
    }
}

} // namespace

DesktopKeyring::DesktopKeyring(const QString &service, int timeoutMs)
    : m_service(service)
    , m_timeoutMs(timeoutMs)
{
    Keyring::install(this);
}

DesktopKeyring::~DesktopKeyring()
{
    if (&Keyring::current() == this)
        Keyring::install(nullptr);
}

Keyring::Read DesktopKeyring::read(const QString &key)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    if (!finishes(job, m_timeoutMs))
        return {Keyring::Outcome::NoKeyring, {}, {}};
    const std::unique_ptr<QKeychain::ReadPasswordJob> ended(job);
    const Keyring::Outcome outcome = outcomeOf(*job);
    return {outcome, outcome == Keyring::Outcome::Done ? job->textData() : QString(), job->errorString()};
}

Keyring::Written DesktopKeyring::write(const QString &key, const QString &secret)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(secret);
    if (!finishes(job, m_timeoutMs))
        return {Keyring::Outcome::NoKeyring, {}};
    const std::unique_ptr<QKeychain::WritePasswordJob> ended(job);
    return {outcomeOf(*job), job->errorString()};
}

Keyring::Written DesktopKeyring::remove(const QString &key)
{
    auto *job = new QKeychain::DeletePasswordJob(m_service);
    job->setKey(key);
    if (!finishes(job, m_timeoutMs))
        return {Keyring::Outcome::NoKeyring, {}};
    const std::unique_ptr<QKeychain::DeletePasswordJob> ended(job);
    return {outcomeOf(*job), job->errorString()};
}
