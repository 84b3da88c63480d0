#include "platform/grid/GridSums.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

QVariant cur(qint64 units)
{
    return QVariant::fromValue(Currency::fromUnits(units));
}

constexpr qint64 largest = std::numeric_limits<qint64>::max();

// The sum's ten-thousandths in decimal, or "out of range".
QString sumText(const MoneySum &sum)
{
    if (sum.isOutOfRange())
        return QStringLiteral("out of range");
    const __int128 units = sum.units();
    unsigned __int128 magnitude = units < 0 ? -(unsigned __int128)units : (unsigned __int128)units;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return units < 0 ? u'-' + digits : digits;
}

} // namespace

class tst_GridSums final : public QObject
{
    Q_OBJECT

private slots:
    void addsExactlyPastTheRange_data();
    void addsExactlyPastTheRange();
};

void tst_GridSums::addsExactlyPastTheRange_data()
{
    QTest::addColumn<QVariantList>("amounts");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ten-thousandths") << QVariantList{cur(1), cur(2), cur(3)} << "6";
    QTest::newRow("beyond double precision")
        << QVariantList{cur(4503599627370497), cur(4503599627370497), cur(1)} << "9007199254740995";
    QTest::newRow("credits minus debits") << QVariantList{cur(105000), cur(-32500), cur(-72500)} << "0";
    QTest::newRow("Null adds nothing") << QVariantList{cur(5), QVariant(), cur(-1)} << "4";
    QTest::newRow("whole numbers, yes/no and numeric text")
        << QVariantList{3, qlonglong(4), true, "12.5"} << "205000";
    QTest::newRow("largest amounts past the range keep their sign")
        << QVariantList{cur(largest), cur(largest), cur(1)} << "18446744073709551615";
    QTest::newRow("largest debits past the range keep their sign")
        << QVariantList{cur(-largest), cur(-largest), cur(-1)} << "-18446744073709551615";
    QTest::newRow("back within the range after passing it")
        << QVariantList{cur(largest), cur(largest), cur(-largest)} << QString::number(largest);
    // Values no amount holds make the total unknown, not smaller.
    QTest::newRow("a number past the range") << QVariantList{cur(5), 1e300} << "out of range";
    QTest::newRow("a negative one") << QVariantList{-1e300, cur(5)} << "out of range";
    QTest::newRow("not a number") << QVariantList{cur(5), std::nan("")} << "out of range";
    QTest::newRow("a text that is no number") << QVariantList{cur(5), "n/a"} << "out of range";
}

void tst_GridSums::addsExactlyPastTheRange()
{
    QFETCH(QVariantList, amounts);
    QFETCH(QString, expected);

    // A row outside the group sits first; only the group's bookmarks count.
    std::vector<QVariant> values{cur(999), 1e300};
    values.insert(values.end(), amounts.begin(), amounts.end());
    std::vector<int> group(amounts.size());
    std::iota(group.begin(), group.end(), 2);
    QCOMPARE(sumText(GridSums::sum(values, group)), expected);
}

QTEST_GUILESS_MAIN(tst_GridSums)
#include "tst_GridSums.moc"
