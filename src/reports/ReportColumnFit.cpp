#include "reports/ReportColumnFit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal TypeWidth = ReportIndentStep;
constexpr qreal DateWidth = 88;
constexpr qreal AmountWidth = 83;
// The type column and three indentation steps.
constexpr qreal ReservedWidth = 66;

} // namespace

ReportColumnWidths fitReportColumns(qreal printableWidth)
{
    const qreal rest = std::max<qreal>(0, printableWidth - DateWidth - AmountWidth - ReservedWidth);
    ReportColumnWidths widths;
    widths.type = TypeWidth;
    widths.date = DateWidth;
    widths.amount = AmountWidth;
    // Whole tenths of a point keep the page layout the same from run to run.
    widths.description = std::round(rest * 6) / 10;
    widths.counterparty = std::round(rest * 4) / 10;
    return widths;
}
