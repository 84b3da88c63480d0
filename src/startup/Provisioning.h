#pragma once

#include <QString>

class Session;

// The user's Documents folder + "Orvel2DB", created when missing; empty when the
// platform has no documents folder.
QString defaultDatabaseFolder();

// Puts a copy of the empty template "master.gen" into the session's database
// folder when no database there can be opened, and marks the first run as over.
// True when a file was put in place (or one was already there), false when the
// template is missing or the copy failed (after telling the user why).
bool provisionDatabase(Session &session);

// The fixed text stored in appset_ak2 once the first run is over.
inline const QString FirstRunMarkerText = QStringLiteral("ORV2-AK2-1");
