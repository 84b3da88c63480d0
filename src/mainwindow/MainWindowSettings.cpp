#include "mainwindow/MainWindowSettings.h"

#include "mainwindow/DeadlineList.h"
#include "startup/Settings.h"
#include "startup/mainmod.h"

#include <functional>

namespace MainWindowSettings {

namespace {

int InRange(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}

// The close must never fail because one value could not be stored.
void Attempt(const std::function<void()> &write)
{
    try {
        write();
    } catch (...) {
    }
}

} // namespace

void ReadDisplayOptions()
{
    mainmod::SaveLayoutSettings = SettingInt(SettingsKey::SaveIntSettings, SettingsDefault::SaveIntSettings) == 1;
    mainmod::ShowGroupTotals = SettingInt(SettingsKey::ShowGroupTotals, SettingsDefault::ShowGroupTotals) == 1;
    mainmod::ShowGroupCounters = SettingInt(SettingsKey::ShowGroupCounters, SettingsDefault::ShowGroupCounters) == 1;
    mainmod::GroupOption = InRange(SettingInt(SettingsKey::GroupOpt, SettingsDefault::GroupOpt), 0, 3,
                                   SettingsDefault::GroupOpt);
    mainmod::WarnDays = SettingInt(SettingsKey::WarnDays, SettingsDefault::WarnDays);
}

StartLayout ReadStartLayout(bool saveLayoutSettings)
{
    StartLayout layout;
    if (!saveLayoutSettings)
        return layout;

    layout.maximized = SettingInt(SettingsKey::Maximized, SettingsDefault::Maximized) == Maximized;
    if (!layout.maximized) {
        layout.widthTwips = SettingInt(SettingsKey::Width, SettingsDefault::Width);
        layout.heightTwips = SettingInt(SettingsKey::Height, SettingsDefault::Height);
    }
    layout.view = InRange(SettingInt(SettingsKey::SelectedView, SettingsDefault::SelectedView), 0, ViewCount - 1,
                          SettingsDefault::SelectedView);
    layout.groupOption = InRange(SettingInt(SettingsKey::GroupOpt, SettingsDefault::GroupOpt), 0, 3,
                                 SettingsDefault::GroupOpt);
    layout.sortKeyIndex = InRange(SettingInt(SettingsKey::SortKeyIdx, SettingsDefault::SortKeyIdx), 1,
                                  ListColumn::Count, SettingsDefault::SortKeyIdx);
    layout.sortAscending = InRange(SettingInt(SettingsKey::SortKeyAsc, SettingsDefault::SortKeyAsc), 0, 1,
                                   SettingsDefault::SortKeyAsc);
    return layout;
}

void WriteExitSettings(bool saveLayoutSettings, const ExitState &state)
{
    if (saveLayoutSettings) {
        // The totals switch belongs to the preferences; only they store it.
        Attempt([&] { SetSettingInt(SettingsKey::GroupOpt, state.groupOption); });
        Attempt([&] { SetSettingInt(SettingsKey::SelectedView, state.view); });
        if (state.sortKeyIndex) {
            Attempt([&] { SetSettingInt(SettingsKey::SortKeyIdx, *state.sortKeyIndex); });
            Attempt([&] { SetSettingInt(SettingsKey::SortKeyAsc, state.sortAscending ? 1 : 0); });
        }
        if (state.windowState != Minimized) {
            Attempt([&] { SetSettingInt(SettingsKey::Maximized, state.windowState); });
            Attempt([&] { SetSettingInt(SettingsKey::Width, state.widthTwips); });
            Attempt([&] { SetSettingInt(SettingsKey::Height, state.heightTwips); });
        }
    } else {
        Attempt([&] { SetSettingInt(SettingsKey::ShowGroupTotals, 1); });
        Attempt([&] { SetSettingInt(SettingsKey::GroupOpt, 0); });
        Attempt([&] { SetSettingInt(SettingsKey::SelectedView, 0); });
    }
    Attempt([&] { SetSettingInt(SettingsKey::IntLang, state.languageChoice); });
}

} // namespace MainWindowSettings
