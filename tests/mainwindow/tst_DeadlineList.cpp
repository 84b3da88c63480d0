#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "platform/MoneyFormatter.h"
#include "platform/grid/GridFormat.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DeadlineStore.h"

#include <QTest>

#include <limits>

// The main list's rules that need no window: the rows of each view, the search
// text, the date group keys, the "Expired" horizon, the money texts and the captions.
class tst_DeadlineList final : public QObject
{
    Q_OBJECT

private slots:

    void viewsGroupKeysAndExpiredAtTheirEdges()
    {
        // Which of four deadlines each view lists: C an open credit, D a closed debit,
        // A an appointment, N a credit without a date; the calendar's days from 1 to 14
        // May, both included (a deadline without a date never).
        const auto row = [](int type, bool done, const QDate &date) {
            DeadlineRow r;
            r.type = type;
            r.done = done;
            r.date = date;
            return r;
        };
        const QList<std::pair<QChar, DeadlineRow>> rows{{u'C', row(1, false, QDate(2017, 4, 30))},
                                                        {u'D', row(-1, true, QDate(2017, 5, 1))},
                                                        {u'A', row(-2, false, QDate(2017, 5, 14))},
                                                        {u'N', row(1, false, QDate())}};
        const QStringList shown{"CDAN", "CAN", "CN", "CN", "", "A", "D", "DA"};   // views 0 to 7
        for (int view = 0; view < shown.size(); ++view) {
            QString listed;
            for (const auto &[letter, r] : rows)
                if (viewShows(view, r.done, r.type, r.date, QDate(2017, 5, 1), QDate(2017, 5, 14)))
                    listed += letter;
            QVERIFY2(listed == shown[view], qPrintable(QStringLiteral("view %1: %2").arg(view).arg(listed)));
        }
        // Blanks join the four texts and are trimmed; tabs and line breaks are text.
        QCOMPARE(searchText(QStringLiteral(" Rent"), QString(), QStringLiteral("march"), QString()),
                 QStringLiteral("Rent  march"));
        QCOMPARE(searchText(QStringLiteral("\tRent"), QStringLiteral("Acme"), QString(), QStringLiteral("late\n")),
                 QStringLiteral("\tRent Acme  late\n"));

        // The date group key around month and year ends: today, date, layout, key.
        const QDate monthEnd(2026, 4, 30);
        const struct { QDate today, date; int option, key; } keys[] = {
            {monthEnd, monthEnd, 1, 0},                               // due today
            {monthEnd, QDate(2026, 5, 1), 1, 2},                      // tomorrow is next month
            {QDate(2026, 4, 29), monthEnd, 1, 1},                     // the last day, seen the day before
            {QDate(2028, 2, 28), QDate(2028, 2, 29), 1, 1},           // leap February
            {QDate(2026, 12, 31), QDate(2027, 1, 1), 1, 2},           // a new year
            {QDate(2026, 6, 1), QDate(2027, 1, 1), 2, 202701},        // month and year
            {monthEnd, QDate(2027, 1, 1), 3, 0}};                     // by counterparty: no date key
        for (const auto &k : keys)
            QVERIFY2(groupKeyForDate(k.date, k.option, k.today) == k.key, qPrintable(k.date.toString(Qt::ISODate)));

        // "Expired" and what a screen reader hears of the state, around the warning
        // horizon, which here crosses the year end: warning days, due in, done, type, group.
        const QDate today(2026, 12, 30);
        const struct { int warnDays, dueIn; bool done; int type, grpId; bool expired; const char *spoken; } states[] = {
            {3, 3, false, 1, 0, true, "Credit, due soon"},
            {3, 4, false, -1, 0, false, "Debit, open"},
            {3, -40, true, -1, 7, false, "Debit, closed, 3 of 12"},
            {3, -1, false, 1, 0, true, "Credit, overdue"},
            {999, 0, false, -2, 0, true, "Expiry Date, due soon"},   // warning off: today only
            {999, 1, false, 1, 7, false, "Credit, open, 3 of 12"}};
        for (const auto &s : states) {
            Session session;
            session.display().warnDays = s.warnDays;
            Clock::pin(today);
            const QDate horizon = session.warnLimitDate();
            Clock::pin(QDate());
            const QDate date = today.addDays(s.dueIn);
            QCOMPARE(isExpired(s.done, date, horizon), s.expired);
            QCOMPARE(deadlineStateText(s.type, s.done, date, today, horizon, s.grpId, 3, 12), QString::fromUtf8(s.spoken));
        }
    }

    void moneyTextsAgreeInEveryLocale()
    {
        // A cell, a group total and a caption of the same amount read the same: in
        // three-decimal currencies the cell once rounded to cents while its total
        // did not, and Arabic cells mixed two kinds of digits.
        const std::pair<const char *, QString> locales[] = {
            {"it_IT", "0123456789"}, {"fr_TN", "0123456789"}, {"ar_KW", QStringLiteral("٠١٢٣٤٥٦٧٨٩")}};
        for (const auto &[name, digits] : locales) {
            const QLocale loc(QString::fromLatin1(name));
            const QString amount = QString::fromLatin1(name) == u"it_IT" ? QStringLiteral("12,3455\u00A0€")
                                                                          : loc.toCurrencyString(12.3455, QString(), 4);
            QLocale::setDefault(loc);
            const Currency value = Currency::fromUnits(123455);
            const QString cell = GridFormat::text(QVariant::fromValue(value), QStringLiteral("Currency"));
            QLocale::setDefault(QLocale::c());
            QCOMPARE(cell, amount);
            QCOMPARE(formatMoney(value, loc), cell);
            QCOMPARE(dateGroupCaption(0, 1, true, MoneySum::fromUnits(value.units()), loc), " Until Today [" + cell + "]");
            for (QChar c : cell)
                if (c.isDigit())
                    QVERIFY2(digits.contains(c), qPrintable(cell));
        }
    }

    void captionsAndTotalsPastCurrencyRange()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const __int128 largest = std::numeric_limits<qint64>::max();
        // Two of the largest credits: the true total, not the range's end.
        QCOMPARE(counterpartyGroupCaption("Acme", "Acme", true, MoneySum::fromUnits(2 * largest), us),
                 "Acme [$1,844,674,407,370,955.1614]");
        QCOMPARE(counterpartyGroupCaption("Acme", "Acme", true, MoneySum::fromUnits(-2 * largest - 2), us),
                 "Acme [($1,844,674,407,370,955.1616)]");
        // A total whose whole part no longer fits says so instead of a number.
        const __int128 huge = largest * 100000 * 10000;
        QCOMPARE(counterpartyGroupCaption("Acme", "Acme", true, MoneySum::fromUnits(huge), us), "Acme [total too large]");
        // So does a total over an amount that the file holds out of range.
        MoneySum unknown = MoneySum::fromUnits(5);
        unknown.add(std::nullopt);
        QCOMPARE(counterpartyGroupCaption("Acme", "Acme", true, unknown, us), "Acme [amount out of range]");
        // The captions the window's test does not reach: the middle period and no counterparty.
        QCOMPARE(dateGroupCaption(1, 1, false, MoneySum::fromUnits(5), us), " Until end of month");
        Texts::setLanguage(Language::Italian);
        QCOMPARE(counterpartyGroupCaption("", "", true, MoneySum::fromUnits(-12345000), us), "(vuoto) [($1,234.50)]");
        QCOMPARE(dateGroupCaption(0, 1, true, MoneySum::fromUnits(-huge), us), " Fino ad oggi [totale troppo grande]");
        QCOMPARE(dateGroupCaption(0, 1, true, unknown, us), " Fino ad oggi [importo fuori limite]");
    }
};

QTEST_GUILESS_MAIN(tst_DeadlineList)
#include "tst_DeadlineList.moc"
