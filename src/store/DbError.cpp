#include "store/DbError.h"

#include <QSqlError>

DbError::DbError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description), m_source(source)
{
}

DbError DbError::fromEngine(const QSqlError &error, const QString &context)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    if (!context.isEmpty())
        text += QStringLiteral(" (") + context + u')';
    const QString native = error.nativeErrorCode();
    // A server's SQLSTATE is five characters; SQLite's codes have four digits at
    // most. Only SQLite's are numbers: read as one, a state could pass for a
    // SQLite code (42501, permission denied, has SQLITE_BUSY's low byte).
    if (native.size() == 5) {
        // A serialization failure or deadlock: another desk's write came first, the
        // server rolled this one back whole, and it may succeed again.
        DbError server(native == u"40001" || native == u"40P01" ? Busy : -1, text);
        server.m_sqlState = native;
        return server;
    }
    bool ok = false;
    int code = native.toInt(&ok);
    if (!ok)
        code = -1;
    // SQLITE_BUSY and SQLITE_LOCKED, with any extended code: another connection
    // holds the lock.
    if (code > 0 && ((code & 0xff) == 5 || (code & 0xff) == 6))
        code = Busy;
    return DbError(code, text);
}
