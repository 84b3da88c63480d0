#pragma once

#include "platform/Keyring.h"

#include <QString>

// The desktop's keyring (the Secret Service or KWallet) through QtKeychain. Its
// jobs answer through the event loop; each call waits for its job in a local loop
// of its own, at most timeoutMs, and a keyring that does not answer by then counts
// as none. The secrets are never written anywhere else.
class DesktopKeyring final : public Keyring::Store
{
public:
    // service: the name the entries are filed under in the keyring.
    explicit DesktopKeyring(const QString &service, int timeoutMs = 30000);
    ~DesktopKeyring() override;

    Keyring::Read read(const QString &key) override;
    Keyring::Written write(const QString &key, const QString &secret) override;
    Keyring::Written remove(const QString &key) override;

private:
    QString m_service;
    int m_timeoutMs;
};
