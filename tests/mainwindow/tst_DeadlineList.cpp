#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QLocale>
#include <QTest>

#include <limits>

// The widget-free rules of the main list: the query of each view, the date group
// keys, the "Expired" horizon, the money format and the group captions. What the
// window shows of them is checked through the window itself.
class tst_DeadlineList final : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void listQueryNamesSheetAndFilter_data();
    void listQueryNamesSheetAndFilter();
    void groupKeyAtMonthAndYearEnds_data();
    void groupKeyAtMonthAndYearEnds();
    void expiredAroundWarningHorizon_data();
    void expiredAroundWarningHorizon();
    void currencyIsExactInLocaleLayout_data();
    void currencyIsExactInLocaleLayout();
    void groupCaptions_data();
    void groupCaptions();
};

void tst_DeadlineList::init()
{
    Texts::setLanguage(Language::English);
}

void tst_DeadlineList::listQueryNamesSheetAndFilter_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("combo");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QString>("tail");

    const QDate may1(2017, 5, 1);
    QTest::newRow("credits") << 3 << 3 << may1 << "Where TrDbId=3 AND (TrDone=False And TrType=1 )";
    // The combo box decides the filter, not the argument.
    QTest::newRow("combo wins") << 1 << 6 << may1 << "Where TrDbId=3 AND (TrDone=True )";
    QTest::newRow("calendar range") << 7 << 7 << may1
                                    << "Where TrDbId=3 AND (TrDate Between #05/01/2017# And #05/14/2017# )";
    // Month first and two digits whatever the default locale says.
    QTest::newRow("calendar across the year end") << 7 << 7 << QDate(2016, 12, 31)
                                                  << "Where TrDbId=3 AND (TrDate Between #12/31/2016# And #05/14/2017# )";
}

void tst_DeadlineList::listQueryNamesSheetAndFilter()
{
    QFETCH(int, view);
    QFETCH(int, combo);
    QFETCH(QDate, first);
    QFETCH(QString, tail);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString base = QStringLiteral(
        "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, "
        "TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, Accounts.*, "
        "Trim(TrDescription & ' ' & Accounts.AcName & ' ' & TrNotes & ' ' & Accounts.AcNotes) AS SearchField "
        "FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId ");
    QCOMPARE(listQueryText(view, combo, 3, first, QDate(2017, 5, 14)), base + tail);
    QLocale::setDefault(QLocale::c());
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
    QTest::addColumn<bool>("expired");

    QTest::newRow("3 days: due in 3") << 3 << 3 << false << true;
    QTest::newRow("3 days: due in 4") << 3 << 4 << false << false;
    QTest::newRow("3 days: closed overdue") << 3 << -40 << true << false;
    QTest::newRow("off: today") << 999 << 0 << false << true;
    QTest::newRow("off: tomorrow") << 999 << 1 << false << false;
}

void tst_DeadlineList::expiredAroundWarningHorizon()
{
    QFETCH(int, warnDays);
    QFETCH(int, dueIn);
    QFETCH(bool, done);
    QFETCH(bool, expired);
    const QDate today(2026, 12, 30);   // the horizon crosses the year end
    Session session;
    session.display().warnDays = warnDays;
    Clock::pin(today);
    const QDate horizon = session.warnLimitDate();
    Clock::pin(QDate());
    QCOMPARE(isExpired(done, today.addDays(dueIn), horizon), expired);
}

void tst_DeadlineList::currencyIsExactInLocaleLayout_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("text");

    QTest::newRow("it negative") << "it_IT" << qint64(-12345000) << "-1.234,50\u00A0€";
    QTest::newRow("it smallest") << "it_IT" << std::numeric_limits<qint64>::min() << "-922.337.203.685.477,58\u00A0€";
    QTest::newRow("it beyond double") << "it_IT" << qint64(90071992547409930) << "9.007.199.254.740,99\u00A0€";
    QTest::newRow("us negative") << "en_US" << qint64(-12345000) << "($1,234.50)";
    QTest::newRow("us half cent up") << "en_US" << qint64(50) << "$0.01";
    QTest::newRow("us no negative zero") << "en_US" << qint64(-49) << "$0.00";
    QTest::newRow("yen has no decimals") << "ja_JP" << qint64(12345000) << "￥1,235";
    // Where the locale's own double formatting is exact too, both agree.
    for (const char *name : {"de_CH", "en_IN", "ar_EG"})
        QTest::newRow(name) << QString::fromLatin1(name) << qint64(-98765432100)
                            << QLocale(QString::fromLatin1(name)).toCurrencyString(-9876543.21);
}

void tst_DeadlineList::currencyIsExactInLocaleLayout()
{
    QFETCH(QString, locale);
    QFETCH(qint64, units);
    QFETCH(QString, text);
    QCOMPARE(formatCurrency(Currency::fromUnits(units), QLocale(locale)), text);
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
    const Currency total = Currency::fromUnits(-12345000);
    if (kind == "top")
        QCOMPARE(topGroupCaption("Home", "All Deadlines", option, totals, total, us), caption);
    else if (kind == "party")
        QCOMPARE(counterpartyGroupCaption(name, name, totals, total, us), caption);
    else
        QCOMPARE(dateGroupCaption(name.toInt(), option, totals, total, us), caption);
}

QTEST_GUILESS_MAIN(tst_DeadlineList)
#include "tst_DeadlineList.moc"
