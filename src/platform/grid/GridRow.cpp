#include "platform/grid/GridRow.h"

#include "platform/grid/GridModel.h"

QVariant GridRow::field(int column) const
{
    if (!m_model)
        return {};
    const GridTable &table = m_model->m_table;
    if (!table.isValidColumn(column) || m_bookmark < 0 || m_bookmark >= table.rowCount())
        return {};
    return table.value(m_bookmark, column);
}

QVariant GridRow::field(const QString &name) const
{
    return m_model ? field(m_model->columnOfField(name)) : QVariant();
}
