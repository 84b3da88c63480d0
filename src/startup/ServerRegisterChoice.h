#pragma once

#include <QString>

class SettingsStore;

// Choosing a register on a server, without its window: trying it, and keeping it
// for the next start with its password in the desktop's keyring, never in the
// settings.
namespace ServerRegisterChoice {

// Connects once to the register (ServerAddress) with the password. The sentence
// says that it works or why not, naming the server and never the password.
struct Tried
{
    bool works = false;
    QString text;
};
Tried test(const QString &registerName, const QString &password);

// Stores the register for the next start (appset_register) and the password in
// the keyring under the register's name; an empty password leaves the keyring
// as it is. Returns what the user must be told, empty when nothing: without a
// keyring nothing is kept and ~/.pgpass is where the password goes. Throws
// SettingsStore::WriteError.
QString store(SettingsStore &settings, const QString &registerName, const QString &password);

} // namespace ServerRegisterChoice
