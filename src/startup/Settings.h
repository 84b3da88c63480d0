#pragma once

#include "startup/comRegistry.h"

#include <QString>
#include <QVariant>

// The two entry points the program uses for its settings; each call makes a fresh
// comRegistry, does one read or write and drops it.
QVariant SettingsRead(quint32 root, const QString &keyPath, int valueType, const QString &name,
                      const QVariant &defaultValue = {});
void SettingsWrite(quint32 root, const QString &keyPath, int valueType, const QString &name,
                   const QVariant &value);

// Shorthands under HKEY_CURRENT_USER and mainmod::SettingsKeyPath. An integer
// setting holding a text that is not a whole number reads as the default.
int SettingInt(const QString &name, int defaultValue);
QString SettingText(const QString &name, const QString &defaultValue = {});
void SetSettingInt(const QString &name, int value);
void SetSettingText(const QString &name, const QString &value);

// "Software\Kestrum\" + title + "\Settings"
QString SettingsKeyPathFor(const QString &applicationTitle);

namespace SettingsKey {
inline const QString CurDb = QStringLiteral("appset_curdb");
inline const QString CurSca = QStringLiteral("appset_cursca");
inline const QString IntLang = QStringLiteral("appset_intlang");
inline const QString WarnDays = QStringLiteral("appset_warndays");
inline const QString SaveIntSettings = QStringLiteral("appset_saveintsettings");
inline const QString ShowGroupTotals = QStringLiteral("appset_showsgrouptotals");
inline const QString ShowGroupCounters = QStringLiteral("appset_showsgrpdlcounters");
inline const QString GroupOpt = QStringLiteral("appset_groupopt");
inline const QString SelectedView = QStringLiteral("appset_selected_view");
inline const QString SortKeyIdx = QStringLiteral("appset_sortkeyidx");
inline const QString SortKeyAsc = QStringLiteral("appset_sortkeyasc");
inline const QString Maximized = QStringLiteral("me_maximized");
inline const QString Width = QStringLiteral("me_width");
inline const QString Height = QStringLiteral("me_height");
inline const QString FirstRunMarker = QStringLiteral("appset_ak2");
}

namespace SettingsDefault {
constexpr int CurSca = 1;
constexpr int IntLang = 0;
constexpr int WarnDays = 2;
constexpr int SaveIntSettings = 1;
constexpr int ShowGroupTotals = 1;
constexpr int ShowGroupCounters = 1;
constexpr int GroupOpt = 0;
constexpr int SelectedView = 0;
constexpr int SortKeyIdx = 5;
constexpr int SortKeyAsc = 1;
constexpr int Maximized = 2;
constexpr int Width = 10785;
constexpr int Height = 7395;
}
