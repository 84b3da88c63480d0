#pragma once

#include "startup/SettingsStore.h"

#include <QString>

// Every value the program keeps between runs, by the name it is stored under.
// The whole numbers carry the default that a missing or unreadable value reads as.
namespace Setting {

constexpr SettingsStore::Integer ActiveSheet{"appset_cursca", 1};
constexpr SettingsStore::Integer LanguageChoice{"appset_intlang", 0};
constexpr SettingsStore::Integer WarnDays{"appset_warndays", 2};
constexpr SettingsStore::Integer SaveLayout{"appset_saveintsettings", 1};
constexpr SettingsStore::Integer ShowGroupTotals{"appset_showsgrouptotals", 1};
constexpr SettingsStore::Integer ShowGroupCounters{"appset_showsgrpdlcounters", 1};
constexpr SettingsStore::Integer GroupOption{"appset_groupopt", 0};
constexpr SettingsStore::Integer SelectedView{"appset_selected_view", 0};
constexpr SettingsStore::Integer SortColumn{"appset_sortkeyidx", 5};
constexpr SettingsStore::Integer SortAscending{"appset_sortkeyasc", 1};
// The main window: 0 normal, 2 maximised; its size in pixels.
constexpr SettingsStore::Integer WindowState{"me_maximized", 2};
constexpr SettingsStore::Integer WindowWidth{"me_width", 719};
constexpr SettingsStore::Integer WindowHeight{"me_height", 493};

inline const QString DatabaseFolder = QStringLiteral("appset_curdb");
// A register on a server (a libpq URI or "service=name", never a password); when
// set, it is opened in place of the folder's file.
inline const QString ServerRegister = QStringLiteral("appset_register");
// Empty until the first run is over.
inline const QString FirstRunMarker = QStringLiteral("appset_ak2");

// Backups of the register: on or off, how many are kept, the folder (empty: beside
// the register) and the last day one was taken at start ('yyyy-MM-dd').
constexpr SettingsStore::Integer BackupsOn{"appset_backup", 1};
constexpr SettingsStore::Integer BackupsKept{"appset_backupkeep", 10};
inline const QString BackupFolder = QStringLiteral("appset_backupfolder");
inline const QString BackupDay = QStringLiteral("appset_backupday");

} // namespace Setting

// The desktop notifications of deadlines falling due: on (1) or off (0), and the
// deadlines already announced ("rowId@yyyy-MM-dd", blank-separated).
namespace Setting {
constexpr SettingsStore::Integer Notifications{"appset_notify", 1};
inline const QString AnnouncedDeadlines = QStringLiteral("appset_notified");
} // namespace Setting
