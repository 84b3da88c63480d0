#pragma once

#include <QString>
#include <Qt>

// One printed column: its heading, its width in points, where its texts sit and
// whether a text too long for it continues on further lines (otherwise it is
// shortened with an ellipsis).
struct ReportColumn
{
    QString caption;
    qreal width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool wraps = false;
};
