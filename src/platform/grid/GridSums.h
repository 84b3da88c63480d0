#pragma once

#include "store/Currency.h"

#include <QVariant>

#include <span>
#include <vector>

namespace GridSums {

// Exact sum of a column's values over some of its rows, given by bookmark:
// money, integers, yes/no and numeric texts count, Null and other texts add
// nothing. A total beyond Currency's range comes out as the range's end, with
// its sign right.
Currency sum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks);
// The same sum in ten-thousandths, exact even where it lies past Currency's range.
__int128 wideSum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks);

} // namespace GridSums
