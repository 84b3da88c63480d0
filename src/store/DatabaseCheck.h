#pragma once

#include <QString>

// What stands between the program and a database file, found before anything is
// written to it. A check never changes the file.
struct DatabaseProblem
{
    enum class Kind {
        None,
        Missing,            // no file by that name (a fresh copy of the template may go there)
        DanglingLink,       // a link to something that does not exist
        NotAFile,           // a folder or a device
        FolderMissing,      // the folder itself is not there (a drive or share not connected)
        FolderIsAFile,      // a file stands where the folder should be
        FolderUnreachable,  // the folder cannot be entered or read
        FolderReadOnly,     // the folder cannot be written: no new file, no journal beside the database
        Unreadable,         // no permission to read or write the file
        Busy,               // another program holds its lock
        Damaged,            // not a deadline database, or broken inside
    };
    // What is damaged, for a message in the user's language.
    enum class Damage {
        NotADatabase,   // the engine does not read it at all
        MissingTable,   // `table`
        MissingColumn,  // `table`.`column`
        WrongKind,      // `table`.`column` is declared `detail`
        NoSheet,        // Dbs holds no row
        Pages,          // the engine's integrity check failed; `detail` says where
        Indexes,        // every page reads, but an index disagrees with its table; `detail` says where
    };

    Kind kind = Kind::None;
    QString path;
    Damage damage = Damage::NotADatabase;
    QString table;
    QString column;
    QString detail;   // the engine's own words, or a declared type

    bool ok() const { return kind == Kind::None; }
};

namespace DatabaseCheck {

// The file system's view of the path alone: None when a regular file is there
// that this user may read and write.
DatabaseProblem inspectPath(const QString &path);

// The database folder: None when it is a folder this user may enter, read and
// write (the engine writes its journal beside the file). `path` is the folder.
DatabaseProblem inspectFolder(const QString &folder);

// Opens the database named by the connection string and checks every table and
// column the program reads (with their kinds), that a sheet exists, and the
// engine's full integrity check (pages and every index against its table: about
// 0.2 s of processor time for 100,000 deadlines, 0.5 to 0.9 s on a busy machine
// or a cold disk, which the splash covers). A lock held elsewhere is waited for
// about a second before it is reported as Busy. The file is opened for reading only.
DatabaseProblem check(const QString &connectionString);

} // namespace DatabaseCheck
