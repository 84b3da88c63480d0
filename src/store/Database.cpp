#include "store/Database.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

QString Database::dataSource(const QString &connectionString)
{
    // Keys a connection string may carry after the data source; a ';' followed by
    // anything else belongs to the path itself.
    static const QStringList knownKeys = {
        QStringLiteral("provider"), QStringLiteral("data source"), QStringLiteral("persist security info"),
        QStringLiteral("user id"), QStringLiteral("password"), QStringLiteral("mode"),
        QStringLiteral("jet oledb:"), QStringLiteral("extended properties"), QStringLiteral("locale identifier"),
        QStringLiteral("initial catalog"), QStringLiteral("user name"),
    };
    auto startsKey = [](QStringView rest) {
        const QStringView trimmed = rest.trimmed();
        for (const QString &key : knownKeys) {
            if (trimmed.startsWith(key, Qt::CaseInsensitive)) {
                if (key.endsWith(u':'))
                    return true;
                const QStringView after = trimmed.mid(key.size()).trimmed();
                if (after.startsWith(u'='))
                    return true;
            }
        }
        return false;
    };

    const QString cs = connectionString;
    qsizetype i = 0;
    while (i < cs.size()) {
        while (i < cs.size() && (cs[i].isSpace() || cs[i] == u';'))
            ++i;
        const qsizetype eq = cs.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = cs.mid(i, eq - i).trimmed().toLower();
        qsizetype v = eq + 1;
        while (v < cs.size() && cs[v].isSpace())
            ++v;
        QString value;
        if (v < cs.size() && (cs[v] == u'"' || cs[v] == u'\'')) {
            const QChar quote = cs[v];
            qsizetype k = v + 1;
            while (k < cs.size()) {
                if (cs[k] == quote) {
                    if (k + 1 < cs.size() && cs[k + 1] == quote) {
                        value += quote;
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                value += cs[k++];
            }
            const qsizetype semi = cs.indexOf(u';', k);
            i = semi < 0 ? cs.size() : semi + 1;
        } else {
            qsizetype k = v;
            qsizetype end = cs.size();
            while (true) {
                const qsizetype semi = cs.indexOf(u';', k);
                if (semi < 0)
                    break;
                if (startsKey(QStringView(cs).mid(semi + 1)) || QStringView(cs).mid(semi + 1).trimmed().isEmpty()) {
                    end = semi;
                    break;
                }
                k = semi + 1;
            }
            value = cs.mid(v, end - v).trimmed();
            i = end + 1;
        }
        if (key == u"data source")
            return value;
    }
    return {};
}

QString Database::connectionString(const QString &folder)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + folder + QDir::separator() + FileName
           + QStringLiteral(";Persist Security Info=False");
}

bool Database::isUnavailable(const QString &connectionString)
{
    try {
        Connection connection;
        connection.open(connectionString);
        connection.test();
        connection.close();
        return false;
    } catch (const DbError &) {
        return true;
    }
}

QString Database::readOnly(const QString &connectionString)
{
    if (isReadOnly(connectionString))
        return connectionString;
    QString result = connectionString;
    if (!result.trimmed().endsWith(u';'))
        result += u';';
    return result + QStringLiteral("Mode=Read");
}

bool Database::isReadOnly(const QString &connectionString)
{
    static const QRegularExpression mode(QStringLiteral("(^|;)\\s*mode\\s*=\\s*read\\s*(;|$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return mode.match(connectionString).hasMatch();
}

bool Database::isServerRegister(const QString &connectionString)
{
    static const QRegularExpression server(QStringLiteral("^\\s*(postgres(ql)?://|service\\s*=)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return server.match(connectionString).hasMatch();
}

namespace {

// A conninfo value in single quotes, its quotes and backslashes escaped as libpq reads them.
QString conninfoValue(const QString &value)
{
    QString quoted = value;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + quoted + u'\'';
}

} // namespace

QString Database::serverParameters(const QString &connectionString)
{
    if (!isServerRegister(connectionString))
        return {};
    // The read-only mark of readOnly() is the program's own, not libpq's.
    static const QRegularExpression mode(QStringLiteral(";\\s*mode\\s*=\\s*read\\s*;?\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString cs = QString(connectionString).remove(mode).trimmed();
    QStringList parameters;
    if (cs.startsWith(QStringLiteral("service"), Qt::CaseInsensitive)) {
        const QString name = cs.mid(cs.indexOf(u'=') + 1).trimmed();
        if (name.isEmpty() || name.contains(u' '))
            return {};
        return QStringLiteral("service=") + conninfoValue(name);
    }
    const QUrl url(cs, QUrl::StrictMode);
    if (!url.isValid())
        return {};
    const auto add = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            parameters.append(QLatin1StringView(key) + u'=' + conninfoValue(value));
    };
    add("host", url.host(QUrl::FullyDecoded));
    if (url.port() > 0)
        add("port", QString::number(url.port()));
    add("dbname", url.path(QUrl::FullyDecoded).mid(1));
    add("user", url.userName(QUrl::FullyDecoded));
    add("password", url.password(QUrl::FullyDecoded));
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        // Keys are libpq's own words; anything else could not be quoted safely.
        static const QRegularExpression word(QStringLiteral("^[a-z_]+$"));
        if (!word.match(key).hasMatch())
            return {};
        parameters.append(key + u'=' + conninfoValue(value));
    }
    return parameters.join(u' ');
}
