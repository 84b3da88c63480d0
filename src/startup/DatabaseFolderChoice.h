#pragma once

class SettingsStore;

// The two ways to point the program at another database folder. The chosen
// folder is stored for the next start; the database in use stays until then.
namespace DatabaseFolderChoice {

// Offered after a start that found no usable database.
void askAfterFailedStart(SettingsStore &settings);
// Tools > Change database.
void changeDatabase(SettingsStore &settings);

} // namespace DatabaseFolderChoice
