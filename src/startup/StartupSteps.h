#pragma once

#include "store/DatabaseCheck.h"

#include <QDateTime>
#include <QString>

class Session;

// The part of start-up that needs no window: language, the database folder and
// file (checked before anything writes, provisioned when missing), schema
// upgrade and the active sheet. Each step says what it found; the questions
// that follow are start-up's windows' (StartupQuestions).

// The language of the texts from the stored choice or the locale, and the help file.
void applyLanguage(Session &session, const QString &localeLanguageCode);

// What one attempt to open the database found, with the sentence for the user.
struct DatabaseOpening {
    enum class Result {
        Ready,          // the session is set up; text, when not empty, is a notice to tell
        FolderUnusable, // the folder cannot hold the database: Retry, Choose another folder or Quit
        Retryable,      // a lock, a full disk or a drive that went away may pass: Retry or Quit
        IndexesDamaged, // the rows are sound: a repair keeping a copy at copyPath may be offered
        Unusable,       // the file stays as it is; another folder may be chosen for the next start
        Failed,         // told, and the program ends
        ServerUnusable, // the server is down or refused: Retry, Choose another folder or server, or Quit
    };
    Result result = Result::Ready;
    QString text;
    DatabaseProblem problem;   // IndexesDamaged, Unusable
    QString copyPath;          // IndexesDamaged
};

// Opens the database in folder (made first when it is the default one): checks
// it before anything writes, provisions it when missing, loads the active sheet
// and upgrades the schema. Damaged indexes are reported once; after
// repairOffered they make the file Unusable.
DatabaseOpening openDatabase(Session &session, const QString &folder, bool defaultFolder, bool repairOffered);

// Opens the register on a server named registerName (ServerAddress), with the
// password the keyring keeps for it (none: libpq reads ~/.pgpass): connects,
// brings the schema up to date (a new, empty database becomes a register) and
// loads the active sheet. The file's checks, repairs and backups do not apply here.
DatabaseOpening openServerRegister(Session &session, const QString &registerName);

// After the user agreed: keeps a copy of the database at copyPath, then rebuilds
// its indexes. The sentence says how it went; the file is untouched when not repaired.
struct IndexRepair {
    bool repaired = false;
    QString text;
};
IndexRepair repairIndexes(const Session &session, const DatabaseProblem &problem, const QString &copyPath);

// A plain sentence, in the user's language, naming the file or folder and what is wrong.
QString describeDatabaseProblem(const DatabaseProblem &problem);

// Where the copy of a database is kept before it is repaired: beside it, named
// for the moment, never an existing file.
QString repairCopyPath(const QString &databasePath, const QDateTime &now);
