#include "startup/DbErrorText.h"

#include "startup/ServerAddress.h"
#include "startup/Texts.h"
#include "store/Database.h"
#include "store/DbError.h"

#include <QDir>

namespace DbErrorText {
namespace {

// SQLite's primary result codes; an extended code carries one in its low byte.
enum SqliteCode {
    SqlitePerm = 3,
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteIoErr = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteConstraint = 19,
    SqliteMismatch = 20,
    SqliteNotADb = 26,
};

constexpr int BusyText = 2860;
constexpr int FullText = 2861;
constexpr int ReadOnlyText = 2862;
constexpr int UnreachableText = 2863;
constexpr int DamagedText = 2864;
constexpr int RefusedText = 2865;
constexpr int OtherText = 2866;
constexpr int ServerUnreachableText = 2960;

Cause serverCause(const DbError &error)
{
    if (error.isBusy())
        return Cause::Busy;
    const QString &state = error.sqlState();
    const QStringView stateClass = QStringView(state).left(2);
    // libpq's own failures (no connection, connection lost) carry no state; the
    // server went away (57P0x, class 08) or would not take the connection
    // (28: not allowed in, 3D000: no such database).
    if (state.isEmpty() || error.number() == DbError::FileNotFound || stateClass == u"08" || stateClass == u"28"
        || state.startsWith(u"57P") || state == u"3D000")
        return Cause::Unreachable;
    // Too many desks connected, a row or table locked by another: it passes.
    if (state == u"53300" || state == u"55006" || state == u"55P03")
        return Cause::Busy;
    if (state == u"53100")
        return Cause::Full;
    // A constraint said no, or the rights are the server's administrator's to
    // give: trying again will not help.
    if (stateClass == u"23" || state == u"25006" || state == u"42501")
        return Cause::Refused;
    return Cause::Other;
}

} // namespace

Cause cause(const DbError &error)
{
    // The store's own numbers first: their low bytes would read as other codes.
    switch (error.number()) {
    case DbError::Busy:
        return Cause::Busy;
    case DbError::FileNotFound:
        return Cause::Unreachable;
    case DbError::NotOurDatabase:
        return Cause::Damaged;
    case DbError::SyntaxError:
    case DbError::NoCurrentRecord:
    case DbError::ItemNotFound:
    case DbError::UpdateFailed:
    case DbError::NotSupported:
    case DbError::NotOpen:
    case DbError::NumericOverflow:
    case DbError::TypeMismatch:
        return Cause::Other;
    default:
        break;
    }
    if (error.number() <= 0)
        return Cause::Other;
    switch (error.number() & 0xff) {
    case SqliteBusy:
    case SqliteLocked:
        return Cause::Busy;
    case SqliteFull:
        return Cause::Full;
    case SqliteReadOnly:
    case SqlitePerm:
        return Cause::ReadOnly;
    case SqliteIoErr:
    case SqliteCantOpen:
        return Cause::Unreachable;
    case SqliteCorrupt:
    case SqliteNotADb:
        return Cause::Damaged;
    case SqliteConstraint:
    case SqliteMismatch:
        return Cause::Refused;
    default:
        return Cause::Other;
    }
}

bool retryHelps(Cause cause)
{
    return cause == Cause::Busy || cause == Cause::Full || cause == Cause::ReadOnly || cause == Cause::Unreachable;
}

QString sentence(const DbError &error, const QString &databasePath)
{
    const QString file = QDir::toNativeSeparators(databasePath);
    switch (cause(error)) {
    case Cause::Busy:
        return Texts::text(BusyText).arg(file);
    case Cause::Full:
        return Texts::text(FullText).arg(file);
    case Cause::ReadOnly:
        return Texts::text(ReadOnlyText).arg(file);
    case Cause::Unreachable:
        return Texts::text(UnreachableText).arg(file);
    case Cause::Damaged:
        return Texts::text(DamagedText).arg(file);
    case Cause::Refused:
        // The rule's own words (a trigger's message) are all that says which rule.
        return Texts::text(RefusedText).arg(file, error.description());
    case Cause::Other:
        break;
    }
    return Texts::text(OtherText).arg(file, error.description());
}

Cause registerCause(const DbError &error, const QString &connectionString)
{
    return Database::isServerRegister(connectionString) ? serverCause(error) : cause(error);
}

QString registerSentence(const DbError &error, const QString &connectionString)
{
    if (!Database::isServerRegister(connectionString))
        return sentence(error, Database::dataSource(connectionString));
    const QString name = ServerAddress::shownName(connectionString);
    // libpq's messages run over lines with tabs; a sentence holds one line.
    const QString engineText = error.description().simplified();
    switch (serverCause(error)) {
    case Cause::Unreachable:
        return Texts::text(ServerUnreachableText).arg(name, engineText);
    case Cause::Busy:
        return Texts::text(BusyText).arg(name);
    case Cause::Full:
        return Texts::text(FullText).arg(name);
    default:
        // The file's own advice (a read-only folder, a copy of the file) means
        // nothing on a server: the engine's words say what it refused.
        return Texts::text(OtherText).arg(name, engineText);
    }
}

} // namespace DbErrorText
