#include "mainwindow/DeadlineList.h"
#include "platform/Clock.h"
#include "startup/Session.h"
#include "startup/Texts.h"

#include <QFile>
#include <QLocale>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include <limits>

class tst_DeadlineList final : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void listQueryNamesSheetAndFilter_data();
    void listQueryNamesSheetAndFilter();
    void calendarViewUsesSelectedRange();
    void initialQueryListsNothing();

    void groupKeyAtMonthAndYearEnds_data();
    void groupKeyAtMonthAndYearEnds();

    void openBalanceTotalCountsOpenRowsOnly_data();
    void openBalanceTotalCountsOpenRowsOnly();

    void descriptionCarriesCounterOfGroupMembers_data();
    void descriptionCarriesCounterOfGroupMembers();

    void expiredAroundWarningHorizon_data();
    void expiredAroundWarningHorizon();

    void iconsFollowTypeStateAndGroup_data();
    void iconsFollowTypeStateAndGroup();
    void everyIconIsASixteenPixelPicture();

    void currencyIsExactInLocaleLayout_data();
    void currencyIsExactInLocaleLayout();
    void currencyAgreesWithLocaleForSmallAmounts_data();
    void currencyAgreesWithLocaleForSmallAmounts();

    void groupCaptions_data();
    void groupCaptions();
    void counterSeparatorFollowsLanguage_data();
    void counterSeparatorFollowsLanguage();
};

void tst_DeadlineList::init()
{
    Texts::setLanguage(Language::English);
}

static const QString Base = QStringLiteral(
    "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, "
    "TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, Accounts.*, "
    "Trim(TrDescription & ' ' & Accounts.AcName & ' ' & TrNotes & ' ' & Accounts.AcNotes) AS SearchField "
    "FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId ");

void tst_DeadlineList::listQueryNamesSheetAndFilter_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("combo");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<QString>("tail");

    QTest::newRow("all") << 0 << 0 << 1 << "Where TrDbId=1 AND (True )";
    QTest::newRow("open") << 1 << 1 << 1 << "Where TrDbId=1 AND (TrDone=False )";
    QTest::newRow("open credits and debits") << 2 << 2 << 1 << "Where TrDbId=1 AND (TrDone=False And TrType<>-2 )";
    QTest::newRow("credits on sheet 3") << 3 << 3 << 3 << "Where TrDbId=3 AND (TrDone=False And TrType=1 )";
    QTest::newRow("debits") << 4 << 4 << 12 << "Where TrDbId=12 AND (TrDone=False And TrType=-1 )";
    QTest::newRow("appointments") << 5 << 5 << 2 << "Where TrDbId=2 AND (TrDone=False And TrType=-2 )";
    QTest::newRow("closed") << 6 << 6 << 2 << "Where TrDbId=2 AND (TrDone=True )";
    // The combo box decides the filter, not the argument.
    QTest::newRow("combo wins") << 1 << 6 << 4 << "Where TrDbId=4 AND (TrDone=True )";
    QTest::newRow("large sheet id") << 0 << 0 << 2147483647 << "Where TrDbId=2147483647 AND (True )";
}

void tst_DeadlineList::listQueryNamesSheetAndFilter()
{
    QFETCH(int, view);
    QFETCH(int, combo);
    QFETCH(int, sheet);
    QFETCH(QString, tail);
    QCOMPARE(listQueryText(view, combo, sheet, QDate(2017, 5, 1), QDate(2017, 5, 14)), Base + tail);
}

void tst_DeadlineList::calendarViewUsesSelectedRange()
{
    QCOMPARE(baseListQuery(), Base);
    QCOMPARE(listQueryText(7, 7, 3, QDate(2017, 5, 1), QDate(2017, 5, 14)),
             Base + "Where TrDbId=3 AND (TrDate Between #05/01/2017# And #05/14/2017# )");
    // Month first and two digits whatever the default locale says.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(listQueryText(7, 7, 1, QDate(2016, 12, 31), QDate(2017, 1, 2)),
             Base + "Where TrDbId=1 AND (TrDate Between #12/31/2016# And #01/02/2017# )");
    QLocale::setDefault(QLocale::c());
}

void tst_DeadlineList::initialQueryListsNothing()
{
    QCOMPARE(initialListQuery(), Base + "Where TrDbId=0");
}

void tst_DeadlineList::groupKeyAtMonthAndYearEnds_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("key");

    const QDate monthEnd(2026, 4, 30);
    QTest::newRow("last day: due today") << monthEnd << monthEnd << 1 << 0;
    QTest::newRow("last day: overdue") << monthEnd << QDate(2025, 11, 3) << 1 << 0;
    QTest::newRow("last day: due tomorrow") << monthEnd << QDate(2026, 5, 1) << 1 << 2;
    QTest::newRow("day before last: due on last") << QDate(2026, 4, 29) << monthEnd << 1 << 1;
    QTest::newRow("mid month: next month") << QDate(2026, 4, 10) << QDate(2026, 5, 10) << 1 << 2;
    QTest::newRow("leap february: 29th") << QDate(2028, 2, 28) << QDate(2028, 2, 29) << 1 << 1;
    QTest::newRow("31 Dec: new year") << QDate(2026, 12, 31) << QDate(2027, 1, 1) << 1 << 2;
    QTest::newRow("month key 31 Dec") << QDate(2026, 6, 1) << QDate(2026, 12, 31) << 2 << 202612;
    QTest::newRow("month key 1 Jan") << QDate(2026, 6, 1) << QDate(2027, 1, 1) << 2 << 202701;
    QTest::newRow("month key ignores today") << QDate(2030, 1, 1) << QDate(2017, 5, 14) << 2 << 201705;
    QTest::newRow("plain layout") << monthEnd << QDate(2027, 1, 1) << 0 << 0;
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

void tst_DeadlineList::openBalanceTotalCountsOpenRowsOnly_data()
{
    // Rows as "done type value" triples; balance = value x type.
    QTest::addColumn<QList<QList<qint64>>>("rows");
    QTest::addColumn<qint64>("total");

    QTest::newRow("credits minus debits") << QList<QList<qint64>>{{0, 1, 1000000}, {0, -1, 250000}} << qint64(750000);
    QTest::newRow("closed add nothing") << QList<QList<qint64>>{{1, 1, 1000000}, {0, -1, 250000}, {1, -1, 9}} << qint64(-250000);
    QTest::newRow("appointments add nothing") << QList<QList<qint64>>{{0, -2, 0}, {0, 1, 5}} << qint64(5);
    QTest::newRow("beyond double precision")
        << QList<QList<qint64>>{{0, 1, 900719925474099300}, {0, 1, 1}, {0, -1, 3}} << qint64(900719925474099298);
}

void tst_DeadlineList::openBalanceTotalCountsOpenRowsOnly()
{
    QFETCH(QList<QList<qint64>>, rows);
    QFETCH(qint64, total);
    Currency sum;
    for (const auto &r : rows) {
        const qint64 type = r[1];
        const Currency balance = Currency::fromUnits(type == -2 ? 0 : r[2] * type);
        sum += openBalance(r[0] != 0, balance);
    }
    QCOMPARE(sum.units(), total);
}

void tst_DeadlineList::descriptionCarriesCounterOfGroupMembers_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("grpId");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("counters");
    QTest::addColumn<QString>("shown");

    QTest::newRow("member, counters on") << "Rent" << 4 << 3 << 12 << true << "Rent 3 of 12";
    QTest::newRow("member, counters off") << "Rent" << 4 << 3 << 12 << false << "Rent";
    QTest::newRow("single deadline") << "Rent" << 0 << 0 << 0 << true << "Rent";
    QTest::newRow("empty description") << "" << 9 << 1 << 1 << true << " 1 of 1";
    QTest::newRow("null position reads 0") << "Tax" << 2 << 0 << 0 << true << "Tax 0 of 0";
}

void tst_DeadlineList::descriptionCarriesCounterOfGroupMembers()
{
    QFETCH(QString, description);
    QFETCH(int, grpId);
    QFETCH(int, row);
    QFETCH(int, size);
    QFETCH(bool, counters);
    QFETCH(QString, shown);
    QCOMPARE(descriptionShown(description, grpId, row, size, counters, QStringLiteral(" of ")), shown);
}

void tst_DeadlineList::expiredAroundWarningHorizon_data()
{
    QTest::addColumn<int>("warnDays");
    QTest::addColumn<int>("dueIn");   // days from today
    QTest::addColumn<bool>("done");
    QTest::addColumn<bool>("expired");

    QTest::newRow("3 days: due in 3") << 3 << 3 << false << true;
    QTest::newRow("3 days: due in 4") << 3 << 4 << false << false;
    QTest::newRow("3 days: overdue") << 3 << -40 << false << true;
    QTest::newRow("3 days: closed overdue") << 3 << -40 << true << false;
    QTest::newRow("off: today") << 999 << 0 << false << true;
    QTest::newRow("off: tomorrow") << 999 << 1 << false << false;
    QTest::newRow("0 days: today") << 0 << 0 << false << true;
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

void tst_DeadlineList::iconsFollowTypeStateAndGroup_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("done");
    QTest::addColumn<int>("grpId");
    QTest::addColumn<int>("typeIcon");
    QTest::addColumn<int>("descriptionIcon");

    QTest::newRow("open credit") << 1 << false << 0 << 5 << -1;
    QTest::newRow("closed credit") << 1 << true << 0 << 11 << -1;
    QTest::newRow("open debit in group") << -1 << false << 7 << 6 << 9;
    QTest::newRow("closed debit in group") << -1 << true << 7 << 10 << 13;
    QTest::newRow("open appointment") << -2 << false << 0 << 7 << -1;
    QTest::newRow("closed appointment in group") << -2 << true << 1 << 12 << 13;
    QTest::newRow("unknown type") << 0 << false << 0 << -1 << -1;
}

void tst_DeadlineList::iconsFollowTypeStateAndGroup()
{
    QFETCH(int, type);
    QFETCH(bool, done);
    QFETCH(int, grpId);
    QFETCH(int, typeIcon);
    QFETCH(int, descriptionIcon);
    QCOMPARE(typeIconIndex(type, done), typeIcon);
    QCOMPARE(descriptionIconIndex(grpId, done), descriptionIcon);
}

void tst_DeadlineList::everyIconIsASixteenPixelPicture()
{
    QVERIFY(iconResourcePath(0).isEmpty());
    QVERIFY(iconResourcePath(14).isEmpty());
    QSet<QString> seen;
    for (int i = 1; i <= IconCount; ++i) {
        const QString path = iconResourcePath(i);
        QVERIFY2(path.startsWith(":/icons/") && path.endsWith(".svg"), qPrintable(path));
        QVERIFY2(!seen.contains(path), qPrintable(path));
        seen.insert(path);
        // The resource is built from this folder under the same name.
        QFile file(QStringLiteral(ORVEL_ICON_DIR "/") + path.mid(8));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QXmlStreamReader xml(&file);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name().toString(), QStringLiteral("svg"));
        QCOMPARE(xml.attributes().value("viewBox").toString(), QStringLiteral("0 0 16 16"));
    }
}

void tst_DeadlineList::currencyIsExactInLocaleLayout_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("text");

    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("it negative") << "it_IT" << qint64(-12345000) << "-1.234,50\u00A0€";
    QTest::newRow("it largest") << "it_IT" << max << "922.337.203.685.477,58\u00A0€";
    QTest::newRow("it smallest") << "it_IT" << min << "-922.337.203.685.477,58\u00A0€";
    QTest::newRow("it beyond double") << "it_IT" << qint64(90071992547409930) << "9.007.199.254.740,99\u00A0€";
    QTest::newRow("us negative") << "en_US" << qint64(-12345000) << "($1,234.50)";
    QTest::newRow("us billions") << "en_US" << qint64(123456789012345) << "$12,345,678,901.23";
    QTest::newRow("us half cent up") << "en_US" << qint64(50) << "$0.01";
    QTest::newRow("us below half cent") << "en_US" << qint64(49) << "$0.00";
    QTest::newRow("us negative half cent") << "en_US" << qint64(-50) << "($0.01)";
    QTest::newRow("us no negative zero") << "en_US" << qint64(-49) << "$0.00";
    QTest::newRow("yen has no decimals") << "ja_JP" << qint64(12345000) << "￥1,235";
}

void tst_DeadlineList::currencyIsExactInLocaleLayout()
{
    QFETCH(QString, locale);
    QFETCH(qint64, units);
    QFETCH(QString, text);
    QCOMPARE(formatCurrency(Currency::fromUnits(units), QLocale(locale)), text);
}

void tst_DeadlineList::currencyAgreesWithLocaleForSmallAmounts_data()
{
    QTest::addColumn<QString>("locale");
    for (const char *name : {"it_IT", "en_US", "de_CH", "en_IN", "ar_EG"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_DeadlineList::currencyAgreesWithLocaleForSmallAmounts()
{
    QFETCH(QString, locale);
    const QLocale l(locale);
    // Whole cents, where the double path of the locale is exact as well.
    for (qint64 cents : {qint64(0), qint64(1), qint64(-1), qint64(99), qint64(123456), qint64(-123456),
                         qint64(100000000), qint64(-987654321)}) {
        const Currency amount = Currency::fromUnits(cents * 100);
        QCOMPARE(formatCurrency(amount, l), l.toCurrencyString(double(cents) / 100.0));
    }
}

void tst_DeadlineList::groupCaptions_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("totals");
    QTest::addColumn<QString>("name");   // key for date groups
    QTest::addColumn<QString>("caption");

    const int en = int(Language::English);
    const int it = int(Language::Italian);
    QTest::newRow("top, plain, totals ignored") << en << "top" << 0 << true << "" << "Home - All Deadlines";
    QTest::newRow("top, by counterparty") << en << "top" << 3 << true << "" << "Home - All Deadlines [($1,234.50)]";
    QTest::newRow("top, by counterparty, no totals") << en << "top" << 3 << false << "" << "Home - All Deadlines";
    QTest::newRow("counterparty") << en << "party" << 3 << true << "Rossi Srl" << "Rossi Srl [($1,234.50)]";
    QTest::newRow("counterparty, no totals") << en << "party" << 3 << false << "Rossi Srl" << "Rossi Srl";
    QTest::newRow("no counterparty") << en << "party" << 3 << true << "" << "(none) [($1,234.50)]";
    QTest::newRow("no counterparty, italian") << it << "party" << 3 << true << "" << "(vuoto) [($1,234.50)]";
    QTest::newRow("until today") << en << "date" << 1 << true << "0" << " Until Today [($1,234.50)]";
    QTest::newRow("until month end") << en << "date" << 1 << false << "1" << " Until end of month";
    QTest::newRow("next months") << en << "date" << 1 << false << "2" << " Next month onwards";
    QTest::newRow("fino ad oggi") << it << "date" << 1 << false << "0" << " Fino ad oggi";
    QTest::newRow("month") << en << "date" << 2 << true << "201705" << " May 2017 [($1,234.50)]";
}

void tst_DeadlineList::groupCaptions()
{
    QFETCH(int, language);
    QFETCH(QString, kind);
    QFETCH(int, option);
    QFETCH(bool, totals);
    QFETCH(QString, name);
    QFETCH(QString, caption);

    Texts::setLanguage(Language(language));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const Currency total = Currency::fromUnits(-12345000);
    if (kind == "top")
        QCOMPARE(topGroupCaption("Home", "All Deadlines", option, totals, total, us), caption);
    else if (kind == "party")
        QCOMPARE(counterpartyGroupCaption(name, name, totals, total, us), caption);
    else
        QCOMPARE(dateGroupCaption(name.toInt(), option, totals, total, us), caption);
}

void tst_DeadlineList::counterSeparatorFollowsLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("separator");
    QTest::newRow("english") << int(Language::English) << " of ";
    QTest::newRow("italian") << int(Language::Italian) << " / ";
}

void tst_DeadlineList::counterSeparatorFollowsLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, separator);
    Texts::setLanguage(Language(language));
    QCOMPARE(counterSeparatorText(), separator);
    QCOMPARE(descriptionShown("Rata", 1, 2, 6, true, counterSeparatorText()), "Rata 2" + separator + "6");
}

QTEST_GUILESS_MAIN(tst_DeadlineList)
#include "tst_DeadlineList.moc"
