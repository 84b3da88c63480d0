#include "platform/Keyring.h"

namespace Keyring {
namespace {

class NoKeyring final : public Store
{
public:
    Read read(const QString &) override { return {Outcome::NoKeyring, {}, {}}; }
    Written write(const QString &, const QString &) override { return {Outcome::NoKeyring, {}}; }
    Written remove(const QString &) override { return {Outcome::NoKeyring, {}}; }
};

NoKeyring g_none;
Store *g_current = nullptr;

} // namespace

Store &current() { return g_current ? *g_current : g_none; }
void install(Store *s) { g_current = s; }

MemoryKeyring::MemoryKeyring() { install(this); }

MemoryKeyring::~MemoryKeyring()
{
    if (g_current == this)
        install(nullptr);
}

Read MemoryKeyring::read(const QString &key)
{
    if (!available)
        return {Outcome::NoKeyring, {}, {}};
    if (!secrets.contains(key))
        return {Outcome::NotFound, {}, {}};
    return {Outcome::Done, secrets.value(key), {}};
}

Written MemoryKeyring::write(const QString &key, const QString &secret)
{
    if (!available)
        return {Outcome::NoKeyring, {}};
    secrets.insert(key, secret);
    return {};
}

Written MemoryKeyring::remove(const QString &key)
{
    if (!available)
        return {Outcome::NoKeyring, {}};
    return {secrets.remove(key) > 0 ? Outcome::Done : Outcome::NotFound, {}};
}

} // namespace Keyring
