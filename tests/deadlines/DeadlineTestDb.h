#pragma once

#include "../support/OtherProgram.h"
#include "platform/Pauses.h"
#include "startup/Texts.h"
#include "../support/TestDatabase.h"
#include "../support/TestRows.h"
#include "deadlines/RecurrenceDates.h"
#include "startup/Session.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QObject>

#include <memory>

// A fresh copy of the template database per test, and a session on it with its
// own settings file; sheet 1 is active. English texts, no pauses.
class DeadlineTestDb
{
public:
    DeadlineTestDb()
        : m_session(SettingsStore(m_dir.filePath(QStringLiteral("settings.ini"))))
    {
        Texts::setLanguage(Language::English);
        Pauses::setScale(0);
        m_session.setConnectionString(m_dir.isValid() ? copyTemplateTo(m_dir.path()) : QString());
    }
    bool ok() const { return !connectionString().isEmpty(); }
    QString path() const { return m_dir.filePath(QStringLiteral("orvel2.mdb")); }
    Session &session() { return m_session; }
    QString connectionString() const { return m_session.connectionString(); }
    QString cs() const { return connectionString(); }
    int count(const QString &query) const { return firstValue(cs(), query).toInt(); }
    DeadlineStore::CreatedDeadlines save(const DeadlineStore::NewDeadlines &deadlines) const
    {
        return DeadlineStore(connectionString()).createDeadlines(deadlines);
    }

    // Raw SQLite access for arranging rows and reading them back, beside the store.
    void raw(const QString &sql)
    {
        OtherProgram other(path());
        QVERIFY2(other.exec(sql), qPrintable(sql + u' ' + other.lastError()));
    }

private:
    QTemporaryDir m_dir;
    Session m_session;
};

// "Rent" debits of 100 on sheet 1, the deadlines most tests start from: count
// members of a recurrence of that cadence (monthly unless told) from first, or a
// single deadline when count is 0; with targetGroup they join that group.
inline DeadlineStore::NewDeadlines rent(const QDate &first, int count, qint32 targetGroup = 0, int cadence = 3)
{
    DeadlineStore::NewDeadlines d;
    d.type = -1;
    d.description = QStringLiteral("Rent");
    d.value = Currency::fromWhole(100);
    if (count > 0) {
        d.dates = RecurrenceDates::memberDates(first, cadence, count);
        d.groupType = RecurrenceDates::cadenceCode(cadence);
    } else {
        d.dates = {first};
    }
    d.groupId = targetGroup;
    return d;
}

// The named columns ("TrDate, TrValue") of the stored deadlines that match `where`,
// one "a|b|c" line per row in `order`, as SQLite stores them, as text: dates
// 'yyyy-MM-dd', money in ten-thousandths, yes/no 1/0.
inline QStringList tableRows(const QString &connectionString, const QString &columns = QStringLiteral("*"),
                             const QString &where = QStringLiteral("1"), const QString &order = QStringLiteral("TrRowId"))
{
    Connection c;
    c.open(connectionString);
    QSqlQuery query(c.database());
    QStringList out;
    if (!query.exec(QStringLiteral("SELECT %1 FROM Transactions WHERE %2 ORDER BY %3").arg(columns, where, order)))
        return {query.lastError().text()};
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < query.record().count(); ++i)
            cells << query.value(i).toString();
        out << cells.join(u'|');
    }
    return out;
}

// The named columns of one stored deadline (none of them holding a '|').
inline QStringList rowFields(const QString &connectionString, int rowId, const QString &columns)
{
    const QStringList rows = tableRows(connectionString, columns, QStringLiteral("TrRowId=%1").arg(rowId));
    return rows.isEmpty() ? QStringList() : rows.first().split(u'|');
}

// A named control of a deadline window; a missing one stops the test at once.
template<typename T> T *controlOf(const QObject *form, const char *name)
{
    T *w = form->findChild<T *>(QLatin1String(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}
