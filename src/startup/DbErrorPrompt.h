#pragma once

#include <QString>

#include <functional>

class DbError;

// Shows a database error to the user in their language (DbErrorText), naming
// the file or the server and what to do.
namespace DbErrorPrompt {

// Tells the user; where trying again can help, offers Retry and Cancel. True
// when the user chose Retry.
bool tell(const DbError &error, const QString &connectionString);

// Runs work; while it fails with a database error, tells the user and runs it
// again on Retry. True once work has run; false when the user gave up (the
// caller then keeps what the user typed, since nothing was written).
bool run(const QString &connectionString, const std::function<void()> &work);

} // namespace DbErrorPrompt
