#include "store/TransactionGuard.h"

#include "store/Connection.h"

TransactionGuard::TransactionGuard(Connection &c) : m_connection(c)
{
    m_connection.beginTrans();
}

TransactionGuard::~TransactionGuard()
{
    if (m_done || !m_connection.inTransaction())
        return;
    try {
        m_connection.rollbackTrans();
    } catch (...) {
        // A destructor must not throw; the engine ends the transaction with the connection.
    }
}

void TransactionGuard::commit()
{
    m_connection.commitTrans();
    m_done = true;
}
