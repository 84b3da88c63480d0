#pragma once

#include "store/MoneySum.h"

#include <QVariant>

#include <span>
#include <vector>

class GridCells;

namespace GridSums {

// Exact sum of a column's values over some of its rows, given by bookmark, by
// the program's one summing rule (MoneySum): money, integers, yes/no and numeric
// texts count and Null adds nothing; any other value (a number past Currency's
// range, a text that is no number) is no amount, and the sum is out of range.
MoneySum sum(const std::vector<QVariant> &valuesByBookmark, std::span<const int> bookmarks);
MoneySum sum(const GridCells &valuesByBookmark, std::span<const int> bookmarks);

} // namespace GridSums
