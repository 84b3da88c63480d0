#include "platform/grid/GridSearch.h"
#include "store/Currency.h"

#include <QDate>
#include <QLocale>
#include <QTest>

namespace {

QVariant cur(qint64 units)
{
    return QVariant::fromValue(Currency::fromUnits(units));
}

} // namespace

class tst_GridSearch final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void matchesByKindOfValue_data();
    void matchesByKindOfValue();
    void walksTheOrderOnceEndingWithTheStart_data();
    void walksTheOrderOnceEndingWithTheStart();
};

void tst_GridSearch::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_GridSearch::matchesByKindOfValue_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<QVariant>("needle");
    QTest::addColumn<bool>("contains");
    QTest::addColumn<bool>("expected");

    QTest::newRow("integers of any width") << QVariant(2) << QVariant(qlonglong(2)) << false << true;
    QTest::newRow("integer and double") << QVariant(2) << QVariant(2.0) << false << true;
    QTest::newRow("money and double") << cur(25000) << QVariant(2.5) << false << true;
    QTest::newRow("money and integer") << cur(20000) << QVariant(2) << false << true;
    QTest::newRow("money off by its last unit") << cur(20001) << QVariant(2) << false << false;
    QTest::newRow("text ignores case") << QVariant("Red") << QVariant("RED") << false << true;
    QTest::newRow("a date by its short text") << QVariant(QDate(2024, 2, 29)) << QVariant("2/29/2024") << false << true;
    QTest::newRow("Null equals Null") << QVariant() << QVariant() << false << true;
    QTest::newRow("Null is not empty text") << QVariant() << QVariant("") << false << false;
    QTest::newRow("contains ignores case") << QVariant("delta RENT") << QVariant("rent") << true << true;
    QTest::newRow("contains in money's plain text") << cur(105000) << QVariant("10.5") << true << true;
    QTest::newRow("Null contains nothing") << QVariant() << QVariant("x") << true << false;
    QTest::newRow("empty text is found nowhere") << QVariant("abc") << QVariant("") << true << false;
}

void tst_GridSearch::matchesByKindOfValue()
{
    QFETCH(QVariant, cell);
    QFETCH(QVariant, needle);
    QFETCH(bool, contains);
    QFETCH(bool, expected);

    const GridSearch search(needle, contains ? GridSearch::Match::Contains : GridSearch::Match::Equal);
    QCOMPARE(search.matches(cell), expected);
}

void tst_GridSearch::walksTheOrderOnceEndingWithTheStart_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("expected");

    // "x" sits at positions 1, 2 and 5 of the order; "b" at position 0 only.
    QTest::newRow("from before the first") << "x" << -1 << 1 << 1;
    QTest::newRow("forward") << "x" << 1 << 1 << 2;
    QTest::newRow("forward wraps") << "x" << 5 << 1 << 1;
    QTest::newRow("from after the last, backward") << "x" << 6 << -1 << 5;
    QTest::newRow("backward wraps") << "x" << 1 << -1 << 5;
    QTest::newRow("the start itself comes last") << "b" << 0 << 1 << 0;
    QTest::newRow("no match") << "zzz" << 3 << 1 << -1;
}

void tst_GridSearch::walksTheOrderOnceEndingWithTheStart()
{
    QFETCH(QString, needle);
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(int, expected);

    // Values by bookmark, and an order that differs from it.
    const std::vector<QVariant> values{"x", "a", "x", "b", "x", "c"};
    const std::vector<int> order{3, 0, 4, 1, 5, 2};
    const GridSearch search(needle, GridSearch::Match::Equal);
    QCOMPARE(GridSearch::findPosition([&](int bookmark) { return search.matches(values[bookmark]); }, order, start, step),
             expected);
}

QTEST_GUILESS_MAIN(tst_GridSearch)
#include "tst_GridSearch.moc"
