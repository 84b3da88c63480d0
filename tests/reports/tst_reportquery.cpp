#include "reports/ReportFilter.h"

#include <QTest>

namespace {

// Clicks in the order a user makes them: box index and the value the click gives.
using Clicks = QList<QPair<int, bool>>;

} // namespace

class TestReportQuery final : public QObject
{
    Q_OBJECT

private slots:
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
