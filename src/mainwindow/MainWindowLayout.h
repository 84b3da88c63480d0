#pragma once

#include <optional>

// Geometry rules of the main window, in twips (1440 to the inch) as the settings
// keep them, and their conversion to pixels through the screen's real resolution.
namespace MainWindowLayout {

constexpr int DesignedWidthTwips = 10785;
constexpr int DesignedHeightTwips = 7395;
constexpr int MinWidthTwips = 13860;
constexpr int MinHeightTwips = 8370;
constexpr int TypeColumnTwips = 330;
constexpr int DateColumnTwips = 1760;
constexpr int AmountColumnTwips = 1660;

int TwipsToPixels(double twips, double dpi);
int PixelsToTwips(double pixels, double dpi);

// Widths of the list's sized columns. Description and counterparty share what is
// left of the grid's width 60/40; when nothing is left they keep their width.
struct ListColumnWidths
{
    int date = DateColumnTwips;
    int amount = AmountColumnTwips;
    std::optional<int> description;
    std::optional<int> counterparty;
};
ListColumnWidths ListColumnWidthsFor(double gridWidthTwips, double scrollBarWidthTwips, int columnCount);

// How many months the calendar shows side by side and one above the other.
int CalendarMonthsAcross(double windowWidthTwips);
int CalendarMonthsDown(double windowHeightTwips);

} // namespace MainWindowLayout
