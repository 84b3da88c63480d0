#pragma once

#include <QString>

#include <stdexcept>

class QSqlError;

// The one error type of the store: the engine's number and text.
class DbError : public std::runtime_error
{
public:
    DbError(int number, const QString &description, const QString &source = QStringLiteral("orvel2.store"));
    // Numbers raised by the store itself; the engine's own errors carry its code.
    static constexpr int FileNotFound = 3024;
    static constexpr int SyntaxError = 3075;
    static constexpr int NoCurrentRecord = 3021;
    static constexpr int ItemNotFound = 3265;
    static constexpr int UpdateFailed = 3197;
    static constexpr int NotSupported = 3251;
    static constexpr int NotOpen = 3704;
    static constexpr int NumericOverflow = 3349;
    static constexpr int NotOurDatabase = 3343;
    static constexpr int TypeMismatch = 3421;
    // Another program holds the database's lock, or on a server another desk's
    // write overlapped this one: nothing was written, and the same write may
    // succeed when tried again.
    static constexpr int Busy = 3260;

    // The engine's own error, with what the store was doing when it came.
    static DbError fromEngine(const QSqlError &error, const QString &context = {});

    int number() const { return m_number; }
    bool isBusy() const { return m_number == Busy; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }
    // A server's SQLSTATE ("42P01"); empty for a file's errors and the store's own.
    const QString &sqlState() const { return m_sqlState; }

private:
    int m_number;
    QString m_sqlState;
    QString m_description;
    QString m_source;
};
