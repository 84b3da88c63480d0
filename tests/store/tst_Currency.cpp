#include "platform/MoneyFormatter.h"
#include "store/Currency.h"

#include <QtTest>

#include <limits>

class tst_Currency final : public QObject
{
    Q_OBJECT

private slots:
    void parsesExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("units");

        QTest::newRow("plain") << "12.5" << QChar('.') << true << qint64(125000);
        QTest::newRow("comma locale") << "12,50" << QChar(',') << true << qint64(125000);
        QTest::newRow("blanks and sign") << "  -0.0001 " << QChar('.') << true << qint64(-1);
        QTest::newRow("above largest") << "922337203685477.5808" << QChar('.') << false << qint64(0);
        QTest::newRow("five decimals refused") << "1.00001" << QChar('.') << false << qint64(0);
        QTest::newRow("wrong separator") << "12,5" << QChar('.') << false << qint64(0);
        QTest::newRow("empty") << "" << QChar('.') << false << qint64(0);
        // The largest and smallest amounts, and the plain text of others.
        QTest::newRow("zero") << "0" << QChar('.') << true << qint64(0);
        QTest::newRow("minus one unit") << "-0.0001" << QChar('.') << true << qint64(-1);
        QTest::newRow("largest") << "922337203685477.5807" << QChar('.') << true << std::numeric_limits<qint64>::max();
        QTest::newRow("smallest") << "-922337203685477.5808" << QChar('.') << true << std::numeric_limits<qint64>::min();
    }

    void parsesExactly()
    {
        QFETCH(QString, text);
        QFETCH(QChar, point);
        QFETCH(bool, valid);
        QFETCH(qint64, units);
        const auto parsed = Currency::parse(text, point);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(parsed->units(), units);
        // Written as plain text, an amount reads back from it.
        if (valid && point == u'.' && text == text.trimmed())
            QCOMPARE(Currency::fromUnits(units).toPlainText(), text);
    }

    void checksArithmeticAndReadsAsANumber()
    {
        const Currency max = Currency::fromUnits(std::numeric_limits<qint64>::max());
        QVERIFY(!max.checkedAdd(Currency::fromUnits(1)));
        QCOMPARE(max.checkedAdd(Currency::fromUnits(-1))->units(), std::numeric_limits<qint64>::max() - 1);
        QVERIFY(!max.checkedMul(-2));
        QCOMPARE(Currency::fromUnits(125000).checkedMul(-1)->units(), -125000);
        // Inside a variant it reads as a number.
        registerCurrencyMetaType();
        const QVariant v = QVariant::fromValue(Currency::fromUnits(-125000));
        QCOMPARE(v.toDouble(), -12.5);
        QCOMPARE(v.toString(), QStringLiteral("-12.5"));
    }

    void formatsExactly_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("expected");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale italy(QLocale::Italian, QLocale::Italy);
        // Whole cents, grouping and the negative forms are compared with Qt's own format below.
        QTest::newRow("ten-thousandth kept") << us << qint64(1) << "$0.0001";
        QTest::newRow("third decimal kept") << italy << qint64(-12340) << QStringLiteral("-1,234\u00A0€");
        QTest::newRow("largest") << us << std::numeric_limits<qint64>::max() << "$922,337,203,685,477.5807";
        QTest::newRow("smallest") << us << std::numeric_limits<qint64>::min() << "($922,337,203,685,477.5808)";
        QTest::newRow("yen has no decimals") << QLocale(QLocale::Japanese, QLocale::Japan) << qint64(1000000)
                                             << QStringLiteral("￥100");
        QTest::newRow("dinar has three") << QLocale(QLocale::Arabic, QLocale::Kuwait) << qint64(15000)
                                         << QStringLiteral("١٫٥٠٠\u00A0د.ك.\u200F");
    }

    void formatsExactly()
    {
        QFETCH(QLocale, locale);
        QFETCH(qint64, units);
        QFETCH(QString, expected);
        QCOMPARE(formatMoney(Currency::fromUnits(units), locale), expected);
    }

    // Where a double holds the amount exactly, Qt's own currency format is the
    // reference: symbol place, blanks, grouping, negative form and digits.
    void agreesWithQtOnWholeCents_data()
    {
        QTest::addColumn<QLocale>("locale");
        for (const QLocale &locale :
             {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Italian, QLocale::Italy),
              QLocale(QLocale::German, QLocale::Switzerland), QLocale(QLocale::Dutch, QLocale::Netherlands),
              QLocale(QLocale::Swedish, QLocale::Sweden), QLocale(QLocale::French, QLocale::France),
              QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Hindi, QLocale::India), QLocale::c()})
            QTest::newRow(qPrintable(locale.name())) << locale;
    }

    void agreesWithQtOnWholeCents()
    {
        QFETCH(QLocale, locale);
        const MoneyFormatter formatter(locale);
        for (qint64 cents : {qint64(0), qint64(5), qint64(-25), qint64(123456789), qint64(-100000050),
                             qint64(99999999999)}) {
            const Currency amount = Currency::fromUnits(cents * 100);
            QCOMPARE(formatter.format(amount), locale.toCurrencyString(double(cents) / 100.0));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Currency)
#include "tst_Currency.moc"
