#include "ReportTestTexts.h"
#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "reports/Aging.h"
#include "reports/ReportContent.h"
#include "reports/ReportDescription.h"
#include "reports/ReportFilter.h"
#include "reports/ReportGrouping.h"
#include "store/AgingStore.h"
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

// An exact sum as plain text ("12.5"), wider than any Currency; "?" out of range.
QString sumText(const MoneySum &sum)
{
    if (sum.isOutOfRange())
        return QStringLiteral("?");
    const __int128 units = sum.units();
    const unsigned __int128 magnitude = units < 0 ? -(unsigned __int128)units : (unsigned __int128)units;
    const QString whole = int128Text(__int128(magnitude / Currency::Scale));
    QString fraction = QString::number(qint64(magnitude % Currency::Scale)).rightJustified(4, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return (units < 0 ? QStringLiteral("-") : QString()) + whole
        + (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction);
}

// "name:not due,1-30,31-60,61-90,over 90=total oldest" per row, then the totals.
QString agingText(const AgingTable &table)
{
    QStringList lines;
    const auto line = [](const QString &name, const AgingRow &row) {
        QStringList buckets;
        for (const MoneySum &sum : row.buckets)
            buckets << sumText(sum);
        return name + QLatin1Char(':') + buckets.join(QLatin1Char(',')) + QLatin1Char('=') + sumText(row.total)
            + QLatin1Char(' ') + row.oldestDue.toString(Qt::ISODate);
    };
    for (const AgingRow &row : table.rows)
        lines << line(row.counterpartyId != 0 ? row.name : QStringLiteral("(none)"), row);
    lines << line(QStringLiteral("total"), table.totals);
    return lines.join(QStringLiteral("; "));
}


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

// What a report selects through the store, the aging, and how the rows are grouped,
// totalled and described, without a window.
class TestReportGrouping final : public QObject
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
    void selectionsReadTheirRows()
    {
        // A filter and the sheet select these row ids, in this order.
        const auto selects = [this](const ReportFilter &filter, qint32 sheet, const QList<qint32> &ids) {
            const QList<qint32> read = rowIds(ReportStore(m_db).deadlines(reportSelection(filter, sheet)));
            return read == ids || (qWarning() << "read" << read, false);
        };
        const ReportFilter defaults;
        QVERIFY2(selects(defaults, 1, {1, 2, 3, 6}), "defaults: open");
        ReportFilter closedOnly;
        closedOnly.setStateChecked(ReportFilter::ClosedBox, true);
        closedOnly.setStateChecked(ReportFilter::OpenBox, false);
        QVERIFY2(selects(closedOnly, 1, {4, 5}), "closed only");
        ReportFilter both = closedOnly;
        both.setStateChecked(ReportFilter::OpenBox, true);
        QVERIFY2(selects(both, 1, {1, 2, 3, 6, 4, 5}), "both states");
        QVERIFY2(selects(both, 2, {7, 8}), "the other sheet");

        // Pairs of types and a type alone (credits alone are the three boxes' last rule).
        QVERIFY2(selects(withTypes(false, true, true), 1, {2, 3, 6}), "debits, appointments");
        QVERIFY2(selects(withTypes(true, false, true), 1, {1, 3}), "credits, appointments");
        QVERIFY2(selects(withTypes(false, false, true), 1, {3}), "appointments");

        // Both ends of the period count; dates set while it is off are kept but not applied.
        ReportFilter period = both;
        period.setPeriodEnabled(true);
        period.setPeriod(QDate(2027, 4, 30), QDate(2027, 12, 31));
        QVERIFY2(selects(period, 1, {2, 3, 4, 5}), "period");
        ReportFilter periodOff = period;
        periodOff.setPeriodEnabled(false);
        QVERIFY2(selects(periodOff, 1, {1, 2, 3, 6, 4, 5}), "period unchecked");

        ReportFilter counterparty = both;
        counterparty.setCounterpartyEnabled(true);
        counterparty.setCounterparty(zeta(), QStringLiteral("Zeta Spa"));
        QVERIFY2(selects(counterparty, 1, {1, 6, 4}), "client");

        ReportFilter everything = counterparty;
        everything.setStateChecked(ReportFilter::OpenBox, false);
        everything.setTypeChecked(ReportFilter::DebitsBox, false);
        everything.setPeriodEnabled(true);
        everything.setPeriod(QDate(2027, 5, 1), QDate(2027, 12, 31));
        QVERIFY2(selects(everything, 1, {4}), "all conditions");

        // The fields as stored.
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

    // The aging of one sheet as of today, through the store: buckets by days
    // overdue, credits and debits apart, debits as what is owed, the
    // deadlines without a client (or whose client is gone) under "(none)",
    // appointments and closed ones weighing nothing, exact sums and totals.
    // A row is "type date who amount": C credit, D debit, A appointment, X a
    // closed credit; who is a name, "-" for none, "?" for a deleted client.
    void agingBuckets()
    {
        // Today, the rows, and the credits' and debits' aging.
        QList<std::tuple<QDate, QStringList, QString, QString>> cases;

        // Due today, then 1, 30, 31, 60, 61, 90 and 91 days overdue, and tomorrow.
        cases.append({QDate(2026, 6, 30),
                      QStringList{"C 2026-06-30 Acme 1", "C 2026-06-29 Acme 2", "C 2026-05-31 Acme 4",
                           "C 2026-05-30 Acme 8", "C 2026-05-01 Acme 16", "C 2026-04-30 Acme 32",
                           "C 2026-04-01 Acme 64", "C 2026-03-31 Acme 128", "C 2026-07-01 Acme 256"},
                      QStringLiteral("Acme:257,6,24,96,128=511 2026-03-31; total:257,6,24,96,128=511 2026-03-31"),
                      QStringLiteral("total:0,0,0,0,0=0 ")});  // bucket edges
        // 29 February counts: 31 January is 30 days before 1 March 2024, 29 in 2023.
        cases.append({QDate(2024, 3, 1),
                      QStringList{"C 2024-01-31 Acme 1", "C 2024-01-30 Acme 2"},
                      QStringLiteral("Acme:0,1,2,0,0=3 2024-01-30; total:0,1,2,0,0=3 2024-01-30"),
                      QStringLiteral("total:0,0,0,0,0=0 ")});  // leap year, 30 days
        cases.append({QDate(2023, 3, 1),
                      QStringList{"D 2023-01-31 Zeta 1", "D 2023-01-30 Zeta 2", "D 2022-12-31 Zeta 4", "D 2022-12-30 Zeta 8"},
                      QStringLiteral("total:0,0,0,0,0=0 "),
                      QStringLiteral("Zeta Spa:0,3,4,8,0=15 2022-12-30; total:0,3,4,8,0=15 2022-12-30")});  // common year
        // By the largest overdue amount; "(none)" collects both ways of having no client.
        cases.append({QDate(2026, 6, 30),
                      QStringList{"C 2026-06-25 - 10", "C 2026-03-22 Acme 3", "C 2026-07-15 Zeta 20", "C 2026-06-29 ? 1",
                           "A 2026-01-01 - 5", "X 2026-01-01 Acme 50", "D 2026-05-21 Zeta 7", "D 2026-08-01 - 2"},
                      QStringLiteral("(none):0,11,0,0,0=11 2026-06-25; Acme:0,0,0,0,3=3 2026-03-22; "
                              "Zeta Spa:20,0,0,0,0=20 2026-07-15; total:20,11,0,0,3=34 2026-03-22"),
                      QStringLiteral("Zeta Spa:0,0,7,0,0=7 2026-05-21; (none):2,0,0,0,0=2 2026-08-01; "
                              "total:2,0,7,0,0=9 2026-05-21")});  // none, order and what counts nothing
        // Ten-thousandths add up exactly, and sums go past what one amount holds.
        cases.append({QDate(2026, 6, 30),
                      QStringList{"C 2026-06-01 Acme 0.0001", "C 2026-06-02 Acme 0.0002", "C 2026-01-01 Zeta 900000000000000",
                           "C 2026-01-02 Zeta 900000000000000"},
                      QStringLiteral("Zeta Spa:0,0,0,0,1800000000000000=1800000000000000 2026-01-01; "
                              "Acme:0,0.0003,0,0,0=0.0003 2026-06-01; "
                              "total:0,0.0003,0,0,1800000000000000=1800000000000000.0003 2026-01-01"),
                      QStringLiteral("total:0,0,0,0,0=0 ")});  // exact sums
        const int acme = firstValue(m_db, QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Acme'")).toInt();
        for (const auto &[today, rows, credits, debits] : cases) {
            constexpr int sheet = 40;
            runSql(m_db, QStringLiteral("DELETE FROM Transactions WHERE TrDbId = 40"));
            for (const QString &row : rows) {
                const QStringList f = row.split(QLatin1Char(' '));
                const QChar kind = f.at(0).at(0);
                const int type = kind == u'D' ? -1 : kind == u'A' ? -2 : 1;
                const int who = f.at(2) == u"Acme" ? acme : f.at(2) == u"Zeta" ? zeta() : f.at(2) == u"?" ? 999 : 0;
                const std::optional<Currency> amount = Currency::parse(f.at(3));
                QVERIFY(amount);
                insertDeadline(m_db, sheet, type, kind == u'X', QDate::fromString(f.at(1), Qt::ISODate), row, who, *amount);
            }
            const Aging aging = computeAging(AgingStore(m_db).openAmounts(sheet), today);
            QCOMPARE(agingText(aging.credits), credits);
            QCOMPARE(agingText(aging.debits), debits);
        }
    }

    void dateKeys()
    {
        const auto keyIs = [](const QDate &date, ReportFilter::DateMode mode, const QDate &today, int key) {
            const int got = reportDateGroupKey(date, mode, today);
            return got == key || (qWarning() << date << int(mode) << today << "gives" << got, false);
        };
        // The first and last day of every month: four-month periods start in January,
        // May and September, quarters every three months.
        const QDate today(2027, 6, 10);
        for (int m = 1; m <= 12; ++m) {
            for (const QDate &date : {QDate(2027, m, 1), QDate(2027, m, 1).addMonths(1).addDays(-1)}) {
                QVERIFY(keyIs(date, ReportFilter::FourMonthMode, today, 20270 + (m - 1) / 4 + 1));
                QVERIFY(keyIs(date, ReportFilter::QuarterMode, today, 20270 + (m - 1) / 3 + 1));
            }
        }
        QVERIFY(keyIs(QDate(2028, 1, 1), ReportFilter::FourMonthMode, today, 20281));
        QVERIFY(keyIs(QDate(2028, 1, 1), ReportFilter::QuarterMode, today, 20281));
        QVERIFY(keyIs(QDate(2027, 11, 30), ReportFilter::MonthMode, today, 202711));
        QVERIFY(keyIs(QDate(2027, 11, 30), ReportFilter::YearMode, today, 2027));

        // On the last day of a month, "until the end of the month" holds nothing.
        const auto period = ReportFilter::PeriodMode;
        const QDate monthEnd(2027, 1, 31);
        QVERIFY(keyIs(monthEnd, period, monthEnd, 0));
        QVERIFY(keyIs(QDate(2027, 2, 1), period, monthEnd, 2));
        QVERIFY(keyIs(monthEnd, period, QDate(2027, 1, 30), 1));
        QVERIFY(keyIs(QDate(2019, 5, 3), period, today, 0));       // long overdue
        QVERIFY(keyIs(QDate(2027, 7, 1), period, today, 2));       // next month
        QVERIFY(keyIs(QDate(2028, 6, 11), period, today, 2));      // next year, same month
        QVERIFY(keyIs(QDate(2028, 2, 29), period, QDate(2028, 2, 28), 1));
    }

    // The document's title from the sheet and the footer, then the captions of the
    // date groups and the footer that describes the filter, in English and Italian.
    void titleCaptionsAndFooter()
    {
        QCOMPARE(reportDocumentTitle(QStringLiteral("Office"), QStringLiteral("\r\n")), QStringLiteral("Office"));
        QCOMPARE(reportDocumentTitle(QStringLiteral("Office"),
                                     QStringLiteral("&1 Filter: Open Deadlines | Credits\r\n&2 Grouping: Date")),
                 QStringLiteral("Office - 1 Filter: Open Deadlines | Credits - 2 Grouping: Date"));
        QCOMPARE(reportDocumentTitle(QStringLiteral("R&&D"), QStringLiteral("\r\n&2 Grouping: Q&&A")),
                 QStringLiteral("R&&D - 2 Grouping: Q&A"));

        const ReportTexts en = englishReportTexts();
        const ReportTexts it = reportTextsIn(QStringLiteral("Italian"));
        const QDate august(2027, 8, 14);
        const QString euro = QLocale(QLocale::Italian, QLocale::Italy).toCurrencyString(qlonglong(1)).mid(1);
        // Today is 10 June 2027; a total of whole units, or none.
        const auto caption = [](const ReportTexts &texts, ReportFilter::DateMode mode, const QDate &date,
                                std::optional<qint64> total = std::nullopt) {
            const QString caption = reportDateGroupCaption(date, mode, QDate(2027, 6, 10), texts);
            return total ? captionWithTotal(caption, MoneySum::fromUnits(Currency::fromWhole(*total).units()), texts) : caption;
        };
        QCOMPARE(caption(en, ReportFilter::QuarterMode, august, 1250), " Q3 2027 [$1,250.00]");
        QCOMPARE(caption(it, ReportFilter::QuarterMode, august, 1250), " T3 2027 [1.250,00" + euro + "]");
        QCOMPARE(caption(en, ReportFilter::FourMonthMode, august, -80), "4M2 2027 [($80.00)]");
        QCOMPARE(caption(it, ReportFilter::MonthMode, august), " agosto 2027");
        QCOMPARE(caption(en, ReportFilter::YearMode, august), " 2027");
        QCOMPARE(caption(en, ReportFilter::PeriodMode, QDate(2027, 6, 10), 3), " Until Today [$3.00]");
        QCOMPARE(caption(it, ReportFilter::PeriodMode, QDate(2027, 6, 30)), " Fine mese");
        QCOMPARE(caption(en, ReportFilter::PeriodMode, QDate(2027, 7, 1)), " Next month onwards");

        ReportFilter everything;
        everything.setStateChecked(ReportFilter::ClosedBox, true);
        QCOMPARE(describeReportFilter(everything, en), "\r\n");   // nothing filtered, no grouping

        ReportFilter openCredits;
        openCredits.setTypeChecked(ReportFilter::DebitsBox, false);
        openCredits.setTypeChecked(ReportFilter::AppointmentsBox, false);
        QCOMPARE(describeReportFilter(openCredits, it), "&1 Filtro: Scadenze aperte | Crediti\r\n");

        ReportFilter closedTwoTypes;
        closedTwoTypes.setStateChecked(ReportFilter::ClosedBox, true);
        closedTwoTypes.setStateChecked(ReportFilter::OpenBox, false);
        closedTwoTypes.setTypeChecked(ReportFilter::CreditsBox, false);
        closedTwoTypes.setGrouping(ReportFilter::ByDateThenCounterparty);
        QCOMPARE(describeReportFilter(closedTwoTypes, en),
                 "&1 Filter: Deadlines past | Debits, Expiry dates\r\n&2 Grouping: Date and Client/Supplier");

        ReportFilter periodAndCounterparty = everything;
        periodAndCounterparty.setPeriodEnabled(true);
        periodAndCounterparty.setPeriod(QDate(2027, 3, 1), QDate(2027, 12, 31));
        periodAndCounterparty.setCounterpartyEnabled(true);
        periodAndCounterparty.setCounterparty(7, QStringLiteral("Acme Ltd"));
        periodAndCounterparty.setGrouping(ReportFilter::ByCounterparty);
        QCOMPARE(describeReportFilter(periodAndCounterparty, it),
                 "&1 Filtro: 01/03/27 - 31/12/27 | Acme Ltd\r\n&2 Raggruppamento: Cliente/Fornitore");

        ReportFilter groupingOnly = everything;
        groupingOnly.setGrouping(ReportFilter::ByCounterpartyThenDate);
        QCOMPARE(describeReportFilter(groupingOnly, en), "\r\n&2 Grouping: Client/Supplier and Date");
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

private:
    int zeta() const { return firstValue(m_db, QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Zeta Spa'")).toInt(); }

    QTemporaryDir m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(TestReportGrouping)
#include "tst_reportgrouping.moc"
