#include "platform/grid/GridPresentation.h"

#include "platform/grid/GridFormat.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/GridPresenter.h"
#include "platform/grid/GridTable.h"
#include "platform/grid/GridValues.h"
#include "store/Prefault.h"

void GridPresentation::fillComputed(GridTable &table)
{
    assignCommitted(m_styleOfRow, size_t(table.rowCount()), -1);
    m_styleNames.clear();
    // All computed columns are emptied first, so a presenter that reads another
    // computed column never meets values of rows that are gone.
    table.clearComputed();
    if (!m_presenter)
        return;
    for (int c = table.fieldCount() + 1; c <= table.columnCount(); ++c)
        for (int b = 0; b < table.rowCount(); ++b)
            compute(table, c, b);
}

void GridPresentation::compute(GridTable &table, int column, int bookmark)
{
    const GridRow row(m_model, bookmark);
    if (table.column(column).kind != GridCells::Kind::Variant && table.column(column).kind != GridCells::Kind::Text) {
        if (const std::optional<std::int64_t> number = m_presenter->computedNumber(column, row))
            return table.setComputedNumber(column, bookmark, *number);
    }
    table.setComputedValue(column, bookmark, m_presenter->computedValue(column, row));
}

void GridPresentation::fillComputed(GridTable &table, const std::vector<int> &bookmarks)
{
    table.growComputed();
    m_styleOfRow.resize(table.rowCount(), -1);
    for (int b : bookmarks) {
        m_styleOfRow[b] = -1;
        for (int c = table.fieldCount() + 1; c <= table.columnCount(); ++c)
            table.setComputedValue(c, b, QVariant());
    }
    if (!m_presenter)
        return;
    for (int c = table.fieldCount() + 1; c <= table.columnCount(); ++c)
        for (int b : bookmarks)
            compute(table, c, b);
}

void GridPresentation::forget(int rowCount, GridOrdering &ordering)
{
    assignCommitted(m_styleOfRow, size_t(rowCount), -1);
    m_styleNames.clear();
    for (int g = 0; g < ordering.groupCount(); ++g) {
        GridOrdering::Group &group = ordering.group(g);
        group.styleKnown = false;
        if (!group.captionReplaced)
            group.captionKnown = false;
    }
}

QString GridPresentation::cellText(const GridTable &table, int bookmark, int column) const
{
    QString text;
    if (m_presenter && m_presenter->displayText(column, GridRow(m_model, bookmark), text))
        return text;
    const GridColumn &c = table.column(column);
    text = GridFormat::text(table.value(bookmark, column), c.format);
    return text.isEmpty() ? c.emptyText : text;
}

int GridPresentation::cellIcon(int bookmark, int column) const
{
    return m_presenter ? m_presenter->iconIndex(column, GridRow(m_model, bookmark)) : -1;
}

QString GridPresentation::rowStyle(int bookmark) const
{
    if (!m_presenter)
        return {};
    int &slot = m_styleOfRow[bookmark];
    if (slot < 0) {
        const QString name = m_presenter->rowStyle(GridRow(m_model, bookmark));
        slot = int(m_styleNames.indexOf(name));
        if (slot < 0) {
            slot = int(m_styleNames.size());
            m_styleNames.append(name);
        }
    }
    return m_styleNames.at(slot);
}

QString GridPresentation::groupCaption(const GridTable &table, const GridOrdering &ordering, int group) const
{
    const GridOrdering::Group &g = ordering.group(group);
    if (!g.captionKnown) {
        const QString byDefault = GridFormat::text(g.value, table.column(g.column).format);
        g.caption = m_presenter ? m_presenter->groupCaption(GridGroup(m_model, group), byDefault) : byDefault;
        g.captionKnown = true;
    }
    return g.caption;
}

void GridPresentation::replaceGroupCaption(GridOrdering &ordering, int group, const QString &caption)
{
    GridOrdering::Group &g = ordering.group(group);
    g.caption = caption;
    g.captionKnown = true;
    g.captionReplaced = true;
}

QString GridPresentation::groupStyle(const GridOrdering &ordering, int group) const
{
    const GridOrdering::Group &g = ordering.group(group);
    if (!g.styleKnown) {
        g.style = m_presenter ? m_presenter->groupRowStyle(GridGroup(m_model, group)) : QStringLiteral("RowGroup");
        g.styleKnown = true;
    }
    return g.style;
}

bool GridPresentation::isSortable(int column) const
{
    return !m_presenter || m_presenter->isSortable(column);
}

QVariant GridPresentation::rowData(const GridTable &table, int bookmark, int column, int role, int depth) const
{
    switch (role) {
    case Qt::DisplayRole:
        return cellText(table, bookmark, column);
    case GridModel::IconIndexRole:
        return cellIcon(bookmark, column);
    case GridModel::StyleRole:
        return rowStyle(bookmark);
    case GridModel::ValueRole:
        return table.value(bookmark, column);
    case Qt::AccessibleTextRole: {
        const QString spoken = m_presenter ? m_presenter->accessibleText(column, GridRow(m_model, bookmark)) : QString();
        return spoken.isEmpty() ? cellText(table, bookmark, column) : spoken;
    }
    case Qt::AccessibleDescriptionRole:
        return m_presenter ? m_presenter->accessibleDescription(GridRow(m_model, bookmark)) : QString();
    case GridModel::IsGroupRole:
        return false;
    case GridModel::LevelRole:
        return depth;
    case Qt::TextAlignmentRole: {
        Qt::Alignment a = table.column(column).alignment;
        if (!a) {
            using namespace GridValues;
            const QVariant &v = table.value(bookmark, column);
            a = (isIntegral(v) || isFloating(v) || isCurrency(v)) && v.typeId() != QMetaType::Bool ? Qt::AlignRight
                                                                                                   : Qt::AlignLeft;
        }
        return QVariant::fromValue(a | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}
