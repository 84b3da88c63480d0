#pragma once

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
