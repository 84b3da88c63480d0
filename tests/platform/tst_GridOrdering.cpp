#include "../support/GridSampleRows.h"

#include "platform/grid/GridOrdering.h"
#include "platform/grid/GridRecords.h"
#include "platform/grid/GridTable.h"

#include <QDate>
#include <QLocale>
#include <QTest>

#include <algorithm>
#include <numeric>

using namespace GridSample;

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

} // namespace

class tst_GridOrdering final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void comparableKeysOrderEachKindOfValue_data();
    void comparableKeysOrderEachKindOfValue();
    void ordersByGroupsThenKeysKeepingTies_data();
    void ordersByGroupsThenKeysKeepingTies();
    void collapsedGroupsStayCollapsedWhileTheirPathLasts();
};

void tst_GridOrdering::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_GridOrdering::comparableKeysOrderEachKindOfValue_data()
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

void tst_GridOrdering::comparableKeysOrderEachKindOfValue()
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

void tst_GridOrdering::ordersByGroupsThenKeysKeepingTies_data()
{
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("sortKeys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("record order") << "" << "" << "1 2 3 4 5 6";
    QTest::newRow("date ascending, ties in record order") << "" << "3" << "2 3 6 4 1 5";
    QTest::newRow("date descending, ties in record order") << "" << "3-" << "1 5 4 2 3 6";
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

void tst_GridOrdering::ordersByGroupsThenKeysKeepingTies()
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

void tst_GridOrdering::collapsedGroupsStayCollapsedWhileTheirPathLasts()
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

QTEST_GUILESS_MAIN(tst_GridOrdering)
#include "tst_GridOrdering.moc"
