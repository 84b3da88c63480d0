#pragma once

#include "store/Currency.h"

#include <QString>
#include <QVariant>

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

private:
    const GridModel *m_model;
    int m_bookmark;
};

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
    // Exact sum of column k over the group's data rows (Currency, integers,
    // yes/no and numeric texts; Null counts as 0).
    Currency sum(int column) const;

private:
    const GridModel *m_model;
    int m_group;
};

// What the window tells the grid, row by row. The model asks; it never paints.
// Every method has a neutral default, so a window overrides only what it needs.
class GridPresenter
{
public:
    virtual ~GridPresenter() = default;

    // Value of a computed column for a data row. Asked once per row whenever the
    // rows are (re-)read or refreshComputed() runs; the result is kept.
    virtual QVariant computedValue(int column, const GridRow &row);
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
};
