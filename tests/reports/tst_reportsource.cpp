#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "reports/ReportApplyState.h"
#include "reports/ReportDescription.h"
#include "reports/ReportFilter.h"
#include "store/ReportStore.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QList<qint32> rowIds(const QList<ReportDeadline> &deadlines)
{
    QList<qint32> ids;
    for (const ReportDeadline &d : deadlines)
        ids << d.rowId;
    return ids;
}

ReportFilter withTypes(bool credits, bool debits, bool appointments)
{
    ReportFilter filter;
    filter.setTypeChecked(ReportFilter::CreditsBox, credits);
    filter.setTypeChecked(ReportFilter::DebitsBox, debits);
    filter.setTypeChecked(ReportFilter::AppointmentsBox, appointments);
    return filter;
}

} // namespace

class TestReportSource final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_db = copyTemplateTo(m_dir.path());
        QVERIFY2(!m_db.isEmpty(), "master.gen missing: run from ctest");
        runSql(m_db, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Zeta Spa', 'second')"));
        runSql(m_db, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'first\nline two')"));
        const int zeta = firstValue(m_db, QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Zeta Spa'")).toInt();
        // Sheet 1: rows 1 to 6; sheet 2 holds the earliest and the latest date.
        insertDeadline(m_db, 1, 1, false, QDate(2027, 3, 1), QStringLiteral("open credit"), zeta, Currency::fromWhole(100));
        insertDeadline(m_db, 1, -1, false, QDate(2027, 4, 30), QStringLiteral("open debit"), 0, Currency::fromWhole(40));
        insertDeadline(m_db, 1, -2, false, QDate(2027, 5, 1), QStringLiteral("open appointment"), 0, Currency());
        insertDeadline(m_db, 1, 1, true, QDate(2027, 6, 1), QStringLiteral("closed credit"), zeta, Currency::fromWhole(7));
        insertDeadline(m_db, 1, -1, true, QDate(2027, 12, 31), QStringLiteral("closed debit"), 0, Currency::fromWhole(8));
        insertDeadline(m_db, 1, -1, false, QDate(2028, 1, 1), QStringLiteral("rent"), zeta, Currency::fromUnits(12'345),
                       QString(), 9, 3, 12);
        insertDeadline(m_db, 2, 1, false, QDate(2020, 2, 2), QStringLiteral("other sheet"), 0, Currency::fromWhole(1));
        insertDeadline(m_db, 2, 1, true, QDate(2031, 7, 7), QStringLiteral("other sheet"), 0, Currency::fromWhole(1));
    }

    // Every condition of the filter selects what it says, through the store; on
    // one day open deadlines come before closed ones, each as entered.
    void selectionsReadTheirRows_data()
    {
        QTest::addColumn<ReportFilter>("filter");
        QTest::addColumn<qint32>("sheet");
        QTest::addColumn<QList<qint32>>("expected");

        const ReportFilter defaults;
        QTest::newRow("defaults: open") << defaults << 1 << QList<qint32>{1, 2, 3, 6};
        ReportFilter closedOnly;
        closedOnly.setStateChecked(ReportFilter::ClosedBox, true);
        closedOnly.setStateChecked(ReportFilter::OpenBox, false);
        QTest::newRow("closed only") << closedOnly << 1 << QList<qint32>{4, 5};
        ReportFilter both = closedOnly;
        both.setStateChecked(ReportFilter::OpenBox, true);
        QTest::newRow("both states") << both << 1 << QList<qint32>{1, 2, 3, 6, 4, 5};
        QTest::newRow("the other sheet") << both << 2 << QList<qint32>{7, 8};

        // Every pair of types and each type alone (credits alone are the three boxes' last rule).
        QTest::newRow("debits, appointments") << withTypes(false, true, true) << 1 << QList<qint32>{2, 3, 6};
        QTest::newRow("credits, debits") << withTypes(true, true, false) << 1 << QList<qint32>{1, 2, 6};
        QTest::newRow("credits, appointments") << withTypes(true, false, true) << 1 << QList<qint32>{1, 3};
        QTest::newRow("appointments") << withTypes(false, false, true) << 1 << QList<qint32>{3};
        QTest::newRow("debits") << withTypes(false, true, false) << 1 << QList<qint32>{2, 6};

        // Both ends of the period count; dates set while it is off are kept but not applied.
        ReportFilter period = both;
        period.setPeriodEnabled(true);
        period.setPeriod(QDate(2027, 4, 30), QDate(2027, 12, 31));
        QTest::newRow("period") << period << 1 << QList<qint32>{2, 3, 4, 5};
        ReportFilter periodOff = period;
        periodOff.setPeriodEnabled(false);
        QTest::newRow("period unchecked") << periodOff << 1 << QList<qint32>{1, 2, 3, 6, 4, 5};

        ReportFilter counterparty = both;
        counterparty.setCounterpartyEnabled(true);
        counterparty.setCounterparty(zeta(), QStringLiteral("Zeta Spa"));
        QTest::newRow("client") << counterparty << 1 << QList<qint32>{1, 6, 4};

        ReportFilter everything = counterparty;
        everything.setStateChecked(ReportFilter::OpenBox, false);
        everything.setTypeChecked(ReportFilter::DebitsBox, false);
        everything.setPeriodEnabled(true);
        everything.setPeriod(QDate(2027, 5, 1), QDate(2027, 12, 31));
        QTest::newRow("all conditions") << everything << 1 << QList<qint32>{4};
    }

    void selectionsReadTheirRows()
    {
        QFETCH(ReportFilter, filter);
        QFETCH(qint32, sheet);
        QFETCH(QList<qint32>, expected);
        QCOMPARE(rowIds(ReportStore(m_db).deadlines(reportSelection(filter, sheet))), expected);
    }

    void fieldsAsStored()
    {
        ReportFilter both;
        both.setStateChecked(ReportFilter::ClosedBox, true);
        const QList<ReportDeadline> deadlines = ReportStore(m_db).deadlines(reportSelection(both, 1));
        const auto byId = [&](qint32 id) {
            return *std::find_if(deadlines.begin(), deadlines.end(), [id](const ReportDeadline &d) { return d.rowId == id; });
        };
        const ReportDeadline rent = byId(6);
        QVERIFY(rent.value && rent.balance);
        QCOMPARE((QVariantList{int(rent.type), rent.done, rent.date, rent.description, rent.counterparty, rent.value->units(),
                               rent.balance->units(), rent.groupId, rent.groupRow, rent.groupSize}),
                 (QVariantList{-1, false, QDate(2028, 1, 1), "rent", "Zeta Spa", 12'345, -12'345, 9, 3, 12}));

        const ReportDeadline closed = byId(4);
        QCOMPARE(closed.done, true);
        QCOMPARE(closed.openBalance(), Currency());
        QCOMPARE(byId(2).counterparty, QString());
    }

    void periodBounds()
    {
        // Over every sheet, not only the active one.
        const ReportStore::PeriodBounds bounds = ReportStore(m_db).periodBounds();
        QCOMPARE(bounds.first, QDate(2020, 2, 2));
        QCOMPARE(bounds.last, QDate(2031, 7, 7));

        QTemporaryDir empty;
        const QString emptyDb = copyTemplateTo(empty.path());
        QVERIFY(!ReportStore(emptyDb).periodBounds().first.isValid());
        QVERIFY_THROWS_EXCEPTION(DbError, ReportStore(Database::connectionString(empty.filePath("missing"))));
    }

    void applyEnabling()
    {
        using Change = ReportApplyState::Change;
        ReportApplyState state;
        // While loading, the window's own filling of boxes and lists is no change.
        for (Change c : {Change::StateBox, Change::TypeBox, Change::Grouping, Change::DateMode})
            QVERIFY(!state.changed(c));
        QVERIFY(!state.isApplyEnabled());
        QVERIFY(state.changed(Change::PeriodDates));
        QVERIFY(state.isApplyEnabled());
        state.setReady();
        state.applied();
        QVERIFY(!state.isApplyEnabled());
        for (Change c : {Change::StateBox, Change::TypeBox, Change::Grouping, Change::DateMode, Change::PeriodBox,
                         Change::CounterpartyBox, Change::Counterparty, Change::Totals, Change::RepeatHeaders}) {
            state.applied();
            QVERIFY(state.changed(c));
            QVERIFY(state.isApplyEnabled());
        }
    }

    void documentTitle()
    {
        QCOMPARE(reportDocumentTitle(QStringLiteral("Office"), QStringLiteral("\r\n")), QStringLiteral("Office"));
        QCOMPARE(reportDocumentTitle(QStringLiteral("Office"),
                                     QStringLiteral("&1 Filter: Open Deadlines | Credits\r\n&2 Grouping: Date")),
                 QStringLiteral("Office - 1 Filter: Open Deadlines | Credits - 2 Grouping: Date"));
        QCOMPARE(reportDocumentTitle(QStringLiteral("R&&D"), QStringLiteral("\r\n&2 Grouping: Q&&A")),
                 QStringLiteral("R&&D - 2 Grouping: Q&A"));
    }

private:
    int zeta() const { return firstValue(m_db, QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Zeta Spa'")).toInt(); }

    QTemporaryDir m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(TestReportSource)
#include "tst_reportsource.moc"
