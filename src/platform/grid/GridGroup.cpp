#include "platform/grid/GridGroup.h"

#include "platform/grid/GridModel.h"
#include "platform/grid/GridSums.h"


int GridGroup::column() const
{
    return m_model->m_ordering.group(m_group).column;
}

int GridGroup::level() const
{
    return m_model->m_ordering.group(m_group).level;
}

QVariant GridGroup::value() const
{
    return m_model->m_ordering.group(m_group).value;
}

int GridGroup::dataRowCount() const
{
    const auto &g = m_model->m_ordering.group(m_group);
    return g.last - g.first;
}

GridRow GridGroup::dataRow(int k) const
{
    const auto &g = m_model->m_ordering.group(m_group);
    if (k < 0 || k >= g.last - g.first)
        return GridRow(m_model, -1);
    return GridRow(m_model, m_model->m_ordering.bookmarkAt(g.first + k));
}

MoneySum GridGroup::sum(int column) const
{
    const GridOrdering &ordering = m_model->m_ordering;
    const auto &g = ordering.group(m_group);
    if (auto it = g.sums.constFind(column); it != g.sums.constEnd())
        return *it;
    const GridTable &table = m_model->m_table;
    const MoneySum total = table.isValidColumn(column)
        ? GridSums::sum(table.values(column), ordering.bookmarks(g.first, g.last))
        : MoneySum();
    g.sums.insert(column, total);
    return total;
}
