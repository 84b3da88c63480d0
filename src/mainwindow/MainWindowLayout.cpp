#include "mainwindow/MainWindowLayout.h"

#include <cmath>

namespace MainWindowLayout {

int TwipsToPixels(double twips, double dpi)
{
    return int(std::lround(twips * dpi / 1440.0));
}

int PixelsToTwips(double pixels, double dpi)
{
    if (dpi <= 0)
        return 0;
    return int(std::lround(pixels * 1440.0 / dpi));
}

ListColumnWidths ListColumnWidthsFor(double gridWidthTwips, double scrollBarWidthTwips, int columnCount)
{
    ListColumnWidths widths;
    // What the fixed columns, the icon column, the scroll bar and the grid's cell
    // borders leave for the two text columns.
    const double rest = gridWidthTwips - 2 * scrollBarWidthTwips - 10.0 * columnCount - 3520 - 660 + 100;
    const long description = std::lround(0.6 * rest);
    const long counterparty = std::lround(0.4 * rest);
    if (description >= 0)
        widths.description = int(description);
    if (counterparty >= 0)
        widths.counterparty = int(counterparty);
    return widths;
}

int CalendarMonthsAcross(double windowWidthTwips)
{
    if (windowWidthTwips > 23000)
        return 3;
    if (windowWidthTwips > 19000)
        return 2;
    return 1;
}

int CalendarMonthsDown(double windowHeightTwips)
{
    return windowHeightTwips > 14000 ? 2 : 1;
}

} // namespace MainWindowLayout
