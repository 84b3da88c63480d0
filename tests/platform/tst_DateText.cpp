#include "platform/DateFormat.h"
#include "platform/DateText.h"
#include "platform/LocaleDigits.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<QDate>)

class tst_DateText final : public QObject
{
    Q_OBJECT

private slots:
    void readsWholeTypedDates_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<QDate>>("expected");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale it(QLocale::Italian, QLocale::Italy);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale ja(QLocale::Japanese, QLocale::Japan);
        const std::optional<QDate> none;

        // The typing that section-by-section boxes turned into 2/6/1520 and 02/28/2016.
        QTest::newRow("us: month first, four-digit year") << us << "2/15/2017" << std::optional(QDate(2017, 2, 15));
        QTest::newRow("us: two-digit year") << us << "2-15-17" << std::optional(QDate(2017, 2, 15));
        QTest::newRow("us: two-digit year of the past century") << us << "12/31/80" << std::optional(QDate(1980, 12, 31));
        QTest::newRow("us: digits alone") << us << "02152017" << std::optional(QDate(2017, 2, 15));
        QTest::newRow("us: day and month take the year") << us << "4/3" << std::optional(QDate(2026, 4, 3));
        QTest::newRow("us: no 29 February in 2017") << us << "2/29/2017" << none;
        QTest::newRow("us: day first is no date") << us << "15/2/2017" << none;
        QTest::newRow("it: day first, blanks around") << it << " 3/4/2017 " << std::optional(QDate(2017, 4, 3));
        QTest::newRow("it: points") << it << "03.04.17" << std::optional(QDate(2017, 4, 3));
        QTest::newRow("de: short form") << de << "31.12.9999" << std::optional(QDate(9999, 12, 31));
        QTest::newRow("ja: year first") << ja << "2017/4/3" << std::optional(QDate(2017, 4, 3));
        QTest::newRow("three-digit year") << it << "3/4/201" << none;
        QTest::newRow("three-digit day") << it << "003/4/2017" << none;
        QTest::newRow("letters") << it << "3 apr 2017" << none;
        QTest::newRow("empty") << it << "" << none;
    }

    void readsWholeTypedDates()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(std::optional<QDate>, expected);
        QCOMPARE(DateText::parse(text, locale, QDate(2026, 12, 6)), expected);
    }

    void everyLocaleReadsBackItsOwnDigits_data()
    {
        QTest::addColumn<QLocale>("locale");
        // Locales that write other digits ("٣/٤/٢٠١٧") and the five of the interface.
        for (const char *name : {"ar_KW", "ar_EG", "fa_IR", "bn_BD", "mr_IN", "ne_NP", "it_IT", "en_US", "fr_FR",
                                 "es_ES", "de_DE"})
            QTest::newRow(name) << QLocale(QString::fromLatin1(name));
    }

    void everyLocaleReadsBackItsOwnDigits()
    {
        QFETCH(QLocale, locale);
        const QDate reference(2026, 12, 6);
        for (const QDate &date : {QDate(2017, 4, 3), QDate(2026, 12, 31), QDate(1999, 1, 1), QDate(9999, 12, 31)}) {
            // What a date box shows (its pre-filled today included) reads back.
            const QString shown = shortDateText(date, locale);
            QCOMPARE(DateText::parse(shown, locale, reference), std::optional(date));
            // The same typed in 0-9.
            QCOMPARE(DateText::parse(LocaleDigits::toAscii(shown, locale), locale, reference), std::optional(date));
        }
    }
};

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_DateText.moc"
