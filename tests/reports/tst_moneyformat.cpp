#include "store/MoneyFormat.h"

#include <QLocale>
#include <QTest>

#include <limits>

class TestMoneyFormat final : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
};

void TestMoneyFormat::format_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("expected");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale italy(QLocale::Italian, QLocale::Italy);
    const QLocale swiss(QLocale::German, QLocale::Switzerland);
    const QLocale japan(QLocale::Japanese, QLocale::Japan);
    // The locale's own text for a whole amount tells which blank it puts before
    // its symbol.
    const QString euroGap = italy.toCurrencyString(qlonglong(1)).mid(1, 1);

    QTest::newRow("us positive") << us << qint64(12'500'000) << QStringLiteral("$1,250.00");
    QTest::newRow("us negative in brackets") << us << qint64(-12'505'000) << QStringLiteral("($1,250.50)");
    QTest::newRow("us zero") << us << qint64(0) << QStringLiteral("$0.00");
    QTest::newRow("italy grouping and symbol after")
        << italy << qint64(12'500'000) << QStringLiteral("1.250,00") + euroGap + QStringLiteral("€");
    QTest::newRow("italy negative")
        << italy << qint64(-7'500) << QStringLiteral("-0,75") + euroGap + QStringLiteral("€");
    QTest::newRow("swiss") << swiss << qint64(12'345'678'9) << swiss.toCurrencyString(12345.68);
    // Half a cent rounds away from zero on both sides.
    QTest::newRow("half cent up") << us << qint64(50) << QStringLiteral("$0.01");
    QTest::newRow("half cent down") << us << qint64(-50) << QStringLiteral("($0.01)");
    QTest::newRow("under half a cent") << us << qint64(49) << QStringLiteral("$0.00");
    // A negative amount that rounds to nothing loses its sign.
    QTest::newRow("negative rounds to zero") << us << qint64(-49) << QStringLiteral("$0.00");
    // Currencies without minor units round to whole ones.
    QTest::newRow("yen") << japan << qint64(12'505'000) << QStringLiteral("￥1,251");
    // Far beyond what a double holds to the cent.
    QTest::newRow("largest") << us << std::numeric_limits<qint64>::max()
                             << QStringLiteral("$922,337,203,685,477.58");
    QTest::newRow("smallest") << us << std::numeric_limits<qint64>::min()
                              << QStringLiteral("($922,337,203,685,477.58)");
    QTest::newRow("half cent of a large amount") << us << qint64(90'071'992'547'409'950)
                                                 << QStringLiteral("$9,007,199,254,741.00");
}

void TestMoneyFormat::format()
{
    QFETCH(QLocale, locale);
    QFETCH(qint64, units);
    QFETCH(QString, expected);
    QCOMPARE(formatMoney(Currency::fromUnits(units), locale), expected);
}

QTEST_GUILESS_MAIN(TestMoneyFormat)
#include "tst_moneyformat.moc"
