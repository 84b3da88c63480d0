#include "startup/ServerAddress.h"

#include "store/Database.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace ServerAddress {
namespace {

constexpr int DefaultPort = 5432;

QString encoded(const QString &field)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(field));
}

const char *sslMode(Encryption encryption)
{
    switch (encryption) {
    case Encryption::Always: return "require";
    case Encryption::Verified: return "verify-full";
    case Encryption::WhenOffered: break;
    }
    return "prefer";
}

bool isServiceName(const QString &registerName)
{
    return registerName.trimmed().startsWith(QStringLiteral("service"), Qt::CaseInsensitive);
}

} // namespace

QString systemCaFile()
{
    // Debian and Ubuntu, Fedora and its kin, Alpine and the BSDs.
    for (const char *path : {"/etc/ssl/certs/ca-certificates.crt", "/etc/pki/tls/certs/ca-bundle.crt",
                             "/etc/ssl/cert.pem"}) {
        if (QFileInfo(QString::fromLatin1(path)).isFile())
            return QString::fromLatin1(path);
    }
    return {};
}

QString uri(const Fields &fields, const QString &caFile)
{
    if (!fields.service.trimmed().isEmpty())
        return QStringLiteral("service=") + fields.service.trimmed();
    QStringList query;
    QString authority;
    const QString host = fields.host.trimmed();
    // A name or an address goes where a reader expects it; anything else (a
    // socket folder) is no valid URI host and goes in the query, as libpq allows.
    static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9.-]+$"));
    static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f:.]+$"));
    const bool inAuthority = hostName.match(host).hasMatch() || (host.contains(u':') && ipv6.match(host).hasMatch());
    if (host.isEmpty()) {
        if (fields.port != DefaultPort && fields.port > 0)
            query << QStringLiteral("port=") + QString::number(fields.port);
    } else if (inAuthority) {
        authority = host.contains(u':') ? u'[' + host + u']' : host;
        if (fields.port != DefaultPort && fields.port > 0)
            authority += u':' + QString::number(fields.port);
    } else {
        query << QStringLiteral("host=") + encoded(host);
        if (fields.port != DefaultPort && fields.port > 0)
            query << QStringLiteral("port=") + QString::number(fields.port);
    }
    if (!fields.user.isEmpty())
        authority.prepend(encoded(fields.user) + u'@');
    query << QStringLiteral("sslmode=") + QLatin1String(sslMode(fields.encryption));
    if (fields.encryption == Encryption::Verified && !caFile.isEmpty())
        query << QStringLiteral("sslrootcert=") + encoded(caFile);
    return QStringLiteral("postgresql://") + authority + u'/' + encoded(fields.database) + u'?' + query.join(u'&');
}

std::optional<Fields> fields(const QString &registerName)
{
    if (!Database::isServerRegister(registerName))
        return std::nullopt;
    Fields found;
    if (isServiceName(registerName)) {
        found.service = registerName.mid(registerName.indexOf(u'=') + 1).trimmed();
        return found;
    }
    const QUrl url(registerName.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QUrlQuery query(url);
    found.host = url.host(QUrl::FullyDecoded);
    if (found.host.isEmpty())
        found.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    found.port = url.port(query.queryItemValue(QStringLiteral("port")).toInt());
    if (found.port <= 0)
        found.port = DefaultPort;
    found.database = url.path(QUrl::FullyDecoded).mid(1);
    if (found.database.isEmpty())
        found.database = query.queryItemValue(QStringLiteral("dbname"), QUrl::FullyDecoded);
    found.user = url.userName(QUrl::FullyDecoded);
    if (found.user.isEmpty())
        found.user = query.queryItemValue(QStringLiteral("user"), QUrl::FullyDecoded);
    const QString mode = query.queryItemValue(QStringLiteral("sslmode"));
    found.encryption = mode == u"verify-full" ? Encryption::Verified
                       : mode == u"require"   ? Encryption::Always
                                              : Encryption::WhenOffered;
    return found;
}

QString withPassword(const QString &registerName, const QString &password)
{
    if (password.isEmpty() || isServiceName(registerName) || !Database::isServerRegister(registerName))
        return registerName;
    QUrl url(registerName.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return registerName;
    // In the user information, where the store takes it out of every name it shows.
    url.setPassword(password, QUrl::DecodedMode);
    return url.toString(QUrl::FullyEncoded);
}

QString shownName(const QString &registerName)
{
    const std::optional<Fields> found = fields(registerName);
    if (!found)
        return registerName;
    if (!found->service.isEmpty())
        return QStringLiteral("service=") + found->service;
    QString host = found->host.isEmpty() ? QStringLiteral("localhost") : found->host;
    if (found->port != DefaultPort)
        host += u':' + QString::number(found->port);
    // libpq's own default: a database named as the user.
    const QString database = found->database.isEmpty() ? found->user : found->database;
    return host + u'/' + database;
}

} // namespace ServerAddress
