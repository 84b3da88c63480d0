#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "platform/grid/GridFormat.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DeadlineStore.h"
#include "platform/MoneyFormatter.h"

#include <QLocale>
#include <QTest>

#include <limits>

// The widget-free rules of the main list: the rows of each view, the search text, the date group
// keys, the "Expired" horizon, the money format and the group captions. What the
// window shows of them is checked through the window itself.
class tst_DeadlineList final : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void viewsAndSearchText_data();
    void viewsAndSearchText();
    void groupKeyAtMonthAndYearEnds_data();
    void groupKeyAtMonthAndYearEnds();
    void expiredAroundWarningHorizon_data();
    void expiredAroundWarningHorizon();
    void moneyTextsAgreeInEveryLocale_data();
    void moneyTextsAgreeInEveryLocale();
    void totalsPastCurrencyRange();
    void groupCaptions_data();
    void groupCaptions();
};

void tst_DeadlineList::init()
{
    Texts::setLanguage(Language::English);
}

void tst_DeadlineList::viewsAndSearchText_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("shown");   // which of the four deadlines below the view lists

    QTest::newRow("all") << 0 << "CDAN";
    QTest::newRow("open") << 1 << "CAN";
    QTest::newRow("open, no appointments") << 2 << "CN";
    QTest::newRow("open credits") << 3 << "CN";
    QTest::newRow("open debits") << 4 << "";
    QTest::newRow("open appointments") << 5 << "A";
    QTest::newRow("closed") << 6 << "D";
    // From the first to the last day, both included; a deadline without a date never.
    QTest::newRow("calendar") << 7 << "DA";
}

void tst_DeadlineList::viewsAndSearchText()
{
    QFETCH(int, view);
    QFETCH(QString, shown);
    auto deadline = [](int type, bool done, const QDate &date) {
        DeadlineRow row;
        row.type = type;
        row.done = done;
        row.date = date;
        return row;
    };
    const QList<std::pair<QChar, DeadlineRow>> rows{{u'C', deadline(1, false, QDate(2017, 4, 30))},
                                                    {u'D', deadline(-1, true, QDate(2017, 5, 1))},
                                                    {u'A', deadline(-2, false, QDate(2017, 5, 14))},
                                                    {u'N', deadline(1, false, QDate())}};
    QString listed;
    for (const auto &[letter, row] : rows)
        if (viewShows(view, row.done, row.type, row.date, QDate(2017, 5, 1), QDate(2017, 5, 14)))
            listed += letter;
    QCOMPARE(listed, shown);

    // Blanks join the four texts and are trimmed; tabs and line breaks are text.
    QCOMPARE(searchText(QStringLiteral(" Rent"), QString(), QStringLiteral("march"), QString()),
             QStringLiteral("Rent  march"));
    QCOMPARE(searchText(QStringLiteral("\tRent"), QStringLiteral("Acme"), QString(), QStringLiteral("late\n")),
             QStringLiteral("\tRent Acme  late\n"));
}

void tst_DeadlineList::groupKeyAtMonthAndYearEnds_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("key");

    const QDate monthEnd(2026, 4, 30);
    QTest::newRow("last day: due today") << monthEnd << monthEnd << 1 << 0;
    QTest::newRow("last day: due tomorrow") << monthEnd << QDate(2026, 5, 1) << 1 << 2;
    QTest::newRow("day before last: due on last") << QDate(2026, 4, 29) << monthEnd << 1 << 1;
    QTest::newRow("leap february: 29th") << QDate(2028, 2, 28) << QDate(2028, 2, 29) << 1 << 1;
    QTest::newRow("31 Dec: new year") << QDate(2026, 12, 31) << QDate(2027, 1, 1) << 1 << 2;
    QTest::newRow("month key 1 Jan") << QDate(2026, 6, 1) << QDate(2027, 1, 1) << 2 << 202701;
    QTest::newRow("counterparty layout") << monthEnd << QDate(2027, 1, 1) << 3 << 0;
}

void tst_DeadlineList::groupKeyAtMonthAndYearEnds()
{
    QFETCH(QDate, today);
    QFETCH(QDate, date);
    QFETCH(int, option);
    QFETCH(int, key);
    QCOMPARE(groupKeyForDate(date, option, today), key);
}

void tst_DeadlineList::expiredAroundWarningHorizon_data()
{
    QTest::addColumn<int>("warnDays");
    QTest::addColumn<int>("dueIn");   // days from today
    QTest::addColumn<bool>("done");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("grpId");
    QTest::addColumn<bool>("expired");
    QTest::addColumn<QString>("spoken");   // what a screen reader hears of the row's state

    QTest::newRow("3 days: due in 3") << 3 << 3 << false << 1 << 0 << true << "Credit, due soon";
    QTest::newRow("3 days: due in 4") << 3 << 4 << false << -1 << 0 << false << "Debit, open";
    QTest::newRow("3 days: closed overdue") << 3 << -40 << true << -1 << 7 << false << "Debit, closed, 3 of 12";
    QTest::newRow("3 days: overdue") << 3 << -1 << false << 1 << 0 << true << "Credit, overdue";
    QTest::newRow("off: today") << 999 << 0 << false << -2 << 0 << true << "Expiry Date, due soon";
    QTest::newRow("off: tomorrow") << 999 << 1 << false << 1 << 7 << false << "Credit, open, 3 of 12";
}

void tst_DeadlineList::expiredAroundWarningHorizon()
{
    QFETCH(int, warnDays);
    QFETCH(int, dueIn);
    QFETCH(bool, done);
    QFETCH(int, type);
    QFETCH(int, grpId);
    QFETCH(bool, expired);
    QFETCH(QString, spoken);
    const QDate today(2026, 12, 30);   // the horizon crosses the year end
    Session session;
    session.display().warnDays = warnDays;
    Clock::pin(today);
    const QDate horizon = session.warnLimitDate();
    Clock::pin(QDate());
    const QDate date = today.addDays(dueIn);
    QCOMPARE(isExpired(done, date, horizon), expired);
    QCOMPARE(deadlineStateText(type, done, date, today, horizon, grpId, 3, 12), spoken);
}

void tst_DeadlineList::moneyTextsAgreeInEveryLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("amount");   // 12.3455 in the locale's format
    QTest::addColumn<QString>("digits");   // the locale's digits, all of one script

    QTest::newRow("en_US") << "en_US" << "$12.3455" << "0123456789";
    QTest::newRow("it_IT") << "it_IT" << "12,3455\u00A0€" << "0123456789";
    QTest::newRow("fr_TN") << "fr_TN" << QLocale(QStringLiteral("fr_TN")).toCurrencyString(12.3455, QString(), 4)
                           << "0123456789";
    QTest::newRow("ar_KW") << "ar_KW" << QLocale(QStringLiteral("ar_KW")).toCurrencyString(12.3455, QString(), 4)
                           << QStringLiteral("٠١٢٣٤٥٦٧٨٩");
}

void tst_DeadlineList::moneyTextsAgreeInEveryLocale()
{
    // A cell, a group total and a caption of the same amount read the same: in
    // three-decimal currencies the cell once rounded to cents while its total
    // did not, and Arabic cells mixed two kinds of digits.
    QFETCH(QString, locale);
    QFETCH(QString, amount);
    QFETCH(QString, digits);
    const QLocale loc(locale);
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

void tst_DeadlineList::totalsPastCurrencyRange()
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
    Texts::setLanguage(Language::Italian);
    QCOMPARE(dateGroupCaption(0, 1, true, MoneySum::fromUnits(-huge), us), " Fino ad oggi [totale troppo grande]");
    QCOMPARE(dateGroupCaption(0, 1, true, unknown, us), " Fino ad oggi [importo fuori limite]");
}

void tst_DeadlineList::groupCaptions_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("totals");
    QTest::addColumn<QString>("name");   // the key for date groups
    QTest::addColumn<QString>("caption");

    const Language en = Language::English;
    QTest::newRow("top, plain, totals ignored") << en << "top" << 0 << true << "" << "Home - All Deadlines";
    QTest::newRow("top, by counterparty") << en << "top" << 3 << true << "" << "Home - All Deadlines [($1,234.50)]";
    QTest::newRow("no counterparty, italian") << Language::Italian << "party" << 3 << true << ""
                                              << "(vuoto) [($1,234.50)]";
    QTest::newRow("until month end, no totals") << en << "date" << 1 << false << "1" << " Until end of month";
    QTest::newRow("fino ad oggi") << Language::Italian << "date" << 1 << false << "0" << " Fino ad oggi";
    QTest::newRow("month") << en << "date" << 2 << true << "201705" << " May 2017 [($1,234.50)]";
}

void tst_DeadlineList::groupCaptions()
{
    QFETCH(Language, language);
    QFETCH(QString, kind);
    QFETCH(int, option);
    QFETCH(bool, totals);
    QFETCH(QString, name);
    QFETCH(QString, caption);

    Texts::setLanguage(language);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const TotalUnits total = MoneySum::fromUnits(-12345000);
    if (kind == "top")
        QCOMPARE(topGroupCaption("Home", "All Deadlines", option, totals, total, us), caption);
    else if (kind == "party")
        QCOMPARE(counterpartyGroupCaption(name, name, totals, total, us), caption);
    else
        QCOMPARE(dateGroupCaption(name.toInt(), option, totals, total, us), caption);
}

QTEST_GUILESS_MAIN(tst_DeadlineList)
#include "tst_DeadlineList.moc"
