#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

// Another program with the database file open: runs statements on the file
// directly, and holds a lock from "BEGIN ..." until release().
class OtherProgram
{
public:
    explicit OtherProgram(const QString &path)
        : m_name(QStringLiteral("other program %1").arg(++count()))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (db.open())
            m_query = QSqlQuery(db);
    }
    ~OtherProgram()
    {
        m_query = QSqlQuery();
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    bool isOpen() const { return QSqlDatabase::database(m_name, false).isOpen(); }
    bool exec(const QString &sql)
    {
        const bool ok = m_query.exec(sql);
        m_query.finish();
        return ok;
    }
    QString lastError() const { return m_query.lastError().text(); }
    bool lock() { return exec(QStringLiteral("BEGIN EXCLUSIVE")); }
    bool release() { return exec(QStringLiteral("ROLLBACK")); }

private:
    static int &count()
    {
        static int made = 0;
        return made;
    }
    QString m_name;
    QSqlQuery m_query;
};
