#pragma once

#include "platform/grid/DataGrid.h"

#include <QStringList>
#include <QVariantList>

// One column of a list's data rows from row `from` to row `to` (-1: the last),
// in screen order; group rows are skipped.
inline QVariantList listedValues(DataGrid *list, int column, int from = 1, int to = -1)
{
    QVariantList values;
    for (int row = from; row <= (to < 0 ? list->rowCount() : to); ++row)
        if (!list->isGroupRow(row))
            values << list->value(row, column);
    return values;
}

inline QStringList listedTexts(DataGrid *list, int column)
{
    QStringList texts;
    for (const QVariant &value : listedValues(list, column))
        texts << value.toString();
    return texts;
}
