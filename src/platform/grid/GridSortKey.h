#pragma once

// One sort key or group level: a 1-based column number and its order.
struct GridSortKey
{
    int column = 0;
    bool ascending = true;
    bool operator==(const GridSortKey &) const = default;
};
