#include "alerts/DueDeadlines.h"
#include "alerts/DueNotices.h"
#include "alerts/DueWarningDialog.h"
#include "alerts/LoginCheck.h"
#include "alerts/PreferencesDialog.h"
#include "alerts/WarningSentence.h"
#include "mainwindow/CalendarQueries.h"
#include "platform/DateFormat.h"
#include "store/DeadlineStore.h"
#include "store/DueStore.h"

#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QMainWindow>
#include <QScreen>
#include <QScopeGuard>
#include <QToolButton>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

// What the preferences dialog is given: every box unchecked (else the days typed),
// Cancel or Save, and the settings then stored (empty: the day count is refused).
struct Choice
{
    bool uncheckAll;
    QString typed;
    bool cancel;
    QList<int> expected;
};
Q_DECLARE_METATYPE(Choice)

// The due check, the warning sentence, the notices and the calendar column's
// reads against a copy of the template database; then the preferences dialog
// and the start-up warning window, driven by clicks.
class tst_AlertWindows final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_session = std::make_unique<MainWindowSession>(m_today);
        QVERIFY(m_session->ok());
        m_connection = m_session->connectionString();
        m_session->settings().setInteger(Setting::WarnDays, 5);
        m_session->session().readDisplayOptions();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void cleanup()
    {
        m_dialog.reset();
        m_session.reset();
    }

    void dueKindsFollowTheWarningDays()
    {
        // Days from today of the open deadlines of sheet 1, the warning days, whether
        // anything is due, and which kinds were found: overdue, today, upcoming.
        const struct { QList<int> openOffsets; int warnDays; bool due; QList<bool> kinds; } cases[] = {
            {{}, 5, false, {false, false, false}},
            {{-3, 0, 5}, 5, true, {true, true, true}},
            {{6}, 5, false, {false, false, false}},                  // beyond the limit
            {{1}, 2, true, {false, false, true}},                    // tomorrow, two days ahead
            {{1}, 0, false, {false, false, false}},                  // zero days: tomorrow is not due
            {{-1, 0, 1}, 0, true, {true, true, false}},              // zero days: overdue and today
            {{-10, 0}, int(DueDeadlines::NoWarning), false, {true, true, false}}};
        for (const auto &c : cases) {
            runSql(m_connection, QStringLiteral("DELETE FROM Transactions"));
            // Closed deadlines and other sheets' never count.
            insert(1, true, m_today.addDays(-2), QStringLiteral("Closed"));
            insert(1, true, m_today, QStringLiteral("Closed today"));
            for (int day : {-1, 0, 1})
                insert(2, false, m_today.addDays(day), QStringLiteral("Other sheet"));
            for (int offset : c.openOffsets)
                insert(1, false, m_today.addDays(offset), QStringLiteral("Open"));

            QCOMPARE(DueDeadlines::hasDueDeadlines(m_connection, 1, c.warnDays, m_today), c.due);
            const DueDeadlines::Found found = DueDeadlines::find(m_connection, 1, c.warnDays, m_today);
            QCOMPARE((QList<bool>{found.overdue, found.dueToday, found.upcoming}), c.kinds);
            // A warning that is shown always has something to say.
            if (c.due)
                QVERIFY(found.kinds() > 0);
            QCOMPARE(DueDeadlines::warnLimitDate(m_today, c.warnDays),
                     c.warnDays == DueDeadlines::NoWarning ? m_today : m_today.addDays(c.warnDays));
        }
    }

    // The start-up warning's sentence for the kinds found, and a notice's sentence
    // for its deadlines, in English and one other language.
    void warningAndNoticeSentences()
    {
        const auto restore = qScopeGuard([] { Texts::setLanguage(Language::English); });
        const Language en = Language::English;
        const Language it = Language::Italian;
        const struct { Language language; DueDeadlines::Found found; const char *sentence; } warnings[] = {
            {en, {true, true, true}, "There are credits, debts or appointments already expired, expiring Today or "
                                     "expiring the next 5 days."},
            {en, {false, true, true}, "There are credits, debts or appointments expiring Today or expiring the next 5 days."},
            {en, {false, false, true}, "There are credits, debts or appointments expiring the next 5 days."},
            {it, {true, false, true}, "Ci sono crediti, debiti o appuntamenti già scaduti o in scadenza i prossimi 5 giorni."},
            {it, {false, true, false}, "Ci sono crediti, debiti o appuntamenti in scadenza Oggi."},
            {en, {false, false, false}, ""}};
        for (const auto &w : warnings) {
            Texts::setLanguage(w.language);
            QCOMPARE(warningSentence(w.found, 5), QString::fromUtf8(w.sentence));
        }
        // Every language composes a sentence of its own with the number in it.
        for (Language other : {Language::French, Language::Spanish, Language::German}) {
            Texts::setLanguage(other);
            const QString text = warningSentence({true, true, true}, 7);
            QVERIFY2(text.contains(QLatin1Char('7')) && !text.contains(QStringLiteral("xxx")) && text.endsWith('.'),
                     qPrintable(text));
        }

        // A notice's deadlines, each "description|days from today|group row|group size";
        // %1 in the sentence is the latest date, as the locale writes it.
        const struct { Language language; QStringList deadlines; const char *sentence; } notices[] = {
            {en, {"Rent|0|3|12", "Electricity bill|0|0|0", "Water|0|0|0"},
             "3 deadlines due today in Azienda: Rent 3 of 12, Electricity bill, …"},
            {en, {"Rent|0|0|0", "Tax|2|0|0"}, "2 deadlines due by %1 in Azienda: Rent, Tax"},
            {en, {"Tax|1|0|0"}, "1 deadline due on %1 in Azienda: Tax"},
            {en, {" |0|0|0"}, "1 deadline due today in Azienda: (no description)"},
            {Language::German, {"Tax|1|0|0"}, "1 Frist fällig am %1 in Azienda: Tax"}};
        for (const auto &n : notices) {
            Texts::setLanguage(n.language);
            DueNotices::SheetNotice notice {2, QStringLiteral("Azienda"), {}};
            QDate latest = m_today;
            for (const QString &line : n.deadlines) {
                const QStringList f = line.split(u'|');
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
            QString sentence = QString::fromUtf8(n.sentence);
            if (sentence.contains(QStringLiteral("%1")))
                sentence = sentence.arg(shortDateText(latest));
            QCOMPARE(DueNotices::sentence(notice, m_today, QStringLiteral(" of ")), sentence);
        }
    }

    void typedWarningDays()
    {
        // -1: refused.
        const std::pair<const char *, int> cases[] = {{"", -1},    {"  ", -1},   {"-3", -1},   {"+3", -1},  {"2.5", -1},
                                                      {"999", -1}, {"0", 0},     {" 12 ", 12}, {"998", 998}};
        for (const auto &[text, days] : cases)
            QVERIFY2(DueDeadlines::warnDaysFromText(QString::fromLatin1(text)).value_or(-1) == days, text);
    }

    // The calendar's busy days, then the upcoming panel's rows of one week (none of
    // the busy days' rows falls in it), latest first.
    void busyDaysAndUpcomingAreOpenDeadlinesOfTheSheet()
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

    // What is due from today to the warning limit, across the sheets, announced once
    // per row and date.
    void noticesAreForWhatIsNewlyDue()
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

    void saveStoresEveryChoice_data()
    {
        QTest::addColumn<Choice>("c");
        QTest::newRow("warning off stores 999") << Choice{true, QString(), false, {0, 0, 0, 999}};
        QTest::newRow("zero days") << Choice{false, QStringLiteral("0"), false, {1, 1, 1, 0}};
        QTest::newRow("cancel changes nothing") << Choice{true, QString(), true, {1, 1, 1, 5}};
        // Which texts are refused is the day reader's, tested beside it.
        QTest::newRow("letters refused") << Choice{false, QStringLiteral("ab"), false, {}};
    }

    void saveStoresEveryChoice()
    {
        QFETCH(Choice, c);
        const auto &[uncheckAll, typed, cancel, expected] = c;
        openDialog();
        QCOMPARE(days()->text(), QStringLiteral("5"));
        if (uncheckAll) {
            for (const char *name : {"saveLayoutBox", "groupTotalsBox", "groupCountersBox", "warnBox"})
                box(name)->click();
            QVERIFY(!days()->isEnabled());
            box("backupsOnBox")->click();
            m_dialog->findChild<QSpinBox *>(QStringLiteral("backupsKeptBox"))->setValue(4);
        } else {
            days()->setFocus();
            days()->clear();
            QTest::keyClicks(days(), typed);
        }
        if (expected.isEmpty()) {
            // Nothing stored, the field keeps the focus; corrected, the same dialog saves.
            box("groupTotalsBox")->click();
            m_dialog->findChild<QPushButton *>(QStringLiteral("saveButton"))->setFocus();
            click("saveButton");
            QVERIFY(m_dialog->isVisible());
            QCOMPARE(m_dialog->focusWidget(), days());
            QCOMPARE(stored(), (QList<int>{1, 1, 1, 5}));
            QCOMPARE(shared(), (QList<int>{1, 1, 1, 5}));
            days()->setText(QStringLiteral("3"));
            click("saveButton");
            QCOMPARE(stored(), (QList<int>{1, 0, 1, 3}));
            return;
        }
        click(cancel ? "cancelButton" : "saveButton");
        QCOMPARE(m_dialog->result(), int(cancel ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(stored(), expected);
        QCOMPARE(shared(), expected);
        // The backups' choices are stored with the others, or not at all.
        const bool backupsChanged = uncheckAll && !cancel;
        QCOMPARE(m_session->settings().integer(Setting::BackupsOn), backupsChanged ? 0 : 1);
        QCOMPARE(m_session->settings().integer(Setting::BackupsKept), backupsChanged ? 4 : 10);
        if (cancel)
            return;

        // Reopened, the dialog shows what was stored; checking the warning again proposes 2 days.
        openDialog();
        QCOMPARE(box("warnBox")->isChecked(), !uncheckAll);
        QCOMPARE(days()->text(), uncheckAll ? QString() : typed);
        if (uncheckAll) {
            box("warnBox")->click();
            QVERIFY(days()->isEnabled());
            QCOMPARE(days()->text(), QStringLiteral("2"));
            // With the warning off the start shows nothing, whatever is overdue.
            insertDeadline(m_session->connectionString(), 1, 1, false, QDate(2020, 1, 1), QStringLiteral("Old"), 0,
                           Currency::fromWhole(1));
            QVERIFY(!DueWarningDialog::showIfDue(m_session->session(), nullptr));
        }
    }

    void daysByKeyboardAndScreenReader()
    {
        // The arrows say what they do and stay out of the Tab order; Up and Down in
        // the field do their work.
        openDialog();
        auto spoken = [this](const char *arrow) {
            return QAccessible::queryAccessibleInterface(m_dialog->findChild<QToolButton *>(QLatin1String(arrow)))
                ->text(QAccessible::Name);
        };
        QCOMPARE(spoken("warnDaysUp"), QStringLiteral("Increase the warning days"));
        QCOMPARE(spoken("warnDaysDown"), QStringLiteral("Decrease the warning days"));
        days()->setFocus();
        QTest::keyClick(days(), Qt::Key_Up);
        QCOMPARE(days()->text(), QStringLiteral("6"));
        QTest::keyClick(days(), Qt::Key_Down);
        QTest::keyClick(days(), Qt::Key_Down);
        QCOMPARE(days()->text(), QStringLiteral("4"));
        QTest::keyClick(days(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_dialog->findChild<QPushButton *>(QStringLiteral("saveButton")));
    }

    void warningOverTheMainWindow()
    {
        // The window manager may place or size the main window after the warning is up:
        // placed before, placed after (invalid: not moved), and whether it is shown.
        const struct { QRect placedBefore, placedAfter; bool mainWindowShown; } cases[] = {
            {QRect(60, 40, 900, 600), QRect(), true},
            {QRect(0, 0, 900, 600), QRect(233, 194, 900, 600), true},   // moved after
            {QRect(0, 0, 640, 480), QRect(0, 0, 1200, 760), true},      // resized after
            {QRect(0, 0, 900, 600), QRect(), false}};
        for (const auto &[placedBefore, placedAfter, mainWindowShown] : cases) {
            QMainWindow owner;
            owner.setGeometry(placedBefore);
            if (mainWindowShown) {
                owner.show();
                QVERIFY(QTest::qWaitForWindowExposed(&owner));
            }
            DueDeadlines::Found found;
            found.overdue = true;
            found.upcoming = true;
            DueWarningDialog dialog(found, 4, &owner);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.sentence(),
                     QStringLiteral("There are credits, debts or appointments already expired or expiring the next 4 days."));
            if (placedAfter.isValid())
                owner.setGeometry(placedAfter);
            const QRect area = mainWindowShown ? owner.frameGeometry() : owner.screen()->availableGeometry();
            QTRY_VERIFY((dialog.frameGeometry().center() - area.center()).manhattanLength() <= 2);
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("continueButton")), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        }
    }

    // Notifications on and off; the login check writes an autostart entry the
    // desktops accept, or removes it; an entry that cannot be written keeps the dialog.
    void notificationChoicesAndTheLoginEntry()
    {
        const QString entry = m_config.filePath(QStringLiteral("autostart/com.kestrum.Orvel2.CheckDue.desktop"));
        QCOMPARE(LoginCheck::entryPath(), entry);
        const auto validationFaults = [](const QString &file) {
            const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
            if (validator.isEmpty())
                return QString();
            QProcess run;
            run.start(validator, {file});
            run.waitForFinished();
            // It exits 0 on hints and warnings; the entry must draw neither.
            return QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError())
                   + (run.exitCode() != 0 ? QStringLiteral("failed") : QString());
        };

        openDialog();
        QVERIFY(box("notificationsBox")->isChecked());
        QVERIFY(!box("loginCheckBox")->isChecked());
        box("notificationsBox")->click();
        box("loginCheckBox")->click();
        click("saveButton");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_session->settings().integer(Setting::Notifications), 0);
        QVERIFY(QFile::exists(entry));
        QVERIFY(fileBytes(entry).contains(" --check-due\n"));
        QCOMPARE(validationFaults(entry), QString());
        // A program in a folder with blanks, quotes and signs is still run as one word.
        const QString odd = m_config.filePath(QStringLiteral("odd.desktop"));
        QVERIFY(writeFile(odd, LoginCheck::entryText(QStringLiteral("/opt/My \"Apps\"/$HOME 100%/orvel2\\x"))));
        QVERIFY(fileBytes(odd).contains("Exec=\"/opt/My \\\\\"Apps\\\\\"/\\\\$HOME 100%%/orvel2\\\\\\\\x\" --check-due"));
        QCOMPARE(validationFaults(odd), QString());

        openDialog();
        QVERIFY(!box("notificationsBox")->isChecked());
        QVERIFY(box("loginCheckBox")->isChecked());
        box("loginCheckBox")->click();
        click("saveButton");
        QVERIFY(!QFile::exists(entry));

        // A file where the folder should be: said, nothing stored, the dialog stays.
        QVERIFY(QDir(m_config.path()).rmdir(QStringLiteral("autostart")));
        QVERIFY(writeFile(m_config.filePath(QStringLiteral("autostart")), "not a folder"));
        openDialog();
        box("loginCheckBox")->click();
        box("notificationsBox")->click();
        click("saveButton");
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_session->prompts().shown().size(), 1);
        QVERIFY(m_session->prompts().shown().first().text.contains(QDir::toNativeSeparators(entry)));
        QCOMPARE(m_session->settings().integer(Setting::Notifications), 0);
    }

private:
    QCheckBox *box(const char *name) const { return m_dialog->findChild<QCheckBox *>(QLatin1String(name)); }
    QLineEdit *days() const { return m_dialog->findChild<QLineEdit *>(QStringLiteral("warnDaysField")); }
    void click(const char *button)
    {
        QTest::mouseClick(m_dialog->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    void openDialog()
    {
        m_dialog = std::make_unique<PreferencesDialog>(m_session->session());
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    QList<int> stored() const
    {
        const SettingsStore &s = m_session->settings();
        return {s.integer(Setting::SaveLayout), s.integer(Setting::ShowGroupTotals),
                s.integer(Setting::ShowGroupCounters), s.integer(Setting::WarnDays)};
    }
    QList<int> shared() const
    {
        const Session::DisplayOptions &d = m_session->session().display();
        return {int(d.saveLayout), int(d.showGroupTotals), int(d.showGroupCounters), d.warnDays};
    }

    void insert(int sheet, bool done, const QDate &date, const QString &description, int grpId = 0)
    {
        insertDeadline(m_connection, sheet, 1, done, date, description, 0, Currency::fromWhole(10), {}, grpId,
                       grpId ? 1 : 0, grpId ? 3 : 0);
    }

    std::unique_ptr<MainWindowSession> m_session;
    QString m_connection;
    const QDate m_today {2024, 2, 29};
    std::unique_ptr<PreferencesDialog> m_dialog;
    QTemporaryDir m_config;   // XDG_CONFIG_HOME: where the login entry goes
};


QTEST_MAIN(tst_AlertWindows)
#include "tst_AlertWindows.moc"
