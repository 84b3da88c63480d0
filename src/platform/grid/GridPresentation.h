#pragma once

#include "platform/grid/GridOrdering.h"

#include <QString>
#include <QStringList>

#include <vector>

class GridModel;
class GridPresenter;
class GridTable;

// Asks the window's presenter what the grid shows: computed values, cell texts
// and pictures, row styles, group captions and styles. A view asks for the same
// row style and caption over and over while it paints, so those answers are
// kept until forgotten. Without a presenter the grid's own defaults apply.
class GridPresentation
{
public:
    explicit GridPresentation(const GridModel *model) : m_model(model) {}

    GridPresenter *presenter() const { return m_presenter; }
    void setPresenter(GridPresenter *presenter) { m_presenter = presenter; }

    // Fills every computed column, one question per row and column.
    void fillComputed(GridTable &table);
    // The same for those rows alone, the others' values and styles kept.
    void fillComputed(GridTable &table, const std::vector<int> &bookmarks);
    // Forgets the kept row styles, and the groups' captions and styles, except
    // captions the window set itself.
    void forget(int rowCount, GridOrdering &ordering);

    QString cellText(const GridTable &table, int bookmark, int column) const;
    // What a view asks of a data row's cell, in GridModel's roles; depth is the
    // number of group levels above it.
    QVariant rowData(const GridTable &table, int bookmark, int column, int role, int depth) const;
    int cellIcon(int bookmark, int column) const;
    QString rowStyle(int bookmark) const;
    QString groupCaption(const GridTable &table, const GridOrdering &ordering, int group) const;
    // A caption the window sets itself stays until the groups are built anew.
    static void replaceGroupCaption(GridOrdering &ordering, int group, const QString &caption);
    QString groupStyle(const GridOrdering &ordering, int group) const;
    bool isSortable(int column) const;

private:
    // One computed value: as a number when the presenter gives one, which the
    // column then holds without a QVariant.
    void compute(GridTable &table, int column, int bookmark);

    const GridModel *m_model;   // for the row and group handles the presenter is given
    GridPresenter *m_presenter = nullptr;
    // Row styles as indices into the few distinct names given; -1 not asked yet.
    mutable std::vector<int> m_styleOfRow;
    mutable QStringList m_styleNames;
};
