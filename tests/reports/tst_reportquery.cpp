#include "reports/ReportFilter.h"
#include "reports/ReportQuery.h"

#include <QTest>

namespace {

const QString Select = QStringLiteral(
    "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, "
    "TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, Accounts.*, TrDescription & ' ' & "
    "Accounts.AcName AS SearchField FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = "
    "Accounts.AcId ");

// Clicks in the order a user makes them: box index and the value the click gives.
using Clicks = QList<QPair<int, bool>>;

} // namespace

class TestReportQuery final : public QObject
{
    Q_OBJECT

private slots:
    void queryText_data();
    void queryText();
    void emptyQuery();
    void stateBoxes_data();
    void stateBoxes();
    void typeBoxes_data();
    void typeBoxes();
    void dateModeChoice();
};

void TestReportQuery::queryText_data()
{
    QTest::addColumn<ReportFilter>("filter");
    QTest::addColumn<qint32>("sheet");
    QTest::addColumn<QString>("expected");

    const ReportFilter defaults;
    QTest::newRow("defaults") << defaults << 1 << Select + "WHERE TrDbId=1 AND TrDone = False";

    ReportFilter closedOnly;
    closedOnly.setStateChecked(ReportFilter::ClosedBox, true);
    closedOnly.setStateChecked(ReportFilter::OpenBox, false);
    QTest::newRow("closed only") << closedOnly << 1 << Select + "WHERE TrDbId=1 AND TrDone = True";

    ReportFilter bothStates;
    bothStates.setStateChecked(ReportFilter::ClosedBox, true);
    QTest::newRow("both states") << bothStates << 12 << Select + "WHERE TrDbId=12";

    ReportFilter debitsAppointments;
    debitsAppointments.setTypeChecked(ReportFilter::CreditsBox, false);
    QTest::newRow("debits and appointments")
        << debitsAppointments << 1
        << Select + "WHERE TrDbId=1 AND TrDone = False AND (TrType = -1 OR TrType = -2)";

    ReportFilter creditsDebits;
    creditsDebits.setTypeChecked(ReportFilter::AppointmentsBox, false);
    QTest::newRow("credits and debits")
        << creditsDebits << 1 << Select + "WHERE TrDbId=1 AND TrDone = False AND (TrType = 1 OR TrType = -1)";

    ReportFilter creditsAppointments;
    creditsAppointments.setTypeChecked(ReportFilter::DebitsBox, false);
    QTest::newRow("credits and appointments")
        << creditsAppointments << 1
        << Select + "WHERE TrDbId=1 AND TrDone = False AND (TrType = 1 OR TrType = -2)";

    ReportFilter appointmentsOnly;
    appointmentsOnly.setTypeChecked(ReportFilter::CreditsBox, false);
    appointmentsOnly.setTypeChecked(ReportFilter::DebitsBox, false);
    QTest::newRow("appointments only")
        << appointmentsOnly << 1 << Select + "WHERE TrDbId=1 AND TrDone = False AND TrType = -2";

    ReportFilter debitsOnly;
    debitsOnly.setTypeChecked(ReportFilter::CreditsBox, false);
    debitsOnly.setTypeChecked(ReportFilter::AppointmentsBox, false);
    QTest::newRow("debits only") << debitsOnly << 1 << Select + "WHERE TrDbId=1 AND TrDone = False AND TrType = -1";

    ReportFilter period;
    period.setPeriodEnabled(true);
    period.setPeriod(QDate(2027, 3, 1), QDate(2027, 12, 31));
    QTest::newRow("period")
        << period << 1
        << Select + "WHERE TrDbId=1 AND TrDone = False AND (TrDate Between #03/01/2027# And #12/31/2027# )";

    // Dates set while the period is off are kept but not applied.
    ReportFilter periodOff = period;
    periodOff.setPeriodEnabled(false);
    QTest::newRow("period unchecked") << periodOff << 1 << Select + "WHERE TrDbId=1 AND TrDone = False";

    ReportFilter everything = closedOnly;
    everything.setTypeChecked(ReportFilter::DebitsBox, false);
    everything.setPeriodEnabled(true);
    everything.setPeriod(QDate(2026, 11, 5), QDate(2027, 1, 9));
    everything.setCounterpartyEnabled(true);
    everything.setCounterparty(42, QStringLiteral("Acme"));
    QTest::newRow("all conditions")
        << everything << 3
        << Select + "WHERE TrDbId=3 AND TrDone = True AND (TrType = 1 OR TrType = -2) AND (TrDate Between "
                    "#11/05/2026# And #01/09/2027# ) AND TrAcId = 42";
}

void TestReportQuery::queryText()
{
    QFETCH(ReportFilter, filter);
    QFETCH(qint32, sheet);
    QFETCH(QString, expected);
    QCOMPARE(reportQueryText(filter, sheet), expected);
}

void TestReportQuery::emptyQuery()
{
    QCOMPARE(emptyReportQueryText(), Select + "Where TrDbId=0");
}

void TestReportQuery::stateBoxes_data()
{
    QTest::addColumn<Clicks>("clicks");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("lastClickShows");

    QTest::newRow("unchecking the only box") << Clicks{{0, false}} << true << false << true;
    QTest::newRow("closed then unchecking open") << Clicks{{1, true}, {0, false}} << false << true << false;
    QTest::newRow("then unchecking closed too")
        << Clicks{{1, true}, {0, false}, {1, false}} << false << true << true;
    QTest::newRow("both checked") << Clicks{{1, true}} << true << true << true;
}

void TestReportQuery::stateBoxes()
{
    QFETCH(Clicks, clicks);
    ReportFilter filter;
    bool shown = false;
    for (const auto &[box, checked] : clicks)
        shown = filter.setStateChecked(ReportFilter::StateBox(box), checked);
    QFETCH(bool, open);
    QFETCH(bool, closed);
    QFETCH(bool, lastClickShows);
    QCOMPARE(filter.isStateChecked(ReportFilter::OpenBox), open);
    QCOMPARE(filter.isStateChecked(ReportFilter::ClosedBox), closed);
    QCOMPARE(shown, lastClickShows);
}

void TestReportQuery::typeBoxes_data()
{
    QTest::addColumn<Clicks>("clicks");
    QTest::addColumn<QList<bool>>("types");
    QTest::addColumn<bool>("lastClickShows");

    QTest::newRow("two unchecked") << Clicks{{0, false}, {2, false}} << QList<bool>{false, true, false} << false;
    QTest::newRow("the last one stays")
        << Clicks{{0, false}, {2, false}, {1, false}} << QList<bool>{false, true, false} << true;
    QTest::newRow("another checked first")
        << Clicks{{0, false}, {2, false}, {0, true}, {1, false}} << QList<bool>{true, false, false} << false;
}

void TestReportQuery::typeBoxes()
{
    QFETCH(Clicks, clicks);
    QFETCH(QList<bool>, types);
    QFETCH(bool, lastClickShows);
    ReportFilter filter;
    bool shown = false;
    for (const auto &[box, checked] : clicks)
        shown = filter.setTypeChecked(ReportFilter::TypeBox(box), checked);
    for (int box = 0; box < 3; ++box)
        QCOMPARE(filter.isTypeChecked(ReportFilter::TypeBox(box)), types[box]);
    QCOMPARE(shown, lastClickShows);
}

void TestReportQuery::dateModeChoice()
{
    ReportFilter filter;
    const bool enabled[] = {false, true, false, true, true};
    for (int grouping = 0; grouping < 5; ++grouping) {
        filter.setGrouping(ReportFilter::Grouping(grouping));
        QCOMPARE(filter.isDateModeEnabled(), enabled[grouping]);
        QCOMPARE(filter.setDateMode(ReportFilter::QuarterMode), enabled[grouping]);
        QCOMPARE(filter.dateMode(), enabled[grouping] ? ReportFilter::QuarterMode : ReportFilter::PeriodMode);
    }
    // Choosing a grouping again starts its dates at the period mode.
    filter.setGrouping(ReportFilter::ByDate);
    QCOMPARE(filter.dateMode(), ReportFilter::PeriodMode);
}

QTEST_GUILESS_MAIN(TestReportQuery)
#include "tst_reportquery.moc"
