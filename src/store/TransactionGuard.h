#pragma once

class Connection;

// Commits only when told to; rolls back in its destructor otherwise, so an
// exception anywhere inside a batch leaves nothing behind. On a connection whose
// caller already opened a transaction it joins that one: a store operation then
// becomes part of the caller's batch, which commits or rolls back as a whole.
class TransactionGuard
{
public:
    explicit TransactionGuard(Connection &c);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;
    void commit();

private:
    Connection &m_connection;
    bool m_joined = false;   // the caller's transaction: its owner ends it
    bool m_done = false;
};
