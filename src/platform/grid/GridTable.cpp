#include "platform/grid/GridTable.h"

#include "platform/grid/GridRecords.h"

const GridColumn &GridTable::columnOrNone(int number) const
{
    static const GridColumn none = [] {
        GridColumn c;
        c.width = 0;
        c.visible = false;
        return c;
    }();
    return isValidColumn(number) ? column(number) : none;
}

int GridTable::columnOfField(const QString &name) const
{
    for (int i = 0; i < columnCount(); ++i)
        if (!m_columns[i].name.isEmpty() && m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

void GridTable::setRecords(GridRecords &&records)
{
    setFields(records.fieldNames);
    for (int i = 0; i < m_fieldCount; ++i)
        m_values[i] = std::move(records.columns[i]);
    m_rows = records.rowCount;
}

void GridTable::setFields(const QStringList &names)
{
    bool same = m_fieldCount == names.size();
    for (int i = 0; same && i < names.size(); ++i)
        same = m_columns[i].name.compare(names.at(i), Qt::CaseInsensitive) == 0;
    if (same)
        return;
    std::vector<GridColumn> columns;
    std::vector<GridCells> values(names.size());
    for (const QString &name : names) {
        GridColumn c;
        c.name = name;
        c.caption = name;
        columns.push_back(c);
    }
    for (size_t i = m_fieldCount; i < m_columns.size(); ++i) {
        columns.push_back(std::move(m_columns[i]));
        values.push_back(std::move(m_values[i]));
    }
    m_columns = std::move(columns);
    m_values = std::move(values);
    m_fieldCount = int(names.size());
}

std::vector<int> GridTable::changeRows(const std::vector<int> &bookmarks, GridRecords &&rows)
{
    const int count = std::min(int(bookmarks.size()), rows.rowCount);
    reserveRows(m_rows + count);
    std::vector<int> written;
    written.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int b = bookmarks[i];
        for (int c = 0; c < m_fieldCount; ++c) {
            const QVariant value = c < int(rows.columns.size()) ? rows.columns[c].at(i) : QVariant();
            if (b >= 0 && b < m_rows)
                m_values[c].set(b, value);
            else
                m_values[c].append(value);
        }
        written.push_back(b >= 0 && b < m_rows ? b : m_rows++);
    }
    return written;
}

void GridTable::reserveRows(int rows)
{
    // A saved deadline adds a row: growing each column by doubling would copy a
    // large sheet's every value at the first save, so room comes in slices.
    for (GridCells &values : m_values)
        if (values.capacity() < rows)
            values.reserve(rows + rows / 16 + 16);
}

void GridTable::growComputed()
{
    for (int c = m_fieldCount; c < columnCount(); ++c)
        m_values[c].resize(m_rows);
}

int GridTable::addComputedColumn(const QString &caption, GridCells::Kind kind)
{
    GridColumn c;
    c.computed = true;
    c.caption = caption;
    c.kind = kind;
    m_columns.push_back(c);
    m_values.emplace_back();
    return columnCount();
}

void GridTable::setComputedNumber(int column, int bookmark, std::int64_t number)
{
    GridCells &cells = m_values[column - 1];
    if (cells.isNumeric())
        cells.setNumber(bookmark, number);
    else   // an earlier row's value of another kind made it a column of QVariants
        cells.set(bookmark, GridCells::numberValue(m_columns[column - 1].kind, number));
}

void GridTable::clearComputed()
{
    for (int c = m_fieldCount; c < columnCount(); ++c) {
        m_values[c] = GridCells(m_columns[c].kind);
        m_values[c].reserve(m_rows + m_rows / 16 + 16);
        m_values[c].resize(m_rows);
    }
}
