#include "platform/grid/GridSearch.h"

#include "platform/grid/GridListing.h"
#include "platform/grid/GridOrdering.h"
#include "platform/grid/GridValues.h"

#include <QDate>

namespace {

bool valuesEqual(const QVariant &cell, const QVariant &needle)
{
    using namespace GridValues;
    const bool cellNull = isNull(cell);
    const bool needleNull = isNull(needle);
    if (cellNull || needleNull)
        return cellNull && needleNull;
    const bool cellNumber = isIntegral(cell) || isFloating(cell) || isCurrency(cell);
    const bool needleNumber = isIntegral(needle) || isFloating(needle) || isCurrency(needle);
    if (cellNumber && needleNumber) {
        if (isIntegral(cell) && isIntegral(needle))
            return cell.toLongLong() == needle.toLongLong();
        if (isFloating(cell) || isFloating(needle))
            return (isCurrency(cell) ? cell.value<Currency>().toDouble() : cell.toDouble())
                == (isCurrency(needle) ? needle.value<Currency>().toDouble() : needle.toDouble());
        return toCurrency(cell) == toCurrency(needle);
    }
    if (cell.typeId() == QMetaType::QDate && needle.typeId() == QMetaType::QDate)
        return cell.toDate() == needle.toDate();
    return plainText(cell).compare(plainText(needle), Qt::CaseInsensitive) == 0;
}

} // namespace

GridSearch::GridSearch(const QVariant &needle, Match match)
    : m_needle(needle), m_text(GridValues::plainText(needle)), m_match(match)
{
}

bool GridSearch::matches(const QVariant &cell) const
{
    if (m_match == Match::Equal)
        return valuesEqual(cell, m_needle);
    // An empty text would be inside everything: it finds nothing instead.
    return !m_text.isEmpty() && cell.isValid() && GridValues::plainText(cell).contains(m_text, Qt::CaseInsensitive);
}

int GridSearch::findPosition(const std::function<bool(int bookmark)> &matches, const std::vector<int> &order,
                             int start, int step)
{
    const int n = int(order.size());
    for (int i = 1; i <= n; ++i) {
        const int p = ((start + step * i) % n + n) % n;
        if (matches(order[p]))
            return p;
    }
    return -1;
}

int GridSearch::startPosition(const GridListing &listing, const GridOrdering &ordering, int fromRow, int step)
{
    if (!listing.isListed(fromRow))
        return step > 0 ? -1 : ordering.rowCount();
    const GridListing::Entry &e = listing.entry(fromRow);
    if (e.group < 0)
        return e.position;
    const int first = ordering.group(e.group).first;
    return step > 0 ? first - 1 : first;
}
