#include "platform/grid/GridPresenter.h"

QVariant GridPresenter::computedValue(int, const GridRow &)
{
    return {};
}

std::optional<std::int64_t> GridPresenter::computedNumber(int, const GridRow &)
{
    return std::nullopt;
}

bool GridPresenter::displayText(int, const GridRow &, QString &)
{
    return false;
}

int GridPresenter::iconIndex(int, const GridRow &)
{
    return -1;
}

QString GridPresenter::rowStyle(const GridRow &)
{
    return {};
}

QString GridPresenter::groupRowStyle(const GridGroup &)
{
    return QStringLiteral("RowGroup");
}

QString GridPresenter::groupCaption(const GridGroup &, const QString &defaultCaption)
{
    return defaultCaption;
}

bool GridPresenter::isSortable(int)
{
    return true;
}

QString GridPresenter::accessibleText(int, const GridRow &)
{
    return {};
}

QString GridPresenter::accessibleColumnName(int)
{
    return {};
}

QString GridPresenter::accessibleDescription(const GridRow &)
{
    return {};
}
