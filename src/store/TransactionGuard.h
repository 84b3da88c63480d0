#pragma once

class Connection;

// Commits only when told to; rolls back in its destructor otherwise, so an
// exception anywhere inside a batch leaves nothing behind.
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
    bool m_done = false;
};
