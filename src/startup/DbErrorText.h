#pragma once

#include <QString>

class DbError;

// What a database error means to the user: one sentence in the user's language
// that says what happened, to which file, and what to do, instead of the engine's
// own English text.
namespace DbErrorText {

// The causes the user can act on, read from SQLite's result code.
enum class Cause {
    Busy,        // another program holds the lock
    Full,        // the disk (or the engine's limit) is full
    ReadOnly,    // the file or its folder cannot be written
    Unreachable, // missing, cannot be opened, or the disk reported an I/O error
    Damaged,     // not a database, or a damaged one
    Refused,     // a constraint or a trigger stored in the file said no
    Other,
};

Cause cause(const DbError &error);
// True when the same operation may succeed once the user has acted (closed the
// other program, freed space, reconnected the disk): the message then offers Retry.
bool retryHelps(Cause cause);
// The sentence for the error on the database file at databasePath.
QString sentence(const DbError &error, const QString &databasePath);

// The same for the register a connection string names: a file by its path, or a
// register on a server by host/database (never its password), whose errors carry
// PostgreSQL's SQLSTATE in place of SQLite's codes.
Cause registerCause(const DbError &error, const QString &connectionString);
QString registerSentence(const DbError &error, const QString &connectionString);

} // namespace DbErrorText
