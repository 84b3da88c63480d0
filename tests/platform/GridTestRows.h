// The rows the grid's tests share, and sort keys written as "2-,3".
#pragma once

#include "platform/grid/GridSortKey.h"
#include "store/Currency.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

#include <vector>


enum Column { Id = 1, Team, Date, Amount, Note };

inline QVariant money(qint64 units)
{
    return QVariant::fromValue(Currency::fromUnits(units));
}

inline QStringList fields()
{
    return {"Id", "Team", "Date", "Amount", "Note"};
}

// Six rows whose ties and Null make the grid's ordering rules visible.
inline std::vector<QVariantList> rows()
{
    return {
        {1, "Blue", QDate(2024, 3, 5), money(105000), "alpha rent"},
        {2, "Red", QDate(2024, 1, 10), money(-32500), "Beta"},
        {3, "Blue", QDate(2024, 1, 10), money(1), "gamma"},
        {4, QVariant(), QDate(2024, 2, 29), money(70000), "Rent office"},
        {5, "Red", QDate(2024, 3, 5), money(1000000), "delta RENT"},
        {6, "Blue", QDate(2024, 1, 10), money(20000), "epsilon"},
    };
}

// "2" or "2-,3": column numbers, '-' for descending.
inline QList<GridSortKey> keys(const QString &columns)
{
    QList<GridSortKey> out;
    for (QString part : columns.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const bool descending = part.endsWith(QLatin1Char('-'));
        part.remove(QLatin1Char('-'));
        out.append({part.toInt(), !descending});
    }
    return out;
}
