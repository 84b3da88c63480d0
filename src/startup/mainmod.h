#pragma once

#include "startup/SettingsStore.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

// The shared variables that start-up sets and every other module reads. One
// process, one thread: plain globals, reset by tests through resetShared().
namespace mainmod {

inline const QString AppTitle = QStringLiteral("Orvel 2");

// The settings file; empty: the user's own.
inline QString SettingsFile;
inline QString ConnectionString;
inline qint32 ActiveSheetId = 1;
inline QString ActiveSheetName;
inline qint16 LanguageBase = 3000;
inline qint32 LanguageChoice = 0;
inline QString HelpFile;
inline QString DbFolder;
inline QString DefaultDbFolder;

// Display options (main window and preferences).
inline bool SaveLayoutSettings = true;
inline bool ShowGroupTotals = true;
inline bool ShowGroupCounters = true;
inline qint32 GroupOption = 0;
inline qint32 SortKeyIndex = 5;
inline qint32 SortAscending = 1;
inline qint32 WarnDays = 2;
inline QString CounterSeparator;

void resetShared();

SettingsStore Settings();

// Where the program's own files (the template database, the help pages) lie.
QString ProgramFolder();
void setProgramFolder(const QString &folder);   // tests

// Documents folder + "Orvel2DB", created when missing; empty when the platform
// has no documents folder.
QString GetDefaultDbFolder();

// True when a test connection with the string fails (missing or damaged file).
bool DatabaseUnavailable(const QString &connectionString);

// Today plus WarnDays, or today alone when the warning is off (999).
QDate WarnLimitDate();

} // namespace mainmod
