#pragma once

#include "store/Connection.h"
#include "store/DbError.h"

#include <chrono>
#include <random>
#include <thread>

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

// How often a server register's write refused for overlapping another desk's is
// run before the refusal reaches the caller as busy.
inline constexpr int WriteAttempts = 5;

// Runs write, a store operation that opens its own transaction. On a server
// register the server may refuse it because another desk's write overlapped it
// (a serialization failure or a deadlock); it was rolled back whole, so it runs
// again, after a short pause of random length that keeps the two desks from
// meeting again, up to WriteAttempts times. Inside a caller's transaction it runs
// once: only the caller can run its whole batch again. A file is never retried
// here: the engine already waited for the lock. reset() runs before every new
// attempt, to forget what the failed one recorded.
template <typename Write, typename Reset>
auto retriedWrite(Connection &connection, Write &&write, Reset &&reset) -> decltype(write())
{
    const bool retry = connection.isServer() && !connection.inTransaction();
    for (int attempt = 1;; ++attempt) {
        try {
            return write();
        } catch (const DbError &error) {
            if (!retry || !error.isBusy() || attempt >= WriteAttempts)
                throw;
        }
        thread_local std::minstd_rand jitter{std::random_device{}()};
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + int(jitter() % 20) * attempt));
        reset();
    }
}

template <typename Write>
auto retriedWrite(Connection &connection, Write &&write) -> decltype(write())
{
    return retriedWrite(connection, std::forward<Write>(write), [] {});
}
