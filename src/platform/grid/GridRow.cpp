#include "platform/grid/GridRow.h"

#include "platform/grid/GridModel.h"
#include "platform/grid/GridValues.h"

#include <limits>

const GridCells *GridRow::cells(int column) const
{
    if (!m_model)
        return nullptr;
    const GridTable &table = m_model->m_table;
    if (!table.isValidColumn(column) || m_bookmark < 0 || m_bookmark >= table.rowCount())
        return nullptr;
    return &table.values(column);
}

QVariant GridRow::field(int column) const
{
    const GridCells *values = cells(column);
    return values ? values->at(m_bookmark) : QVariant();
}

bool GridRow::isNull(int column) const
{
    const GridCells *values = cells(column);
    return !values || values->isNull(m_bookmark);
}

std::optional<std::int64_t> GridRow::number(int column, std::int64_t ifNull) const
{
    const GridCells *values = cells(column);
    if (!values)
        return std::nullopt;
    if (values->isNull(m_bookmark))
        return ifNull;
    if (values->isNumeric())
        return values->number(m_bookmark);
    if (values->kind() == GridCells::Kind::Text)
        return std::nullopt;
    // A column that took a value of another kind holds QVariants.
    const QVariant &value = values->variant(m_bookmark);
    if (GridValues::isIntegral(value))
        return value.toLongLong();
    if (GridValues::isCurrency(value))
        return value.value<Currency>().units();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toJulianDay();
    return std::nullopt;
}

QDate GridRow::date(int column) const
{
    const GridCells *values = cells(column);
    if (!values || values->kind() != GridCells::Kind::Date)
        return field(column).toDate();
    return values->isNull(m_bookmark) ? QDate() : QDate::fromJulianDay(values->number(m_bookmark));
}

QVariant GridRow::field(const QString &name) const
{
    return m_model ? field(m_model->columnOfField(name)) : QVariant();
}
