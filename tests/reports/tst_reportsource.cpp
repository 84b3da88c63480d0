#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "reports/ReportApplyState.h"
#include "reports/ReportDescription.h"
#include "reports/ReportFilter.h"
#include "reports/ReportQuery.h"
#include "reports/ReportSource.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QList<qint32> rowIds(const QList<ReportDeadline> &deadlines)
{
    QList<qint32> ids;
    for (const ReportDeadline &d : deadlines)
        ids << d.rowId;
    std::sort(ids.begin(), ids.end());
    return ids;
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
        runJet(m_db, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Zeta Spa', 'second')"));
        runJet(m_db, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'first\nline two')"));
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

    void queriesSelectTheirRowsAndFields()
    {
        // The query text as the report builds it, run through the store: every
        // condition must select what it says.
        const auto ids = [this](const ReportFilter &filter) {
            return rowIds(readReportDeadlines(m_db, reportQueryText(filter, 1)));
        };
        const ReportFilter defaults;
        QCOMPARE(ids(defaults), (QList<qint32>{1, 2, 3, 6}));

        ReportFilter closedOnly;
        closedOnly.setStateChecked(ReportFilter::ClosedBox, true);
        closedOnly.setStateChecked(ReportFilter::OpenBox, false);
        QCOMPARE(ids(closedOnly), (QList<qint32>{4, 5}));

        ReportFilter both = closedOnly;
        both.setStateChecked(ReportFilter::OpenBox, true);
        QCOMPARE(ids(both), (QList<qint32>{1, 2, 3, 4, 5, 6}));

        ReportFilter debitsAppointments = both;
        debitsAppointments.setTypeChecked(ReportFilter::CreditsBox, false);
        QCOMPARE(ids(debitsAppointments), (QList<qint32>{2, 3, 5, 6}));

        // Both ends of the period count.
        ReportFilter period = both;
        period.setPeriodEnabled(true);
        period.setPeriod(QDate(2027, 4, 30), QDate(2027, 12, 31));
        QCOMPARE(ids(period), (QList<qint32>{2, 3, 4, 5}));

        ReportFilter counterparty = both;
        counterparty.setCounterpartyEnabled(true);
        counterparty.setCounterparty(firstValue(m_db, "SELECT AcId FROM Accounts WHERE AcName='Zeta Spa'").toInt(),
                                     QStringLiteral("Zeta Spa"));
        QCOMPARE(ids(counterparty), (QList<qint32>{1, 4, 6}));

        QVERIFY(readReportDeadlines(m_db, emptyReportQueryText()).isEmpty());
        QVERIFY_THROWS_EXCEPTION(DbError, readReportDeadlines(m_db, QStringLiteral("SELECT Nothing FROM Nowhere")));

        // Each field as stored.
        const QList<ReportDeadline> deadlines = readReportDeadlines(m_db, reportQueryText(both, 1));
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

    void periodBoundsAndCounterparties()
    {
        // Over every sheet, not only the active one.
        const ReportPeriodBounds bounds = readReportPeriodBounds(m_db);
        QCOMPARE(bounds.first, QDate(2020, 2, 2));
        QCOMPARE(bounds.last, QDate(2031, 7, 7));

        QTemporaryDir empty;
        const QString emptyDb = copyTemplateTo(empty.path());
        QVERIFY(!readReportPeriodBounds(emptyDb).first.isValid());
        QVERIFY(readReportCounterparties(emptyDb).isEmpty());
        // An unreadable database leaves the pickers alone instead of failing.
        QVERIFY(!readReportPeriodBounds(Database::connectionString(empty.filePath("missing"))).last.isValid());

        const QList<ReportCounterparty> choice = readReportCounterparties(m_db);
        QCOMPARE(choice.size(), 2);
        QCOMPARE((QStringList{choice[0].name, choice[1].name}), (QStringList{"Acme", "Zeta Spa"}));
        QVERIFY(choice[0].notes.isEmpty());
        QVERIFY(choice[0].id != choice[1].id);
        QCOMPARE(readCounterpartyList(m_db)[0].notes, QStringLiteral("first\nline two"));
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
    QTemporaryDir m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(TestReportSource)
#include "tst_reportsource.moc"
