#include "ReportTestTexts.h"

#include "reports/ReportContent.h"
#include "reports/ReportDescription.h"
#include "reports/ReportFilter.h"
#include "reports/ReportGrouping.h"

#include <QTest>

namespace {

ReportDeadline deadline(qint16 type, const QDate &date, const QString &counterparty, qint64 whole,
                        bool done = false)
{
    ReportDeadline d;
    d.type = type;
    d.date = date;
    d.done = done;
    d.description = QStringLiteral("Item ") + date.toString(Qt::ISODate);
    d.counterparty = counterparty;
    d.value = Currency::fromWhole(whole);
    d.balance = Currency::fromWhole(type == -2 ? 0 : whole * type);
    return d;
}

// A group row as "level|caption", a deadline row as "level|-|description".
QStringList outline(const QList<ReportRow> &rows)
{
    QStringList lines;
    for (const ReportRow &row : rows) {
        lines << (row.isGroup() ? QStringLiteral("%1|%2").arg(row.level).arg(row.caption)
                                : QStringLiteral("%1|-|%2").arg(row.level).arg(row.cells.value(DescriptionColumnIndex)));
    }
    return lines;
}

} // namespace

class TestReportGrouping final : public QObject
{
    Q_OBJECT

private slots:
    void dateKeys_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("key");

        // The first and last day of every month: four-month periods start in January,
        // May and September, quarters every three months.
        const QDate today(2027, 6, 10);
        for (int m = 1; m <= 12; ++m) {
            for (const QDate &date : {QDate(2027, m, 1), QDate(2027, m, 1).addMonths(1).addDays(-1)}) {
                const QByteArray day = date.toString(Qt::ISODate).toLatin1();
                QTest::addRow("four months %s", day.data()) << date << int(ReportFilter::FourMonthMode) << today
                                                            << 20270 + (m - 1) / 4 + 1;
                QTest::addRow("quarter %s", day.data()) << date << int(ReportFilter::QuarterMode) << today
                                                        << 20270 + (m - 1) / 3 + 1;
            }
        }
        QTest::newRow("four months, next year") << QDate(2028, 1, 1) << int(ReportFilter::FourMonthMode) << today << 20281;
        QTest::newRow("quarter, next year") << QDate(2028, 1, 1) << int(ReportFilter::QuarterMode) << today << 20281;
        QTest::newRow("month") << QDate(2027, 11, 30) << int(ReportFilter::MonthMode) << today << 202711;
        QTest::newRow("year") << QDate(2027, 11, 30) << int(ReportFilter::YearMode) << today << 2027;

        // On the last day of a month, "until the end of the month" holds nothing.
        const auto period = ReportFilter::PeriodMode;
        const QDate monthEnd(2027, 1, 31);
        QTest::newRow("period: today on a month's last day") << monthEnd << int(period) << monthEnd << 0;
        QTest::newRow("period: tomorrow after a month's last day") << QDate(2027, 2, 1) << int(period) << monthEnd << 2;
        QTest::newRow("period: the month's last day seen the day before")
            << monthEnd << int(period) << QDate(2027, 1, 30) << 1;
        QTest::newRow("period: long overdue") << QDate(2019, 5, 3) << int(period) << today << 0;
        QTest::newRow("period: next month") << QDate(2027, 7, 1) << int(period) << today << 2;
        QTest::newRow("period: next year same month") << QDate(2028, 6, 11) << int(period) << today << 2;
        QTest::newRow("period: leap day") << QDate(2028, 2, 29) << int(period) << QDate(2028, 2, 28) << 1;
    }

    void dateKeys()
    {
        QFETCH(QDate, date);
        QFETCH(int, mode);
        QFETCH(QDate, today);
        QFETCH(int, key);
        QCOMPARE(reportDateGroupKey(date, ReportFilter::DateMode(mode), today), key);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<bool>("withTotal");
        QTest::addColumn<QString>("expected");

        const QDate august(2027, 8, 14);
        const auto quarter = int(ReportFilter::QuarterMode);
        const auto four = int(ReportFilter::FourMonthMode);
        const auto month = int(ReportFilter::MonthMode);
        const auto period = int(ReportFilter::PeriodMode);
        const auto year = int(ReportFilter::YearMode);
        const QString euro = QLocale(QLocale::Italian, QLocale::Italy).toCurrencyString(qlonglong(1)).mid(1);

        QTest::newRow("quarter en") << "English" << quarter << august << qint64(1250) << true << " Q3 2027 [$1,250.00]";
        QTest::newRow("quarter it") << "Italian" << quarter << august << qint64(1250) << true
                                    << " T3 2027 [1.250,00" + euro + "]";
        QTest::newRow("four months en") << "English" << four << august << qint64(-80) << true << "4M2 2027 [($80.00)]";
        QTest::newRow("month it") << "Italian" << month << august << qint64(0) << false << " agosto 2027";
        QTest::newRow("year") << "English" << year << august << qint64(5) << false << " 2027";
        // Today is 10 June 2027 in these rows.
        QTest::newRow("until today en") << "English" << period << QDate(2027, 6, 10) << qint64(3) << true
                                        << " Until Today [$3.00]";
        QTest::newRow("end of month it") << "Italian" << period << QDate(2027, 6, 30) << qint64(0) << false
                                         << " Fine mese";
        QTest::newRow("later en") << "English" << period << QDate(2027, 7, 1) << qint64(0) << false
                                  << " Next month onwards";
    }

    void captions()
    {
        QFETCH(QString, language);
        QFETCH(int, mode);
        QFETCH(QDate, date);
        QFETCH(qint64, total);
        QFETCH(bool, withTotal);
        QFETCH(QString, expected);
        const ReportTexts texts = reportTextsIn(language);
        const QString caption = reportDateGroupCaption(date, ReportFilter::DateMode(mode), QDate(2027, 6, 10), texts);
        QCOMPARE(withTotal ? captionWithTotal(caption, MoneySum::fromUnits(Currency::fromWhole(total).units()), texts) : caption, expected);
    }

    void footer_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<ReportFilter>("filter");
        QTest::addColumn<QString>("expected");

        ReportFilter everything;
        everything.setStateChecked(ReportFilter::ClosedBox, true);
        QTest::newRow("nothing filtered, no grouping") << "English" << everything << "\r\n";

        ReportFilter openCredits;
        openCredits.setTypeChecked(ReportFilter::DebitsBox, false);
        openCredits.setTypeChecked(ReportFilter::AppointmentsBox, false);
        QTest::newRow("open credits it") << "Italian" << openCredits << "&1 Filtro: Scadenze aperte | Crediti\r\n";

        ReportFilter closedTwoTypes;
        closedTwoTypes.setStateChecked(ReportFilter::ClosedBox, true);
        closedTwoTypes.setStateChecked(ReportFilter::OpenBox, false);
        closedTwoTypes.setTypeChecked(ReportFilter::CreditsBox, false);
        closedTwoTypes.setGrouping(ReportFilter::ByDateThenCounterparty);
        QTest::newRow("closed, two types, grouped")
            << "English" << closedTwoTypes
            << "&1 Filter: Deadlines past | Debits, Expiry dates\r\n&2 Grouping: Date and Client/Supplier";

        ReportFilter periodAndCounterparty = everything;
        periodAndCounterparty.setPeriodEnabled(true);
        periodAndCounterparty.setPeriod(QDate(2027, 3, 1), QDate(2027, 12, 31));
        periodAndCounterparty.setCounterpartyEnabled(true);
        periodAndCounterparty.setCounterparty(7, QStringLiteral("Acme Ltd"));
        periodAndCounterparty.setGrouping(ReportFilter::ByCounterparty);
        QTest::newRow("period and counterparty it")
            << "Italian" << periodAndCounterparty
            << "&1 Filtro: 01/03/27 - 31/12/27 | Acme Ltd\r\n&2 Raggruppamento: Cliente/Fornitore";

        ReportFilter groupingOnly = everything;
        groupingOnly.setGrouping(ReportFilter::ByCounterpartyThenDate);
        QTest::newRow("grouping only") << "English" << groupingOnly << "\r\n&2 Grouping: Client/Supplier and Date";
    }

    void footer()
    {
        QFETCH(QString, language);
        QFETCH(ReportFilter, filter);
        QFETCH(QString, expected);
        QCOMPARE(describeReportFilter(filter, reportTextsIn(language)), expected);
    }

    void groupedRowsAndTotals()
    {
        const ReportTexts en = englishReportTexts();
        ReportFilter filter;
        filter.setGrouping(ReportFilter::ByCounterpartyThenDate);
        filter.setDateMode(ReportFilter::QuarterMode);

        // Out of order on purpose; a closed credit and an appointment add nothing.
        QList<ReportDeadline> deadlines{
            deadline(1, QDate(2027, 8, 2), QStringLiteral("beta"), 100),
            deadline(-1, QDate(2027, 2, 9), QStringLiteral("Alpha"), 40),
            deadline(1, QDate(2027, 7, 5), QStringLiteral("beta"), 900, true),
            deadline(-2, QDate(2027, 1, 3), QStringLiteral("Alpha"), 55),
            deadline(1, QDate(2027, 4, 1), QString(), 10),
            deadline(-1, QDate(2027, 7, 1), QStringLiteral("beta"), 30),
        };
        ReportSettings settings;
        settings.sheetName = QStringLiteral("Office");
        settings.today = QDate(2027, 6, 10);

        const QStringList expected{
            "0|Office [$40.00]",
            "1|(none) [$10.00]",
            "2| Q2 2027 [$10.00]",
            "3|-|Item 2027-04-01",
            "1|Alpha [($40.00)]",
            "2| Q1 2027 [($40.00)]",
            "3|-|Item 2027-01-03",
            "3|-|Item 2027-02-09",
            "1|beta [$70.00]",
            "2| Q3 2027 [$70.00]",
            "3|-|Item 2027-07-01",
            "3|-|Item 2027-07-05",
            "3|-|Item 2027-08-02",
        };
        QCOMPARE(outline(reportRows(deadlines, filter, en, settings)), expected);

        filter.setShowTotals(false);
        filter.setGrouping(ReportFilter::ByDate);
        filter.setDateMode(ReportFilter::PeriodMode);
        const QStringList byPeriod{
            "0|Office",
            "1| Until Today",
            "2|-|Item 2027-01-03",
            "2|-|Item 2027-02-09",
            "2|-|Item 2027-04-01",
            "1| Next month onwards",
            "2|-|Item 2027-07-01",
            "2|-|Item 2027-07-05",
            "2|-|Item 2027-08-02",
        };
        QCOMPARE(outline(reportRows(deadlines, filter, en, settings)), byPeriod);

        filter.setGrouping(ReportFilter::NoGrouping);
        QCOMPARE(outline(reportRows({}, filter, en, settings)), QStringList{"0|Office"});

        // Totals add up as the list's do: two credits of 500,000,000,000,000 pass the
        // 64-bit range without turning negative, and an amount the file holds out of
        // range is said in words, in its cell and in every total that holds it.
        filter.setShowTotals(true);
        filter.setGrouping(ReportFilter::ByCounterparty);
        deadlines = {deadline(1, QDate(2027, 8, 1), QStringLiteral("Big"), 500'000'000'000'000),
                     deadline(1, QDate(2027, 8, 2), QStringLiteral("Big"), 500'000'000'000'000),
                     deadline(-1, QDate(2027, 8, 3), QStringLiteral("Edited"), 1)};
        deadlines[2].value = std::nullopt;
        deadlines[2].balance = std::nullopt;
        const QList<ReportRow> rows = reportRows(deadlines, filter, en, settings);
        QCOMPARE(outline(rows), (QStringList{"0|Office [amount out of range]", "1|Big [$1,000,000,000,000,000.00]",
                                             "2|-|Item 2027-08-01", "2|-|Item 2027-08-02",
                                             "1|Edited [amount out of range]", "2|-|Item 2027-08-03"}));
        QCOMPARE(rows[5].cells.value(AmountColumnIndex), QStringLiteral("amount out of range"));

        // Without the edited deadline the grand total is the exact one.
        deadlines.removeLast();
        QCOMPARE(reportRows(deadlines, filter, en, settings).first().caption,
                 QStringLiteral("Office [$1,000,000,000,000,000.00]"));
    }

    void deadlineCells()
    {
        const ReportTexts en = englishReportTexts();
        ReportDeadline member = deadline(-1, QDate(2027, 6, 10), QString(), 1250);
        member.groupId = 4;
        member.groupRow = 3;
        member.groupSize = 12;
        const ReportDeadline appointment = deadline(-2, QDate(2027, 6, 11), QStringLiteral("Dr Who"), 99);
        const ReportDeadline closed = deadline(1, QDate(2027, 1, 2), QStringLiteral("Acme"), 5, true);

        ReportSettings settings;
        settings.today = QDate(2027, 6, 10);
        settings.warningHorizon = QDate(2027, 6, 11);
        const QList<ReportRow> rows = reportRows({member, appointment, closed}, ReportFilter(), en, settings);
        QCOMPARE(rows.size(), 4);

        const ReportRow &closedRow = rows[1];
        QCOMPARE(closedRow.flags, int(ReportRow::Closed));
        QCOMPARE(closedRow.icons.value(TypeColumnIndex), int(ClosedCreditPicture));

        const ReportRow &memberRow = rows[2];
        QCOMPARE((QStringList{memberRow.cells.value(DescriptionColumnIndex), memberRow.cells.value(DateColumnIndex),
                              memberRow.cells.value(CounterpartyColumnIndex), memberRow.cells.value(AmountColumnIndex)}),
                 (QStringList{"Item 2027-06-10 3 of 12", "6/10/27", "(none)", "$1,250.00"}));
        QCOMPARE((QList<int>{memberRow.icons.value(TypeColumnIndex), memberRow.icons.value(DescriptionColumnIndex), memberRow.flags}),
                 (QList<int>{OpenDebitPicture, OpenRecurrencePicture, ReportRow::Expired}));

        const ReportRow &appointmentRow = rows[3];
        QCOMPARE(appointmentRow.cells.value(AmountColumnIndex), QString());
        QCOMPARE(appointmentRow.icons.value(DescriptionColumnIndex), 0);
        QCOMPARE(appointmentRow.flags, int(ReportRow::Expired));

        settings.showCounters = false;
        settings.warningHorizon = QDate(2027, 6, 10);
        const QList<ReportRow> plain = reportRows({member, appointment}, ReportFilter(), en, settings);
        QCOMPARE(plain[1].cells.value(DescriptionColumnIndex), "Item 2027-06-10");
        QCOMPARE(plain[1].icons.value(DescriptionColumnIndex), int(OpenRecurrencePicture));
        QCOMPARE(plain[2].flags, int(ReportRow::NoFlags));
    }
};

QTEST_GUILESS_MAIN(TestReportGrouping)
#include "tst_reportgrouping.moc"
