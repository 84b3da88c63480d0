#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

class GridCells;
class GridModel;

// A handle on one data row of a GridModel, handed to the presenter. Cheap to copy;
// valid until the model re-reads or changes its rows.
class GridRow
{
public:
    GridRow(const GridModel *model, int bookmark) : m_model(model), m_bookmark(bookmark) {}
    // Index of the row in the record set as read (0-based, the grid's bookmark).
    int bookmark() const { return m_bookmark; }
    // Value of column k (1-based): a field of the record source or a computed
    // column already filled. Invalid QVariant for Null or an unknown column.
    QVariant field(int column) const;
    // Field by name, case-insensitive; invalid QVariant for an unknown name.
    QVariant field(const QString &name) const;
    // Whether field() is invalid, without making it.
    bool isNull(int column) const;
    // The same value read without a QVariant, for filters and computed columns
    // that visit every row: yes/no as 1 or 0, integers, a date as its Julian day,
    // money in ten-thousandths; ifNull for Null. Nothing for a value that is no
    // number (a text) or an unknown column.
    std::optional<std::int64_t> number(int column, std::int64_t ifNull = 0) const;
    // A date column's day; an invalid date for Null or anything else.
    QDate date(int column) const;

private:
    // The column's values, or null for an unknown column or row.
    const GridCells *cells(int column) const;

    const GridModel *m_model;
    int m_bookmark;
};
