#include "platform/grid/GridSums.h"

#include "platform/grid/GridValues.h"

#include <algorithm>
#include <limits>

namespace GridSums {

__int128 wideSum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks)
{
    // Added in a wider type: many large amounts must not wrap round to a wrong
    // sign on the way, even when the total ends up back within the range.
    __int128 units = 0;
    for (int b : bookmarks)
        units += GridValues::toCurrency(valuesByBookmark[b]).value_or(Currency()).units();
    return units;
}

Currency sum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks)
{
    const __int128 units = wideSum(valuesByBookmark, bookmarks);
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    constexpr qint64 highest = std::numeric_limits<qint64>::max();
    return Currency::fromUnits(qint64(std::clamp<__int128>(units, lowest, highest)));
}

} // namespace GridSums
