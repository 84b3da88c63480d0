#include "deadlines/RecurrenceDates.h"

#include <QTest>

using Dates = QList<QDate>;

// The due dates of a recurrence's members, each computed from the first date.
class tst_RecurrenceDates final : public QObject
{
    Q_OBJECT

private slots:
    void memberDatesComeFromTheFirstDate_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<int>("position");
        QTest::addColumn<Dates>("expected");

        QTest::newRow("monthly from 31 January")
            << QDate(2017, 1, 31) << 3
            << Dates{{2017, 1, 31}, {2017, 2, 28}, {2017, 3, 31}, {2017, 4, 30}};
        QTest::newRow("monthly from 30/04, a month end")
            << QDate(2017, 4, 30) << 3 << Dates{{2017, 4, 30}, {2017, 5, 31}, {2017, 6, 30}};
        QTest::newRow("monthly from 30 March, no month end")
            << QDate(2017, 3, 30) << 3 << Dates{{2017, 3, 30}, {2017, 4, 30}, {2017, 5, 30}};
        QTest::newRow("monthly from 29 January")
            << QDate(2017, 1, 29) << 3 << Dates{{2017, 1, 29}, {2017, 2, 28}, {2017, 3, 29}};
        QTest::newRow("quarterly from 31 August")
            << QDate(2017, 8, 31) << 5 << Dates{{2017, 8, 31}, {2017, 11, 30}, {2018, 2, 28}};
        QTest::newRow("biannual from 31 August")
            << QDate(2017, 8, 31) << 7 << Dates{{2017, 8, 31}, {2018, 2, 28}, {2018, 8, 31}};
        QTest::newRow("yearly from 29 February")
            << QDate(2016, 2, 29) << 8 << Dates{{2016, 2, 29}, {2017, 2, 28}, {2018, 2, 28}};
        QTest::newRow("yearly from 28 February has no month-end rule")
            << QDate(2017, 2, 28) << 8 << Dates{{2017, 2, 28}, {2018, 2, 28}, {2019, 2, 28}, {2020, 2, 28}};
        QTest::newRow("biweekly from 6 March")
            << QDate(2017, 3, 6) << 2 << Dates{{2017, 3, 6}, {2017, 3, 20}, {2017, 4, 3}};
        QTest::newRow("daily across 29 February")
            << QDate(2016, 2, 28) << 0 << Dates{{2016, 2, 28}, {2016, 2, 29}, {2016, 3, 1}};
        QTest::newRow("one member is the first date")
            << QDate(2017, 1, 31) << 3 << Dates{{2017, 1, 31}};
    }

    void memberDatesComeFromTheFirstDate()
    {
        QFETCH(QDate, first);
        QFETCH(int, position);
        QFETCH(Dates, expected);
        QCOMPARE(RecurrenceDates::memberDates(first, position, int(expected.size())), expected);
    }

    void longRunsKeepTheMonthEnd()
    {
        const Dates dates = RecurrenceDates::memberDates(QDate(2017, 4, 30), 3, 250);
        QCOMPARE(dates.size(), 250);
        for (const QDate &d : dates)
            QVERIFY2(RecurrenceDates::isLastDayOfMonth(d), qPrintable(d.toString(Qt::ISODate)));
        QCOMPARE(dates.last(), QDate(2038, 1, 31));
    }

    void lastMemberDecidesTheRange()
    {
        QVERIFY(RecurrenceDates::fitsSupportedRange(QDate(9990, 12, 31), 8, 10));
        QVERIFY(!RecurrenceDates::fitsSupportedRange(QDate(9990, 12, 31), 8, 11));
        QVERIFY(RecurrenceDates::fitsSupportedRange(QDate(9999, 12, 31), 0, 1));
        QVERIFY(!RecurrenceDates::fitsSupportedRange(QDate(9999, 12, 31), 0, 2));
        QVERIFY(!RecurrenceDates::fitsSupportedRange(QDate(9999, 11, 30), 3, 3));
    }
};

QTEST_GUILESS_MAIN(tst_RecurrenceDates)
#include "tst_RecurrenceDates.moc"
