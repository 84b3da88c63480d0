#pragma once

#include <QtGlobal>

// Widths, in points, of the report's printed columns on a page whose printable
// width (paper width less both margins) is given in points.
struct ReportColumnWidths
{
    qreal type = 0;
    qreal date = 0;
    qreal description = 0;
    qreal counterparty = 0;
    qreal amount = 0;
};

// The type icon, the date and the amount keep fixed widths; what the page leaves
// after those and after room for the group indentation goes six parts to the
// description and four to the counterparty.
ReportColumnWidths fitReportColumns(qreal printableWidth);

// How far each group level indents its rows, in points. Three levels fit in the
// room that fitReportColumns leaves free.
constexpr qreal ReportIndentStep = 16.5;
