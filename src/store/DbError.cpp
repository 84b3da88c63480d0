#include "store/DbError.h"

#include <QSqlError>

DbError::DbError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description), m_source(source)
{
}

DbError DbError::fromEngine(const QSqlError &error, const QString &context)
{
    bool ok = false;
    int code = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        code = -1;
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
