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
    void queryText_data()
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

        // Every pair of types and each type alone (credits alone are the three boxes' last rule).
        const struct { bool credits, debits, appointments; const char *condition; } types[] = {
            {false, true, true, " AND (TrType = -1 OR TrType = -2)"}, {true, true, false, " AND (TrType = 1 OR TrType = -1)"},
            {true, false, true, " AND (TrType = 1 OR TrType = -2)"}, {false, false, true, " AND TrType = -2"},
            {false, true, false, " AND TrType = -1"}};
        for (const auto &t : types) {
            ReportFilter filter;
            filter.setTypeChecked(ReportFilter::CreditsBox, t.credits);
            filter.setTypeChecked(ReportFilter::DebitsBox, t.debits);
            filter.setTypeChecked(ReportFilter::AppointmentsBox, t.appointments);
            QTest::addRow("types%s", t.condition) << filter << 1
                                                  << Select + "WHERE TrDbId=1 AND TrDone = False" + t.condition;
        }

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

    void queryText()
    {
        QFETCH(ReportFilter, filter);
        QFETCH(qint32, sheet);
        QFETCH(QString, expected);
        QCOMPARE(reportQueryText(filter, sheet), expected);
    }

    // Clicks on the two state boxes or the three type boxes: the last checked box of
    // each kind stays checked, and the click tells whether the box shows it.
    void boxRules_data()
    {
        QTest::addColumn<bool>("typeBoxes");
        QTest::addColumn<Clicks>("clicks");
        QTest::addColumn<QList<bool>>("checked");
        QTest::addColumn<bool>("lastClickShows");

        QTest::newRow("unchecking the only state") << false << Clicks{{0, false}} << QList<bool>{true, false} << true;
        QTest::newRow("closed then unchecking open") << false << Clicks{{1, true}, {0, false}} << QList<bool>{false, true}
                                                     << false;
        QTest::newRow("then unchecking closed too") << false << Clicks{{1, true}, {0, false}, {1, false}}
                                                    << QList<bool>{false, true} << true;
        QTest::newRow("both states") << false << Clicks{{1, true}} << QList<bool>{true, true} << true;
        QTest::newRow("two types unchecked") << true << Clicks{{0, false}, {2, false}} << QList<bool>{false, true, false}
                                             << false;
        QTest::newRow("the last type stays") << true << Clicks{{0, false}, {2, false}, {1, false}}
                                             << QList<bool>{false, true, false} << true;
        QTest::newRow("another type checked first") << true << Clicks{{0, false}, {2, false}, {0, true}, {1, false}}
                                                    << QList<bool>{true, false, false} << false;
    }

    void boxRules()
    {
        QFETCH(bool, typeBoxes);
        QFETCH(Clicks, clicks);
        QFETCH(QList<bool>, checked);
        QFETCH(bool, lastClickShows);
        ReportFilter filter;
        bool shown = false;
        for (const auto &[box, on] : clicks)
            shown = typeBoxes ? filter.setTypeChecked(ReportFilter::TypeBox(box), on)
                              : filter.setStateChecked(ReportFilter::StateBox(box), on);
        QList<bool> now;
        for (int box = 0; box < checked.size(); ++box)
            now << (typeBoxes ? filter.isTypeChecked(ReportFilter::TypeBox(box))
                              : filter.isStateChecked(ReportFilter::StateBox(box)));
        QCOMPARE(now, checked);
        QCOMPARE(shown, lastClickShows);
    }

    void dateModeChoice()
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
};

QTEST_GUILESS_MAIN(TestReportQuery)
#include "tst_reportquery.moc"
