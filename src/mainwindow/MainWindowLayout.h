#pragma once

#include <optional>

// Geometry rules of the main window, in device-independent pixels.
namespace MainWindowLayout {

constexpr int DesignedWidth = 719;
constexpr int DesignedHeight = 493;
// Small enough for an 800x500 screen (1600x1000 at twice the scale) with its
// frame, large enough for the calendar column, the notes and the status bar.
constexpr int MinWidth = 740;
constexpr int MinHeight = 460;
constexpr int TypeColumnWidth = 22;
constexpr int DateColumnWidth = 117;
constexpr int AmountColumnWidth = 111;
constexpr int CalendarColumnMinWidth = 240;

// Widths of the list's sized columns. Description and counterparty share what is
// left of the grid's width 60/40; when nothing is left they keep their width.
struct ListColumnWidths
{
    int date = DateColumnWidth;
    int amount = AmountColumnWidth;
    std::optional<int> description;
    std::optional<int> counterparty;
};
ListColumnWidths listColumnWidths(double gridWidth, double scrollBarWidth, int columnCount);

// How many months the calendar shows side by side and one above the other.
int calendarMonthsAcross(double windowWidth);
int calendarMonthsDown(double windowHeight);

} // namespace MainWindowLayout
