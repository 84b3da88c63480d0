#pragma once

#include <QString>

#include <optional>

// A register on a PostgreSQL server as the program stores it (appset_register):
// a libpq URI, or "service=name" from pg_service.conf, never with a password.
// The password joins it only on its way to the driver (withPassword).
namespace ServerAddress {

// sslmode: prefer (libpq's own default), require, or verify-full against the
// system's certificate authorities.
enum class Encryption { WhenOffered, Always, Verified };

struct Fields
{
    QString service;   // when set, pg_service.conf names everything else
    QString host;      // a name, an address, or a socket folder ("/run/postgresql")
    int port = 5432;
    QString database;
    QString user;
    Encryption encryption = Encryption::WhenOffered;
};

// The system's bundle of certificate authorities; empty when none is found.
QString systemCaFile();

// The register's name for the fields, every field percent-encoded. caFile: the
// certificate authorities a verified connection checks against.
QString uri(const Fields &fields, const QString &caFile = systemCaFile());
// The fields of a stored name, for the dialog that edits it; none when the name
// is no server register.
std::optional<Fields> fields(const QString &registerName);

// The name with the password in it, for the driver alone: a connection string
// that holds it is never stored, shown or logged (the store names a register
// without its password). A service's password comes from pg_service.conf or
// ~/.pgpass, so a service name is returned as it is.
QString withPassword(const QString &registerName, const QString &password);

// How messages and the status bar name the register: "host/database", with the
// port when it is not the default, or "service=name".
QString shownName(const QString &registerName);

} // namespace ServerAddress
