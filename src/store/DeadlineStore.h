#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <initializer_list>
#include <memory>
#include <utility>

class Connection;
class QSqlQuery;

// The writes on deadlines (the Transactions table), each a named statement with
// bound values. Every operation throws DbError; one that runs several statements
// does so in one transaction, so a failure leaves nothing behind.
class DeadlineStore
{
public:
    // Works on its own connection to the file, closed with the store.
    explicit DeadlineStore(const QString &connectionString);
    // Works on the caller's connection, so it can share the caller's transaction.
    explicit DeadlineStore(Connection &connection);
    ~DeadlineStore();
    DeadlineStore(const DeadlineStore &) = delete;
    DeadlineStore &operator=(const DeadlineStore &) = delete;

    // Closes an open deadline, opens a closed one.
    void toggleDone(qint32 rowId);
    // A deadline outside any recurrence.
    void deleteDeadline(qint32 rowId);
    // One member of a recurrence; the rest of the group is numbered again.
    void deleteFromGroup(qint32 rowId, qint32 groupId);
    // Every member of a recurrence, whatever its sheet.
    void deleteGroup(qint32 groupId);

    // Highest group id of the whole table plus 1 (1 on an empty table), so ids
    // are unique across every sheet.
    qint32 nextGroupId();
    // Rewrites TrGrpRow (1..n by date) and TrGrpMDay (n) of every member of the
    // group, whatever its sheet; inside the caller's transaction when one is open.
    void renumberGroup(qint32 groupId);

    // The closed deadlines of one sheet dated on or before lastDate: how many,
    // and their removal, which returns how many went.
    int countClosedUpTo(qint32 sheetId, const QDate &lastDate);
    int purgeClosedUpTo(qint32 sheetId, const QDate &lastDate);

private:
    using Values = std::initializer_list<std::pair<const char *, QVariant>>;
    // Prepares the named statement, binds values by name and runs it.
    QSqlQuery run(const char *name, Values values);

    std::unique_ptr<Connection> m_own;
    Connection &m_connection;
};
