#pragma once

#include <QString>

class Session;

// The user's Documents folder + "Orvel2DB"; empty when the platform has no
// documents folder. Nothing is made here: see makeDatabaseFolder.
QString defaultDatabaseFolder();

// Makes the database folder (with any missing parents), the user's alone. Only the
// default folder is ever made, and only when it is the one in use. False on failure.
bool makeDatabaseFolder(const QString &folder);

// What provisionDatabase did.
struct Provisioning
{
    enum class Result {
        Ready,            // a copy of the template is in place, or a file was already there
        TemplateMissing,  // no "master.gen" beside the program
        CopyFailed,       // the copy could not be made; `detail` says why
    };
    Result result = Result::Ready;
    QString templatePath;
    QString detail;
};

// Puts a copy of the empty template "master.gen" into the session's database
// folder when no database is there, and marks the first run as over. Tells the
// user nothing: the caller names what went wrong.
Provisioning provisionDatabase(Session &session);

// The fixed text stored in appset_ak2 once the first run is over.
inline const QString FirstRunMarkerText = QStringLiteral("ORV2-AK2-1");
