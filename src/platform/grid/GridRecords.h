#pragma once

#include "platform/grid/GridCells.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The rows a window feeds a grid, held column by column so that ordering
// and sums walk one contiguous run of values.
struct GridRecords
{
    QStringList fieldNames;
    std::vector<GridCells> columns;   // [field], by row
    int rowCount = 0;

    // Rows given directly; a short row is padded with Null.
    static GridRecords fromRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows);
};
