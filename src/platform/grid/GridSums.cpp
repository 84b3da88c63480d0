#include "platform/grid/GridSums.h"

#include "platform/grid/GridValues.h"

namespace GridSums {

MoneySum sum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks)
{
    MoneySum total;
    for (int b : bookmarks)
        total.add(GridValues::toCurrency(valuesByBookmark[b]));
    return total;
}

} // namespace GridSums
