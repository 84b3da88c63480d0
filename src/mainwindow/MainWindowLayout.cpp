#include "mainwindow/MainWindowLayout.h"

#include <cmath>

namespace MainWindowLayout {

ListColumnWidths listColumnWidths(double gridWidth, double scrollBarWidth, int columnCount)
{
    ListColumnWidths widths;
    // What the date and amount columns, the icon column, the scroll bar and the
    // grid's cell borders leave for the two text columns.
    const double rest = gridWidth - 2 * scrollBarWidth - 2.0 * columnCount / 3.0 - 272;
    const long description = std::lround(0.6 * rest);
    const long counterparty = std::lround(0.4 * rest);
    if (description >= 0)
        widths.description = int(description);
    if (counterparty >= 0)
        widths.counterparty = int(counterparty);
    return widths;
}

int calendarMonthsAcross(double windowWidth)
{
    if (windowWidth > 1533)
        return 3;
    if (windowWidth > 1266)
        return 2;
    return 1;
}

int calendarMonthsDown(double windowHeight)
{
    return windowHeight > 933 ? 2 : 1;
}

} // namespace MainWindowLayout
