#pragma once

#include <QMap>
#include <QString>

// Where secrets (a server's password) are kept between runs: the desktop's
// keyring, never a file of the program's. The windows library installs the real
// one; tests install a MemoryKeyring, since they run with no keyring at all.
namespace Keyring {

enum class Outcome {
    Done,
    NotFound,    // read or remove: nothing kept under that key
    NoKeyring,   // the desktop has none, or it did not answer in time
    Failed,      // the keyring said no (locked, refused); detail says why
};

struct Read
{
    Outcome outcome = Outcome::NotFound;
    QString secret;
    QString detail;
};

struct Written
{
    Outcome outcome = Outcome::Done;
    QString detail;
};

class Store
{
public:
    virtual ~Store() = default;
    virtual Read read(const QString &key) = 0;
    virtual Written write(const QString &key, const QString &secret) = 0;
    virtual Written remove(const QString &key) = 0;
};

// The installed store; with none installed, a desktop without a keyring.
Store &current();
// Installs s (not owned); nullptr puts back the store that has no keyring.
void install(Store *s);

// Secrets in memory, for tests; `available` false plays a desktop without a keyring.
class MemoryKeyring final : public Store
{
public:
    MemoryKeyring();
    ~MemoryKeyring() override;

    bool available = true;
    QMap<QString, QString> secrets;

    Read read(const QString &key) override;
    Written write(const QString &key, const QString &secret) override;
    Written remove(const QString &key) override;
};

} // namespace Keyring
