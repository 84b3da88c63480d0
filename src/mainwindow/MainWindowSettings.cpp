#include "mainwindow/MainWindowSettings.h"

#include "mainwindow/DeadlineList.h"
#include "startup/Setting.h"
#include "startup/SettingsStore.h"

#include <functional>

namespace MainWindowSettings {

namespace {

int inRange(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}

// The close must never fail because one value could not be stored; false when it was not.
bool attempt(const std::function<void()> &write)
{
    try {
        write();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

StartLayout readStartLayout(const SettingsStore &settings, bool saveLayout)
{
    StartLayout layout;
    if (!saveLayout)
        return layout;

    layout.maximized = settings.integer(Setting::WindowState) == Maximized;
    if (!layout.maximized) {
        layout.width = settings.integer(Setting::WindowWidth);
        layout.height = settings.integer(Setting::WindowHeight);
    }
    auto stored = [&settings](const SettingsStore::Integer &setting, int low, int high) {
        return inRange(settings.integer(setting), low, high, setting.defaultValue);
    };
    layout.view = stored(Setting::SelectedView, 0, ViewCount - 1);
    layout.groupOption = stored(Setting::GroupOption, 0, 3);
    layout.sortKeyIndex = stored(Setting::SortColumn, 1, ListColumn::Count);
    layout.sortAscending = stored(Setting::SortAscending, 0, 1);
    return layout;
}

bool writeExitSettings(SettingsStore &settings, bool saveLayout, const ExitState &state)
{
    bool allKept = true;
    auto store = [&settings, &allKept](const SettingsStore::Integer &setting, int value) {
        allKept = attempt([&] { settings.setInteger(setting, value); }) && allKept;
    };
    if (saveLayout) {
        // The totals switch belongs to the preferences; only they store it.
        store(Setting::GroupOption, state.groupOption);
        store(Setting::SelectedView, state.view);
        if (state.sortKeyIndex) {
            store(Setting::SortColumn, *state.sortKeyIndex);
            store(Setting::SortAscending, state.sortAscending ? 1 : 0);
        }
        if (state.windowState != Minimized) {
            store(Setting::WindowState, state.windowState);
            store(Setting::WindowWidth, state.width);
            store(Setting::WindowHeight, state.height);
        }
    } else {
        store(Setting::ShowGroupTotals, 1);
        store(Setting::GroupOption, 0);
        store(Setting::SelectedView, 0);
    }
    store(Setting::LanguageChoice, state.languageChoice);
    return allKept;
}

} // namespace MainWindowSettings
