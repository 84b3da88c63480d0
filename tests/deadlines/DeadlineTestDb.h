#pragma once

#include "../support/TestDatabase.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A fresh copy of the template database per test, made the program's database
// through mainmod::ConnectionString.
class DeadlineTestDb final
{
public:
    DeadlineTestDb()
    {
        m_path = m_dir.filePath(QStringLiteral("orvel2.mdb"));
        mainmod::ConnectionString = m_dir.isValid() ? copyTemplateTo(m_dir.path()) : QString();
        m_ok = !mainmod::ConnectionString.isEmpty();
    }
    bool ok() const { return m_ok; }
    const QString &path() const { return m_path; }

    // Raw SQLite access for arranging rows and reading them back, beside the store.
    void raw(const QString &sql)
    {
        const QString name = QStringLiteral("deadline-test-raw");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(m_path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY2(q.exec(sql), qPrintable(sql));
        }
        QSqlDatabase::removeDatabase(name);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_ok = false;
};
