#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class GridListing;
class GridOrdering;

// Finds a data row by the value of one column, in listed order, collapsed rows
// included. Equal compares numbers as numbers across their types, dates as
// dates and the rest as text ignoring case; Contains looks for the text inside
// the cell's text, ignoring case.
class GridSearch
{
public:
    enum class Match { Equal, Contains };

    GridSearch(const QVariant &needle, Match match);

    bool matches(const QVariant &cell) const;
    // Walks the order from the position after (step +1) or before (-1) start,
    // wrapping once and ending with start itself; start may lie just outside the
    // order (-1 or its size). Returns the first matching position, or -1.
    static int findPosition(const std::function<bool(int bookmark)> &matches, const std::vector<int> &order,
                            int start, int step);
    // Where a search from a listed row starts: at a data row its own position; at
    // a group row just before its first row going forward, at that row going
    // backward; with no row, just outside the end it walks away from.
    static int startPosition(const GridListing &listing, const GridOrdering &ordering, int fromRow, int step);

private:
    QVariant m_needle;
    QString m_text;
    Match m_match;
};
