#pragma once

#include "platform/grid/GridGroup.h"
#include "platform/grid/GridRow.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

// What the window tells the grid, row by row. The model asks; it never paints.
// Every method has a neutral default, so a window overrides only what it needs.
class GridPresenter
{
public:
    virtual ~GridPresenter() = default;

    // Value of a computed column for a data row. Asked once per row whenever the
    // rows are (re-)read or refreshComputed() runs; the result is kept.
    virtual QVariant computedValue(int column, const GridRow &row);
    // The same for a computed column of numbers (Boolean, Integer, Date or Money),
    // without a QVariant: the number as GridCells holds it, its NullNumber or
    // NullMoney for Null, or nothing when the value is of another kind and
    // computedValue() must be asked.
    virtual std::optional<std::int64_t> computedNumber(int column, const GridRow &row);
    // Text shown in a cell instead of the formatted value; return false to keep
    // the grid's own formatting. An empty text with true shows an empty cell.
    virtual bool displayText(int column, const GridRow &row, QString &text);
    // Picture number of a cell in the view's image list, or -1 for none.
    virtual int iconIndex(int column, const GridRow &row);
    // Named style of a data row ("Expired"), empty for the default look.
    virtual QString rowStyle(const GridRow &row);
    // Named style of a group row; the default is "RowGroup".
    virtual QString groupRowStyle(const GridGroup &group);
    // Caption of a group row; defaultCaption is the group's value as formatted text.
    virtual QString groupCaption(const GridGroup &group, const QString &defaultCaption);
    // Whether a header click may sort by this column.
    virtual bool isSortable(int column);
    // What a screen reader says for a cell (a picture's meaning); empty: the cell's text.
    virtual QString accessibleText(int column, const GridRow &row);
    // What a screen reader calls a column; empty: its caption.
    virtual QString accessibleColumnName(int column);
    // What a screen reader adds about a data row in each of its cells (its state,
    // which the pictures and colours show); empty for nothing.
    virtual QString accessibleDescription(const GridRow &row);
};
