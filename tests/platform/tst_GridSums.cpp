#include "platform/grid/GridSums.h"

#include <QTest>

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

QVariant cur(qint64 units)
{
    return QVariant::fromValue(Currency::fromUnits(units));
}

constexpr qint64 largest = std::numeric_limits<qint64>::max();

} // namespace

class tst_GridSums final : public QObject
{
    Q_OBJECT

private slots:
    void addsExactlyAndStopsAtTheRangesEnd_data();
    void addsExactlyAndStopsAtTheRangesEnd();
};

void tst_GridSums::addsExactlyAndStopsAtTheRangesEnd_data()
{
    QTest::addColumn<QVariantList>("amounts");
    QTest::addColumn<qint64>("expectedUnits");

    QTest::newRow("ten-thousandths") << QVariantList{cur(1), cur(2), cur(3)} << qint64(6);
    QTest::newRow("beyond double precision")
        << QVariantList{cur(4503599627370497), cur(4503599627370497), cur(1)} << qint64(9007199254740995);
    QTest::newRow("credits minus debits") << QVariantList{cur(105000), cur(-32500), cur(-72500)} << qint64(0);
    QTest::newRow("Null and other texts add nothing") << QVariantList{cur(5), QVariant(), "n/a", cur(-1)} << qint64(4);
    QTest::newRow("whole numbers, yes/no and numeric text")
        << QVariantList{3, qlonglong(4), true, "12.5"} << qint64(205000);
    QTest::newRow("largest amounts past the range keep their sign")
        << QVariantList{cur(largest), cur(largest), cur(1)} << largest;
    QTest::newRow("largest debits past the range keep their sign")
        << QVariantList{cur(-largest), cur(-largest), cur(-1)} << std::numeric_limits<qint64>::min();
    QTest::newRow("back within the range after passing it")
        << QVariantList{cur(largest), cur(largest), cur(-largest)} << largest;
}

void tst_GridSums::addsExactlyAndStopsAtTheRangesEnd()
{
    QFETCH(QVariantList, amounts);
    QFETCH(qint64, expectedUnits);

    // A row outside the group sits first; only the group's bookmarks count.
    std::vector<QVariant> values{cur(999)};
    values.insert(values.end(), amounts.begin(), amounts.end());
    std::vector<int> group(amounts.size());
    std::iota(group.begin(), group.end(), 1);
    QCOMPARE(GridSums::sum(values, group).units(), expectedUnits);
    // Money past the range: the wide sum is the true one, where the other stops.
    if (QByteArray(QTest::currentDataTag()).contains("largest")) {
        __int128 exact = 0;
        for (const QVariant &amount : amounts)
            exact += amount.value<Currency>().units();
        QVERIFY(GridSums::wideSum(values, group) == exact);
        QVERIFY(exact != expectedUnits);
    }
}

QTEST_GUILESS_MAIN(tst_GridSums)
#include "tst_GridSums.moc"
