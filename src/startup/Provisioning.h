#pragma once

#include <QString>

// Puts a database in the database folder when none can be opened: a copy of the
// empty template.
// True when a file was put in place (or one was already there), False when no
// source exists or the copy failed (after telling the user why).
bool ProvisionDatabase();

// The fixed text stored in appset_ak2 once the first run is over.
inline const QString FirstRunMarkerText = QStringLiteral("ORV2-AK2-1");

namespace frmForFolders {
// Offered after a failed start: the chosen folder is stored for the next start.
void Apri();
}

// Tools > Change database: store another folder for the next start.
void ChangeDatabase();
