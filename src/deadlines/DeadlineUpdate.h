#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class Connection;

// One save of the deadline editor, kept free of widgets. It remembers the row as
// the editor read it and writes only the columns the user changed, so a change
// made meanwhile elsewhere (the deadline closed from the list) is not undone. A
// column that someone else changed since the read is not overwritten: the save
// stops and reports it with the value now stored.
class DeadlineUpdate
{
public:
    enum class Outcome { Written, Conflict, Gone, CounterpartyGone };

    DeadlineUpdate(qint32 rowId, QVariantMap stored);
    // The row of Transactions with that TrRowId; nothing when there is none. Throws DbError.
    static std::optional<DeadlineUpdate> read(Connection &connection, qint32 rowId);

    qint32 rowId() const { return m_rowId; }
    // A column as the editor last read it (Null as an invalid QVariant).
    QVariant stored(const QString &column) const { return m_stored.value(column); }

    // The user set the column to value; a value equal to the stored one is no change.
    void change(const QString &column, const QVariant &value);
    void forgetChanges() { m_changes.clear(); }
    QStringList changedColumns() const { return m_changes.keys(); }

    // In one transaction, reads the row again. When a column to write no longer
    // holds what was read, writes nothing and answers Conflict: conflicts() names
    // those columns, stored() holds the row as it is now and their changes are
    // dropped. Otherwise writes the changed columns only (TrBalance follows
    // TrValue) and answers Written. Gone when the row was deleted; CounterpartyGone,
    // writing nothing and keeping the changes, when the client/supplier chosen
    // for it was deleted meanwhile. Throws DbError.
    Outcome write(Connection &connection);
    QStringList conflicts() const { return m_conflicts; }

private:
    qint32 m_rowId;
    QVariantMap m_stored;
    QVariantMap m_changes;
    QStringList m_conflicts;
};
