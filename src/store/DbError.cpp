#include "store/DbError.h"

#include <QSqlError>

DbError::DbError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description), m_source(source)
{
}

DbError DbError::fromEngine(const QSqlError &error, const QString &context)
{
    bool ok = false;
    const QString native = error.nativeErrorCode();
    int code = native.toInt(&ok);
    if (!ok)
        code = -1;
    // A server's serialization failure or deadlock: another desk's write came
    // first, the server rolled this one back whole, and it may succeed again.
    if (native == u"40001" || native == u"40P01")
        code = Busy;
    // SQLITE_BUSY and SQLITE_LOCKED, with any extended code: another connection
    // holds the lock.
    if (code > 0 && ((code & 0xff) == 5 || (code & 0xff) == 6))
        code = Busy;
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    if (!context.isEmpty())
        text += QStringLiteral(" (") + context + u')';
    return DbError(code, text);
}
