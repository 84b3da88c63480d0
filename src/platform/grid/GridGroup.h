#pragma once

#include "platform/grid/GridRow.h"
#include "store/MoneySum.h"

#include <QVariant>

class GridModel;

// A handle on one group of a GridModel (a group row and the data rows below it).
class GridGroup
{
public:
    GridGroup(const GridModel *model, int group) : m_model(model), m_group(group) {}
    int column() const;          // the grouped column (1-based)
    int level() const;           // 1 for the outer groups
    QVariant value() const;      // the value all its data rows share
    int dataRowCount() const;    // data rows inside, at any depth, collapsed or not
    GridRow dataRow(int k) const;   // k-th data row in listed order (0-based)
    // Exact sum of column k over the group's data rows, collapsed or not, by
    // GridSums::sum: past Currency's range too, out of range when a value is no amount.
    MoneySum sum(int column) const;

private:
    const GridModel *m_model;
    int m_group;
};
