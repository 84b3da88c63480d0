#include "store/TransactionGuard.h"

#include "store/Connection.h"

TransactionGuard::TransactionGuard(Connection &c) : m_connection(c), m_joined(c.inTransaction())
{
    if (!m_joined)
        m_connection.beginTrans();
}

TransactionGuard::~TransactionGuard()
{
    if (m_joined || m_done || !m_connection.inTransaction())
        return;
    try {
        m_connection.rollbackTrans();
    } catch (...) {
        // A destructor must not throw; the engine ends the transaction with the connection.
    }
}

void TransactionGuard::commit()
{
    if (!m_joined)
        m_connection.commitTrans();
    m_done = true;
}
