#include "platform/MoneyFormatter.h"
#include "store/Currency.h"

#include <QtTest>

#include <limits>
#include <optional>
#include <tuple>

class tst_Currency final : public QObject
{
    Q_OBJECT

private slots:
    void parsesExactly()
    {
        const struct
        {
            QString text;
            QChar point;
            std::optional<qint64> units;   // none: refused
        } cases[] = {
            {"12.5", u'.', 125000}, {"12,50", u',', 125000}, {"  -0.0001 ", u'.', -1},
            {"922337203685477.5808", u'.', {}},   // above the largest
            {"1.00001", u'.', {}},                // five decimals
            {"12,5", u'.', {}}, {"", u'.', {}},
            // The largest and smallest amounts, and the plain text of others.
            {"0", u'.', 0}, {"-0.0001", u'.', -1}, {"922337203685477.5807", u'.', std::numeric_limits<qint64>::max()},
            {"-922337203685477.5808", u'.', std::numeric_limits<qint64>::min()},
        };
        for (const auto &[text, point, units] : cases) {
            const auto parsed = Currency::parse(text, point);
            QVERIFY2((parsed ? std::optional(parsed->units()) : std::nullopt) == units, qPrintable(text));
            // Written as plain text, an amount reads back from it.
            if (units && point == u'.' && text == text.trimmed())
                QCOMPARE(Currency::fromUnits(*units).toPlainText(), text);
        }
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

    void formatsExactly()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale italy(QLocale::Italian, QLocale::Italy);
        // Whole cents, grouping and the negative forms are compared with Qt's own format below.
        const std::tuple<QLocale, qint64, QString> exact[] = {
            {us, 1, "$0.0001"},   // a ten-thousandth kept
            {italy, -12340, QStringLiteral("-1,234\u00A0€")},   // the third decimal kept
            {us, std::numeric_limits<qint64>::max(), "$922,337,203,685,477.5807"},
            {us, std::numeric_limits<qint64>::min(), "($922,337,203,685,477.5808)"},
            {QLocale(QLocale::Japanese, QLocale::Japan), 1000000, QStringLiteral("￥100")},   // yen has no decimals
            {QLocale(QLocale::Arabic, QLocale::Kuwait), 15000, QStringLiteral("١٫٥٠٠\u00A0د.ك.\u200F")},   // dinar has three
        };
        for (const auto &[locale, units, expected] : exact)
            QCOMPARE(formatMoney(Currency::fromUnits(units), locale), expected);

        // Where a double holds the amount exactly, Qt's own currency format is the
        // reference: symbol place, blanks, grouping, negative form and digits.
        for (const QLocale &locale :
             {us, italy, QLocale(QLocale::German, QLocale::Switzerland), QLocale(QLocale::Dutch, QLocale::Netherlands),
              QLocale(QLocale::Swedish, QLocale::Sweden), QLocale(QLocale::French, QLocale::France),
              QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Hindi, QLocale::India), QLocale::c()}) {
            const MoneyFormatter formatter(locale);
            for (qint64 cents : {qint64(0), qint64(5), qint64(-25), qint64(123456789), qint64(-100000050),
                                 qint64(99999999999)})
                QCOMPARE(formatter.format(Currency::fromUnits(cents * 100)), locale.toCurrencyString(double(cents) / 100.0));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Currency)
#include "tst_Currency.moc"
