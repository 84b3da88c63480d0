#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// One open database file, or a register on a PostgreSQL server. Nothing keeps a connection open for long: each
// operation opens its own, runs its statements and closes it.
class Connection
{
public:
    // How long a statement waits for another program's lock before it fails
    // with DbError::Busy.
    static constexpr int BusyTimeoutMs = 1000;

    Connection();
    ~Connection();   // closes
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the file named by the connection string, or the server register it
    // names (Database::isServerRegister). Never creates a file: a missing file
    // throws DbError. Does not read the file yet (see test()).
    void open(const QString &connectionString);
    // Reads the schema: throws DbError when the file is not a usable database.
    void test();
    void close();
    bool isOpen() const;
    // True on a PostgreSQL register, false on a file.
    bool isServer() const;

    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    // On a server register, waits until no other connection holds the lock of
    // that recurrence group, then holds it until unlockGroup or until closed. Taken
    // before the transaction begins, so the transaction sees what the previous
    // holder committed. Nothing on a file, whose writes already wait in turn.
    void lockGroup(qint32 groupId);
    void unlockGroup(qint32 groupId);

    // The defined maximum length of a text column (the n of its declared type
    // VARCHAR(n)); 0 when the column has none or does not exist.
    int textColumnMaxLength(const QString &table, const QString &column);

    QSqlDatabase database() const;
    QString dataSource() const { return m_dataSource; }

    // A value as the store binds it: a text's unpaired UTF-16 surrogates (which
    // are no character and cannot be stored as text) become U+FFFD.
    static QVariant bindable(const QVariant &value);

private:
    void checkOpen() const;
    void openServer(const QString &connectionString);

    QString m_name;
    QString m_dataSource;
    bool m_inTransaction = false;
};
