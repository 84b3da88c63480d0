#pragma once

#include <optional>

class SettingsStore;

// The main window's share of the settings store: what it reads when it is created
// and loaded, and what it writes back when it closes.
namespace MainWindowSettings {

enum WindowState : int { Normal = 0, Minimized = 1, Maximized = 2 };

// The layout to start with. With the layout not saved (or a stored value out of
// range) the designed defaults apply: view 0, layout 0, date column ascending,
// maximised only when stored so.
struct StartLayout
{
    int view = 0;
    int groupOption = 0;
    int sortKeyIndex = 5;
    int sortAscending = 1;
    bool maximized = false;
    std::optional<int> width;         // pixels, only when a normal-sized window is restored
    std::optional<int> height;
};
StartLayout readStartLayout(const SettingsStore &settings, bool saveLayout);

// What the window knows when it closes.
struct ExitState
{
    int view = 0;
    int groupOption = 0;
    std::optional<int> sortKeyIndex;  // the grid's first sort key, when it has one
    bool sortAscending = true;
    WindowState windowState = Normal;
    int width = 0;                    // pixels
    int height = 0;
    int languageChoice = 0;
};
// Writes the exit settings; a failing write is skipped and the next one still runs.
// False when any of them could not be kept.
bool writeExitSettings(SettingsStore &settings, bool saveLayout, const ExitState &state);

} // namespace MainWindowSettings
