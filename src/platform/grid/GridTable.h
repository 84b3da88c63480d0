#pragma once

#include "platform/grid/GridCells.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <Qt>

#include <vector>

struct GridRecords;

// A column of the grid with how it is shown.
struct GridColumn
{
    QString name;              // the field's name; empty for a computed column
    bool computed = false;
    QString caption;
    int width = 100;
    bool visible = true;
    QString format;            // "Short Date", "Currency", ... or empty
    QString emptyText;         // shown for a Null value
    Qt::Alignment alignment;   // 0: by the value's type
    GridCells::Kind kind = GridCells::Kind::Variant;   // what a computed column holds
};

// The values behind the grid and each column's settings. Columns are 1-based:
// the record source's fields in their order, then computed columns. A row is
// known by its bookmark, its 0-based index in the record set as read.
class GridTable
{
public:
    int columnCount() const { return int(m_columns.size()); }
    int fieldCount() const { return m_fieldCount; }
    int rowCount() const { return m_rows; }
    bool isValidColumn(int column) const { return column >= 1 && column <= columnCount(); }

    const GridColumn &column(int number) const { return m_columns[number - 1]; }
    GridColumn &column(int number) { return m_columns[number - 1]; }
    // The column's settings, or for a number out of range a column of nothing:
    // no name or caption, no width, not visible.
    const GridColumn &columnOrNone(int number) const;
    int columnOfField(const QString &name) const;   // case-insensitive; 0 when unknown

    QVariant value(int bookmark, int column) const { return m_values[column - 1].at(bookmark); }
    const GridCells &values(int column) const { return m_values[column - 1]; }

    // Takes rows read afresh. When the fields are the ones already held, their
    // settings stay; otherwise the fields start with default settings. Computed
    // columns stay after the fields either way, to be filled again.
    void setRecords(GridRecords &&records);
    // Each bookmark takes the row of the same index in rows; -1 appends it.
    // Returns the bookmark each row went to; computed columns are not touched.
    std::vector<int> changeRows(const std::vector<int> &bookmarks, GridRecords &&rows);
    // Computed columns as long as the rows, new places Null.
    void growComputed();
    // Returns the new column's number. A column of one kind of value holds it
    // as that type; should another value come, as a QVariant.
    int addComputedColumn(const QString &caption, GridCells::Kind kind = GridCells::Kind::Variant);
    // Empties every computed column to one Null per row, ready to be filled.
    void clearComputed();
    void setComputedValue(int column, int bookmark, const QVariant &value) { m_values[column - 1].set(bookmark, value); }
    // A number as GridCells holds one of the column's kind (its NullNumber or
    // NullMoney for Null).
    void setComputedNumber(int column, int bookmark, std::int64_t number);

private:
    void reserveRows(int rows);
    void setFields(const QStringList &names);

    std::vector<GridColumn> m_columns;
    std::vector<GridCells> m_values;   // [column - 1], by bookmark
    int m_fieldCount = 0;
    int m_rows = 0;
};
