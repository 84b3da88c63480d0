#include "store/Database.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

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
