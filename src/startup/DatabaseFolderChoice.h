#pragma once

class QWidget;
class QString;
class SettingsStore;

// The ways to point the program at another register: a folder on this computer
// or a register on a server. The choice is stored for the next start; the
// register in use stays until then.
namespace DatabaseFolderChoice {

// Offered after a start that found no usable database.
void askAfterFailedStart(SettingsStore &settings);
// Tools > Change database: a folder, or a shared register on a server.
void changeDatabase(SettingsStore &settings, QWidget *parent);
// Stores a chosen folder, which also ends the use of a server. Throws
// SettingsStore::WriteError.
void storeFolder(SettingsStore &settings, const QString &folder);

} // namespace DatabaseFolderChoice
