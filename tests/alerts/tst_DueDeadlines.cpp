#include "alerts/DueDeadlines.h"
#include "alerts/DueNotices.h"
#include "alerts/WarningSentence.h"
#include "mainwindow/CalendarQueries.h"
#include "platform/DateFormat.h"
#include "startup/Texts.h"
#include "store/DeadlineStore.h"
#include "store/DueStore.h"

#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// The due check, the warning sentence and the calendar column's reads, against
// a copy of the template database.
class tst_DueDeadlines final : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void dueKindsFollowTheWarningDays_data();
    void dueKindsFollowTheWarningDays();
    void sentenceNamesEachKindFound_data();
    void sentenceNamesEachKindFound();
    void typedWarningDays_data();
    void typedWarningDays();
    void busyDaysAndUpcomingAreOpenDeadlinesOfTheSheet();
    void noticeSentences_data();
    void noticeSentences();
    void noticesAreForWhatIsNewlyDue();

private:
    void insert(int sheet, bool done, const QDate &date, const QString &description, int grpId = 0)
    {
        insertDeadline(m_connection, sheet, 1, done, date, description, 0, Currency::fromWhole(10), {}, grpId,
                       grpId ? 1 : 0, grpId ? 3 : 0);
    }

    QTemporaryDir m_dir;
    QString m_connection;
    const QDate m_today {2024, 2, 29};
};

void tst_DueDeadlines::init()
{
    Texts::setLanguage(Language::English);
    m_connection = copyTemplateTo(m_dir.path());
    QVERIFY(!m_connection.isEmpty());
}

void tst_DueDeadlines::dueKindsFollowTheWarningDays_data()
{
    QTest::addColumn<QList<int>>("openOffsets");   // days from today of the open deadlines of sheet 1
    QTest::addColumn<int>("warnDays");
    QTest::addColumn<bool>("due");
    QTest::addColumn<QList<bool>>("kinds");         // overdue, today, upcoming

    QTest::newRow("nothing open") << QList<int>{} << 5 << false << QList<bool>{false, false, false};
    QTest::newRow("all three") << QList<int>{-3, 0, 5} << 5 << true << QList<bool>{true, true, true};
    QTest::newRow("beyond the limit") << QList<int>{6} << 5 << false << QList<bool>{false, false, false};
    QTest::newRow("tomorrow, two days ahead") << QList<int>{1} << 2 << true << QList<bool>{false, false, true};
    QTest::newRow("zero days: tomorrow is not due") << QList<int>{1} << 0 << false << QList<bool>{false, false, false};
    QTest::newRow("zero days: overdue and today") << QList<int>{-1, 0, 1} << 0 << true << QList<bool>{true, true, false};
    QTest::newRow("warning off") << QList<int>{-10, 0} << int(DueDeadlines::NoWarning) << false
                                 << QList<bool>{true, true, false};
}

void tst_DueDeadlines::dueKindsFollowTheWarningDays()
{
    QFETCH(QList<int>, openOffsets);
    QFETCH(int, warnDays);
    QFETCH(bool, due);
    QFETCH(QList<bool>, kinds);
    // Closed deadlines and other sheets' never count.
    insert(1, true, m_today.addDays(-2), QStringLiteral("Closed"));
    insert(1, true, m_today, QStringLiteral("Closed today"));
    insert(2, false, m_today.addDays(-1), QStringLiteral("Other sheet"));
    insert(2, false, m_today, QStringLiteral("Other sheet today"));
    insert(2, false, m_today.addDays(1), QStringLiteral("Other sheet tomorrow"));
    for (int offset : openOffsets)
        insert(1, false, m_today.addDays(offset), QStringLiteral("Open"));

    QCOMPARE(DueDeadlines::hasDueDeadlines(m_connection, 1, warnDays, m_today), due);
    const DueDeadlines::Found found = DueDeadlines::find(m_connection, 1, warnDays, m_today);
    QCOMPARE((QList<bool>{found.overdue, found.dueToday, found.upcoming}), kinds);
    // A warning that is shown always has something to say.
    if (due)
        QVERIFY(found.kinds() > 0);
    QCOMPARE(DueDeadlines::warnLimitDate(m_today, warnDays),
             warnDays == DueDeadlines::NoWarning ? m_today : m_today.addDays(warnDays));
}

void tst_DueDeadlines::sentenceNamesEachKindFound_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("overdue");
    QTest::addColumn<bool>("today");
    QTest::addColumn<bool>("upcoming");
    QTest::addColumn<QString>("sentence");
    const int en = int(Language::English);
    const int it = int(Language::Italian);
    QTest::newRow("en three") << en << true << true << true
                              << "There are credits, debts or appointments already expired, expiring Today or "
                                 "expiring the next 5 days.";
    QTest::newRow("en two") << en << false << true << true
                            << "There are credits, debts or appointments expiring Today or expiring the next 5 days.";
    QTest::newRow("en one") << en << true << false << false
                            << "There are credits, debts or appointments already expired.";
    QTest::newRow("en upcoming alone") << en << false << false << true
                                       << "There are credits, debts or appointments expiring the next 5 days.";
    QTest::newRow("it three") << it << true << true << true
                              << "Ci sono crediti, debiti o appuntamenti già scaduti, in scadenza Oggi o in scadenza "
                                 "i prossimi 5 giorni.";
    QTest::newRow("it two") << it << true << false << true
                            << "Ci sono crediti, debiti o appuntamenti già scaduti o in scadenza i prossimi 5 giorni.";
    QTest::newRow("it one") << it << false << true << false
                            << "Ci sono crediti, debiti o appuntamenti in scadenza Oggi.";
    QTest::newRow("nothing") << en << false << false << false << QString();
}

void tst_DueDeadlines::sentenceNamesEachKindFound()
{
    QFETCH(int, language);
    QFETCH(bool, overdue);
    QFETCH(bool, today);
    QFETCH(bool, upcoming);
    QFETCH(QString, sentence);
    Texts::setLanguage(Language(language));
    DueDeadlines::Found found;
    found.overdue = overdue;
    found.dueToday = today;
    found.upcoming = upcoming;
    QCOMPARE(warningSentence(found, 5), sentence);

    // Every language composes a sentence of its own with the number in it.
    found = {true, true, true};
    for (Language other : {Language::French, Language::Spanish, Language::German}) {
        Texts::setLanguage(other);
        const QString text = warningSentence(found, 7);
        QVERIFY2(text.contains(QLatin1Char('7')) && !text.contains(QStringLiteral("xxx")) && text.endsWith('.'),
                 qPrintable(text));
    }
}

void tst_DueDeadlines::typedWarningDays_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("days");   // -1: refused
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("blank") << QStringLiteral("  ") << -1;
    QTest::newRow("word") << QStringLiteral("two") << -1;
    QTest::newRow("negative") << QStringLiteral("-3") << -1;
    QTest::newRow("plus sign") << QStringLiteral("+3") << -1;
    QTest::newRow("fraction") << QStringLiteral("2.5") << -1;
    QTest::newRow("the off value") << QStringLiteral("999") << -1;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("spaced") << QStringLiteral(" 12 ") << 12;
    QTest::newRow("largest") << QStringLiteral("998") << 998;
}

void tst_DueDeadlines::typedWarningDays()
{
    QFETCH(QString, text);
    QFETCH(int, days);
    QCOMPARE(DueDeadlines::warnDaysFromText(text).value_or(-1), days);
}

// The calendar's busy days, then the upcoming panel's rows of one week (none of
// the busy days' rows falls in it), latest first.
void tst_DueDeadlines::busyDaysAndUpcomingAreOpenDeadlinesOfTheSheet()
{
    const QDate first(2024, 2, 26);   // a run that crosses into March
    const QDate last(2024, 4, 7);
    insert(1, false, QDate(2024, 2, 27), QStringLiteral("Previous month"));
    insert(1, false, QDate(2024, 3, 15), QStringLiteral("Twice"));
    insert(1, false, QDate(2024, 3, 15), QStringLiteral("Twice"));
    insert(1, false, QDate(2024, 4, 7), QStringLiteral("Last day shown"));
    insert(1, true, QDate(2024, 3, 20), QStringLiteral("Closed"));
    insert(2, false, QDate(2024, 3, 21), QStringLiteral("Other sheet"));
    insert(1, false, QDate(2024, 2, 25), QStringLiteral("Before the run"));
    insert(1, false, QDate(2024, 4, 8), QStringLiteral("After the run"));
    insert(1, false, QDate(2024, 3, 1), QStringLiteral("With a time"));
    insert(1, false, QDate(2024, 3, 1), QStringLiteral("Same day"));

    const QSet<QDate> expected {QDate(2024, 2, 27), QDate(2024, 3, 1), QDate(2024, 3, 15), QDate(2024, 4, 7)};
    Connection connection;
    connection.open(m_connection);
    // A time part written by another tool still marks its day.
    QVERIFY(QSqlQuery(connection.database())
                .exec("UPDATE Transactions SET TrDate = TrDate || ' 09:30:00' WHERE TrDescription = 'With a time'"));
    QCOMPARE(DeadlineStore(connection).busyDays(1, first, last),
             (QList<QDate> {QDate(2024, 2, 27), QDate(2024, 3, 1), QDate(2024, 3, 15), QDate(2024, 4, 7)}));
    QCOMPARE(CalendarQueries::busyDays(connection, first, last, 1), expected);
    // The calendar's own day-by-day request answers the same.
    QCOMPARE(CalendarQueries::busyDaysOneByOne(connection, first, int(first.daysTo(last)) + 1, 1), expected);
    QCOMPARE(CalendarQueries::busyDays(connection, first, last, 2), QSet<QDate> {QDate(2024, 3, 21)});

    insert(1, false, QDate(2024, 3, 4), QStringLiteral("Mon"));
    insert(1, false, QDate(2024, 3, 8), QStringLiteral("Fri"));
    insert(1, false, QDate(2024, 3, 6), QStringLiteral("Wed"), 7);
    insert(1, true, QDate(2024, 3, 7), QStringLiteral("Closed"));
    insert(3, false, QDate(2024, 3, 5), QStringLiteral("Other sheet"));
    insert(1, false, QDate(2024, 3, 11), QStringLiteral("Next week"));
    QStringList listed;
    for (const DeadlineRow &row : DeadlineStore(connection).openRowsBetween(1, QDate(2024, 3, 4), QDate(2024, 3, 10)))
        listed << row.description + QLatin1Char(' ') + row.cadence + QString::number(row.groupRow) + QLatin1Char('/')
                      + QString::number(row.groupSize);
    QCOMPARE(listed, (QStringList {"Fri n0/0", "Wed m1/3", "Mon n0/0"}));
}

// A notice's deadlines, each "description|days from today|group row|group size".
void tst_DueDeadlines::noticeSentences_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("deadlines");
    QTest::addColumn<QString>("sentence");   // %1: the latest date, as the locale writes it
    const int en = int(Language::English);
    const QStringList three {"Rent|0|3|12", "Electricity bill|0|0|0", "Water|0|0|0"};
    QTest::newRow("three today") << en << three
                                 << "3 deadlines due today in Azienda: Rent 3 of 12, Electricity bill, …";
    QTest::newRow("one today") << en << QStringList {"Rent|0|3|12"} << "1 deadline due today in Azienda: Rent 3 of 12";
    QTest::newRow("two, one ahead") << en << QStringList {"Rent|0|0|0", "Tax|2|0|0"}
                                    << "2 deadlines due by %1 in Azienda: Rent, Tax";
    QTest::newRow("one ahead") << en << QStringList {"Tax|1|0|0"} << "1 deadline due on %1 in Azienda: Tax";
    QTest::newRow("no description") << en << QStringList {" |0|0|0"}
                                    << "1 deadline due today in Azienda: (no description)";
    QTest::newRow("it three today") << int(Language::Italian) << three
                                    << "3 scadenze per oggi in Azienda: Rent 3 of 12, Electricity bill, …";
    QTest::newRow("de one ahead") << int(Language::German) << QStringList {"Tax|1|0|0"}
                                  << "1 Frist fällig am %1 in Azienda: Tax";
}

void tst_DueDeadlines::noticeSentences()
{
    QFETCH(int, language);
    QFETCH(QStringList, deadlines);
    QFETCH(QString, sentence);
    Texts::setLanguage(Language(language));
    DueNotices::SheetNotice notice {2, QStringLiteral("Azienda"), {}};
    QDate latest = m_today;
    for (const QString &spec : deadlines) {
        const QStringList f = spec.split(u'|');
        DueDeadline d;
        d.sheetId = 2;
        d.description = f[0];
        d.date = m_today.addDays(f[1].toInt());
        d.groupRow = f[2].toInt();
        d.groupSize = f[3].toInt();
        d.groupId = d.groupSize ? 5 : 0;
        latest = std::max(latest, d.date);
        notice.deadlines.push_back(d);
    }
    if (sentence.contains(QStringLiteral("%1")))
        sentence = sentence.arg(shortDateText(latest));
    QCOMPARE(DueNotices::sentence(notice, m_today, QStringLiteral(" of ")), sentence);
}

// What is due from today to the warning limit, across the sheets, announced once
// per row and date.
void tst_DueDeadlines::noticesAreForWhatIsNewlyDue()
{
    runSql(m_connection, QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Azienda')"));
    insert(1, false, m_today, QStringLiteral("Home today"));
    insert(2, false, m_today.addDays(2), QStringLiteral("Office, last day looked at"));
    insert(2, false, m_today, QStringLiteral("Office today"), 9);
    insert(2, false, m_today.addDays(3), QStringLiteral("Beyond"));
    insert(2, false, m_today.addDays(-1), QStringLiteral("Overdue, told by the warning"));
    insert(2, true, m_today, QStringLiteral("Closed"));
    insert(3, false, m_today, QStringLiteral("A sheet that is gone"));

    const auto describe = [](const std::vector<DueNotices::SheetNotice> &notices) {
        QStringList text;
        for (const DueNotices::SheetNotice &notice : notices) {
            QStringList names;
            for (const DueDeadline &d : notice.deadlines)
                names << d.description;
            text << notice.sheetName + QStringLiteral(": ") + names.join(QStringLiteral(", "));
        }
        return text;
    };
    const auto due = [this] { return DueStore(m_connection).openBetween(m_today, m_today.addDays(2)); };
    std::vector<DueDeadline> now = due();
    QCOMPARE(describe(DueNotices::newlyDue(now, {})),
             (QStringList {"Deadlines: Home today", "Azienda: Office today, Office, last day looked at"}));
    QCOMPARE(now[1].groupId, 9);
    const QStringList announced = DueNotices::announcedKeys(now);
    QVERIFY(DueNotices::newlyDue(now, announced).empty());

    // A new deadline, and one moved to another day within the look, are told; nothing else is.
    insert(1, false, m_today.addDays(1), QStringLiteral("Added"));
    runSql(m_connection, QStringLiteral("UPDATE Transactions SET TrDate = ? WHERE TrDescription = 'Office today'"),
           {m_today.addDays(1).toString(Qt::ISODate)});
    QCOMPARE(describe(DueNotices::newlyDue(due(), announced)),
             (QStringList {"Deadlines: Added", "Azienda: Office today"}));

    // Nothing can be written through a read-only connection, and it still reads.
    const QString readOnly = Database::readOnly(m_connection);
    QVERIFY(Database::isReadOnly(readOnly) && !Database::isReadOnly(m_connection));
    QCOMPARE(DueStore(readOnly).openBetween(m_today, m_today).size(), std::size_t(1));
    Connection connection;
    connection.open(readOnly);
    QVERIFY(!QSqlQuery(connection.database()).exec(QStringLiteral("DELETE FROM Transactions")));
    QCOMPARE(firstValue(m_connection, QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(), 8);
}

QTEST_GUILESS_MAIN(tst_DueDeadlines)
#include "tst_DueDeadlines.moc"
