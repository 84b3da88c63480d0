#include "../support/TestRows.h"
#include "GridTestRows.h"

#include "platform/grid/GridOrdering.h"
#include "platform/grid/GridRecords.h"
#include "platform/grid/GridSearch.h"
#include "platform/grid/GridSums.h"
#include "platform/grid/GridTable.h"

#include <QLocale>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>

namespace {

GridTable sixRows()
{
    GridTable table;
    table.setRecords(GridRecords::fromRows(fields(), rows()));
    return table;
}

// Ids in order, each group as "[value: ...]".
QString describe(const GridOrdering &o, const GridTable &t, const std::vector<int> &groups)
{
    QStringList out;
    for (int g : groups) {
        const GridOrdering::Group &group = o.group(g);
        QStringList inside;
        if (group.children.empty()) {
            for (int p = group.first; p < group.last; ++p)
                inside << t.value(o.bookmarkAt(p), Id).toString();
        } else {
            inside << describe(o, t, group.children);
        }
        out << QStringLiteral("[%1: %2]").arg(group.value.toString(), inside.join(QLatin1Char(' ')));
    }
    return out.join(QLatin1Char(' '));
}

QString describe(const GridOrdering &o, const GridTable &t)
{
    if (o.hasGroups())
        return describe(o, t, o.topGroups());
    QStringList ids;
    for (int p = 0; p < o.rowCount(); ++p)
        ids << t.value(o.bookmarkAt(p), Id).toString();
    return ids.join(QLatin1Char(' '));
}

constexpr qint64 largest = std::numeric_limits<qint64>::max();

// The sum's ten-thousandths in decimal, or "out of range".
QString sumText(const MoneySum &sum)
{
    return sum.isOutOfRange() ? QStringLiteral("out of range") : int128Text(sum.units());
}

} // namespace

// The rules under the grid model: the order of its rows, search and sums.
class tst_GridOrdering final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void comparableKeysOrderEachKindOfValue_data()
    {
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("expected");   // indices in ascending key order, ties in index order

        QTest::newRow("integers and doubles, Null first")
            << QVariantList{2, -1.5, 0.25, QVariant(), qlonglong(-3)} << "3 4 1 2 0";
        QTest::newRow("doubles across signs and magnitudes") << QVariantList{-0.5, -2.0, 1e300, -1e300, 0.0} << "3 1 0 4 2";
        QTest::newRow("money beyond double precision")
            << QVariantList{money(9007199254740993), money(9007199254740992), money(-1)} << "2 1 0";
        QTest::newRow("dates") << QVariantList{QDate(2024, 3, 1), QDate(2023, 12, 31), QVariant(), QDate(2024, 2, 29)}
                               << "2 1 3 0";
        QTest::newRow("text ignores case; empty ranks with Null")
            << QVariantList{"b", "", "A", QVariant(), "a", "B"} << "1 3 2 4 5 0";
    }

    void comparableKeysOrderEachKindOfValue()
    {
        QFETCH(QVariantList, values);
        QFETCH(QString, expected);

        const std::vector<QVariant> column(values.begin(), values.end());
        const std::vector<std::int64_t> k = GridOrdering::comparableKeys(column);
        std::vector<int> order(k.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return k[a] < k[b]; });
        QStringList got;
        for (int i : order)
            got << QString::number(i);
        QCOMPARE(got.join(QLatin1Char(' ')), expected);
    }

    void ordersByGroupsThenKeysKeepingTies_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("sortKeys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("record order") << "" << "" << "1 2 3 4 5 6";
        // One key up and down is walked through the model's header clicks.
        QTest::newRow("text ignores case") << "" << "5" << "1 2 5 6 3 4";
        QTest::newRow("one level, Null first") << "2" << "" << "[: 4] [Blue: 1 3 6] [Red: 2 5]";
        QTest::newRow("one level descending") << "2-" << "" << "[Red: 2 5] [Blue: 1 3 6] [: 4]";
        QTest::newRow("money descending within groups") << "2" << "4-" << "[: 4] [Blue: 1 6 3] [Red: 5 2]";
        QTest::newRow("second key breaks ties") << "2" << "3,4-" << "[: 4] [Blue: 6 3 1] [Red: 2 5]";
        QTest::newRow("groups stay ascending under a descending sort") << "2" << "1-" << "[: 4] [Blue: 6 3 1] [Red: 5 2]";
        QTest::newRow("two levels")
            << "2,3" << ""
            << "[: [2024-02-29: 4]] [Blue: [2024-01-10: 3 6] [2024-03-05: 1]] [Red: [2024-01-10: 2] [2024-03-05: 5]]";
        QTest::newRow("a level on a column not read yet waits") << "9,2" << "" << "[: 4] [Blue: 1 3 6] [Red: 2 5]";
    }

    void ordersByGroupsThenKeysKeepingTies()
    {
        QFETCH(QString, groups);
        QFETCH(QString, sortKeys);
        QFETCH(QString, expected);

        const GridTable table = sixRows();
        GridOrdering o;
        o.rebuild(table, keys(groups), keys(sortKeys));
        QCOMPARE(describe(o, table), expected);
        for (int b = 0; b < table.rowCount(); ++b)
            QCOMPARE(o.bookmarkAt(o.positionOf(b)), b);
    }

    void ordersLargeListsAsKeyByKey()
    {
        // Keys whose ranges fit in one number are sorted packed (in one pass or,
        // wider than eleven bits, several), others row by row:
        // both must give what comparing key by key gives, Null first when ascending.
        std::vector<QVariantList> values;
        for (int i = 0; i < 300; ++i) {
            const QVariant date = i % 7 == 0 ? QVariant() : QVariant(QDate(2024, 1, 1).addDays((i * 37) % 90));
            const QVariant team = i % 5 == 0 ? QVariant() : QVariant(i % 3);
            const qint64 units = i == 42 ? std::numeric_limits<qint64>::max() / 2 : (i * 7919) % 1000 - 500;
            values.push_back({i, team, date, money(units), QString()});
        }
        GridTable table;
        table.setRecords(GridRecords::fromRows(fields(), values));
        for (const QString &sortKeys : {"3", "3-", "2,3-", "3,1-", "2-,4", "4-,3"}) {
            const QList<GridSortKey> order = keys(sortKeys);
            std::vector<int> expected(values.size());
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                for (const GridSortKey &k : order) {
                    const QVariant va = table.value(a, k.column), vb = table.value(b, k.column);
                    if (va.isValid() != vb.isValid())
                        return k.ascending ? !va.isValid() : !vb.isValid();
                    if (va.isValid() && QVariant::compare(va, vb) != QPartialOrdering::Equivalent)
                        return (QVariant::compare(va, vb) == QPartialOrdering::Less) == k.ascending;
                }
                return false;
            });
            GridOrdering o;
            o.rebuild(table, {}, order);
            QCOMPARE(o.order(), expected);
        }
    }

    void collapsedGroupsStayCollapsedWhileTheirPathLasts()
    {
        const GridTable table = sixRows();
        GridOrdering o;
        o.rebuild(table, keys("2,3"), {});
        // Blue > 2024-01-10, and Red as a whole.
        const int blueJanuary = o.group(o.topGroups()[1]).children[0];
        o.group(blueJanuary).expanded = false;
        o.group(o.topGroups()[2]).expanded = false;
        const QString path = o.pathOf(blueJanuary);

        o.rebuild(table, keys("2,3"), keys("4-"));   // a new sort builds the groups anew
        auto collapsedPaths = [&] {
            QStringList out;
            for (int g = 0; g < o.groupCount(); ++g)
                if (!o.group(g).expanded)
                    out << o.group(g).value.toString();
            return out.join(QLatin1Char(' '));
        };
        QCOMPARE(collapsedPaths(), QStringLiteral("2024-01-10 Red"));
        QCOMPARE(o.pathOf(o.group(o.topGroups()[1]).children[0]), path);

        // Finding a row opens every group above it, and says whether any was closed.
        const int id2 = o.positionOf(1);
        QVERIFY(o.expandAround(id2));
        QVERIFY(!o.expandAround(id2));
        QCOMPARE(collapsedPaths(), QStringLiteral("2024-01-10"));

        // Cleared groups leave nothing collapsed behind.
        o.clearGroups();
        o.rebuild(table, keys("2,3"), {});
        QCOMPARE(collapsedPaths(), QString());
    }

    void findPositionWalksTheOrderOnce()
    {
        // Beneath it, one walk over the order from the start, either way round, the
        // start itself last: "x" sits at positions 1, 2 and 5 of the order, "b" at 0.
        const std::vector<QVariant> values{"x", "a", "x", "b", "x", "c"};   // by bookmark
        const std::vector<int> order{3, 0, 4, 1, 5, 2};
        const std::tuple<QString, int, int, int> walks[] = {{"x", -1, 1, 1}, {"x", 1, 1, 2}, {"x", 5, 1, 1}, {"x", 6, -1, 5},
                                                            {"x", 1, -1, 5}, {"b", 0, 1, 0}, {"zzz", 3, 1, -1}};
        for (const auto &[needle, start, step, expected] : walks) {
            const GridSearch search(needle, GridSearch::Match::Equal);
            QCOMPARE(GridSearch::findPosition([&](int b) { return search.matches(values[b]); }, order, start, step), expected);
        }
    }

    void matchesByKindOfValue_data()
    {
        QTest::addColumn<QVariant>("cell");
        QTest::addColumn<QVariant>("needle");
        QTest::addColumn<bool>("contains");
        QTest::addColumn<bool>("expected");

        QTest::newRow("integers of any width") << QVariant(2) << QVariant(qlonglong(2)) << false << true;
        QTest::newRow("integer and double") << QVariant(2) << QVariant(2.0) << false << true;
        QTest::newRow("money and double") << money(25000) << QVariant(2.5) << false << true;
        QTest::newRow("money and integer") << money(20000) << QVariant(2) << false << true;
        QTest::newRow("money off by its last unit") << money(20001) << QVariant(2) << false << false;
        QTest::newRow("text ignores case") << QVariant("Red") << QVariant("RED") << false << true;
        QTest::newRow("a date by its short text") << QVariant(QDate(2024, 2, 29)) << QVariant("2/29/2024") << false << true;
        QTest::newRow("Null equals Null") << QVariant() << QVariant() << false << true;
        QTest::newRow("Null is not empty text") << QVariant() << QVariant("") << false << false;
        QTest::newRow("contains ignores case") << QVariant("delta RENT") << QVariant("rent") << true << true;
        QTest::newRow("contains in money's plain text") << money(105000) << QVariant("10.5") << true << true;
        QTest::newRow("Null contains nothing") << QVariant() << QVariant("x") << true << false;
        QTest::newRow("empty text is found nowhere") << QVariant("abc") << QVariant("") << true << false;
    }

    void matchesByKindOfValue()
    {
        QFETCH(QVariant, cell);
        QFETCH(QVariant, needle);
        QFETCH(bool, contains);
        QFETCH(bool, expected);

        const GridSearch search(needle, contains ? GridSearch::Match::Contains : GridSearch::Match::Equal);
        QCOMPARE(search.matches(cell), expected);
    }

    void addsExactlyPastTheRange_data()
    {
        QTest::addColumn<QVariantList>("amounts");
        QTest::addColumn<QString>("expected");

        QTest::newRow("ten-thousandths") << QVariantList{money(1), money(2), money(3)} << "6";
        QTest::newRow("beyond double precision")
            << QVariantList{money(4503599627370497), money(4503599627370497), money(1)} << "9007199254740995";
        QTest::newRow("credits minus debits") << QVariantList{money(105000), money(-32500), money(-72500)} << "0";
        QTest::newRow("Null adds nothing") << QVariantList{money(5), QVariant(), money(-1)} << "4";
        QTest::newRow("whole numbers, yes/no and numeric text")
            << QVariantList{3, qlonglong(4), true, "12.5"} << "205000";
        QTest::newRow("largest amounts past the range keep their sign")
            << QVariantList{money(largest), money(largest), money(1)} << "18446744073709551615";
        QTest::newRow("largest debits past the range keep their sign")
            << QVariantList{money(-largest), money(-largest), money(-1)} << "-18446744073709551615";
        QTest::newRow("back within the range after passing it")
            << QVariantList{money(largest), money(largest), money(-largest)} << QString::number(largest);
        // Values no amount holds make the total unknown, not smaller.
        QTest::newRow("a number past the range") << QVariantList{money(5), 1e300} << "out of range";
        QTest::newRow("a negative one") << QVariantList{-1e300, money(5)} << "out of range";
        QTest::newRow("not a number") << QVariantList{money(5), std::nan("")} << "out of range";
        QTest::newRow("a text that is no number") << QVariantList{money(5), "n/a"} << "out of range";
    }

    void addsExactlyPastTheRange()
    {
        QFETCH(QVariantList, amounts);
        QFETCH(QString, expected);

        // A row outside the group sits first; only the group's bookmarks count.
        std::vector<QVariant> values{money(999), 1e300};
        values.insert(values.end(), amounts.begin(), amounts.end());
        std::vector<int> group(amounts.size());
        std::iota(group.begin(), group.end(), 2);
        QCOMPARE(sumText(GridSums::sum(values, group)), expected);
    }
};

QTEST_GUILESS_MAIN(tst_GridOrdering)
#include "tst_GridOrdering.moc"
