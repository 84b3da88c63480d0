#include "platform/grid/GridSums.h"

#include "platform/grid/GridCells.h"
#include "platform/grid/GridValues.h"

namespace GridSums {

MoneySum sum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks)
{
    MoneySum total;
    for (int b : bookmarks)
        total.add(GridValues::toCurrency(valuesByBookmark[b]));
    return total;
}

MoneySum sum(const GridCells &valuesByBookmark, std::span<const int> bookmarks)
{
    MoneySum total;
    if (valuesByBookmark.kind() == GridCells::Kind::Money) {
        // Money needs no conversion: Null adds nothing.
        for (int b : bookmarks)
            if (!valuesByBookmark.isNull(b))
                total.add(Currency::fromUnits(valuesByBookmark.number(b)));
        return total;
    }
    for (int b : bookmarks)
        total.add(GridValues::toCurrency(valuesByBookmark.at(b)));
    return total;
}

} // namespace GridSums
