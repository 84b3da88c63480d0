#pragma once

#include <QList>
#include <QString>

// A whole register moved between a file and a server: every table, ids kept, in
// one transaction on the target, which is kept only when the counts and sums of
// every column of every table agree on both sides. The original is opened for
// reading only and never written.
namespace RegisterCopy {

// The counts and sums copy-totals reads from one side, in its column order:
// rows, sums of ids, types, done flags, days, text lengths, amounts...
struct Totals
{
    QList<qint64> values;
    qint64 deadlines() const { return values.value(0); }
    qint64 counterparties() const { return values.value(18); }
    qint64 sheets() const { return values.value(22); }
    bool operator==(const Totals &) const = default;
};

struct Outcome
{
    enum class Result {
        Copied,
        TargetNotEmpty,   // the target already holds deadlines or clients/suppliers: nothing written
        Differs,          // the copy's totals differ from the original's: rolled back / file removed
    };
    Result result = Result::Copied;
    Totals source;
    Totals target;
    bool ok() const { return result == Result::Copied; }
};

// Copies the register of sourceConnectionString (a file or a server register)
// into the server register targetRegister, whose schema is created or brought up
// to date first. Throws DbError when an engine fails; nothing is then kept.
Outcome toServer(const QString &sourceConnectionString, const QString &targetRegister);

// Copies the register of sourceConnectionString into a new file at filePath,
// made from the template file at templatePath. The file is built beside filePath
// under another name and takes its place only once verified; a file already at
// filePath is replaced then. Throws DbError when an engine or the file system
// fails; no new file is left behind.
Outcome toFile(const QString &sourceConnectionString, const QString &filePath, const QString &templatePath);

} // namespace RegisterCopy
