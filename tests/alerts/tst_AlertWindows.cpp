#include "alerts/DueWarningDialog.h"
#include "alerts/LoginCheck.h"
#include "alerts/PreferencesDialog.h"

#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QMainWindow>
#include <QScreen>
#include <QToolButton>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

// The preferences dialog and the start-up warning window, driven by clicks.
class tst_AlertWindows final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveStoresEveryChoice_data();
    void saveStoresEveryChoice();
    void daysByKeyboardAndScreenReader();
    void warningOverTheMainWindow_data();
    void warningOverTheMainWindow();
    void notificationChoicesAndTheLoginEntry();

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

    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<PreferencesDialog> m_dialog;
    QTemporaryDir m_config;   // XDG_CONFIG_HOME: where the login entry goes
};

void tst_AlertWindows::init()
{
    m_session = std::make_unique<MainWindowSession>(QDate(2024, 2, 29));
    QVERIFY(m_session->ok());
    m_session->settings().setInteger(Setting::WarnDays, 5);
    m_session->session().readDisplayOptions();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void tst_AlertWindows::cleanup()
{
    m_dialog.reset();
    m_session.reset();
}

void tst_AlertWindows::saveStoresEveryChoice_data()
{
    QTest::addColumn<bool>("uncheckAll");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QList<int>>("expected");   // empty: the day count is refused
    QTest::newRow("warning off stores 999") << true << QString() << false << QList<int>{0, 0, 0, 999};
    QTest::newRow("zero days") << false << QStringLiteral("0") << false << QList<int>{1, 1, 1, 0};
    QTest::newRow("ten days") << false << QStringLiteral("10") << false << QList<int>{1, 1, 1, 10};
    QTest::newRow("cancel changes nothing") << true << QString() << true << QList<int>{1, 1, 1, 5};
    QTest::newRow("no days refused") << false << QString() << false << QList<int>{};
    QTest::newRow("letters refused") << false << QStringLiteral("ab") << false << QList<int>{};
    QTest::newRow("negative refused") << false << QStringLiteral("-1") << false << QList<int>{};
}

void tst_AlertWindows::saveStoresEveryChoice()
{
    QFETCH(bool, uncheckAll);
    QFETCH(QString, typed);
    QFETCH(bool, cancel);
    QFETCH(QList<int>, expected);
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

void tst_AlertWindows::daysByKeyboardAndScreenReader()
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

void tst_AlertWindows::warningOverTheMainWindow_data()
{
    // The window manager may place or size the main window after the warning is up.
    QTest::addColumn<QRect>("placedBefore");
    QTest::addColumn<QRect>("placedAfter");
    QTest::addColumn<bool>("mainWindowShown");
    QTest::newRow("placed before") << QRect(60, 40, 900, 600) << QRect() << true;
    QTest::newRow("moved after") << QRect(0, 0, 900, 600) << QRect(233, 194, 900, 600) << true;
    QTest::newRow("resized after") << QRect(0, 0, 640, 480) << QRect(0, 0, 1200, 760) << true;
    QTest::newRow("main window not shown") << QRect(0, 0, 900, 600) << QRect() << false;
}

void tst_AlertWindows::warningOverTheMainWindow()
{
    QFETCH(QRect, placedBefore);
    QFETCH(QRect, placedAfter);
    QFETCH(bool, mainWindowShown);
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
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Orvel 2"));
    QCOMPARE(dialog.sentence(),
             QStringLiteral("There are credits, debts or appointments already expired or expiring the next 4 days."));
    if (placedAfter.isValid())
        owner.setGeometry(placedAfter);
    const QRect area = mainWindowShown ? owner.frameGeometry() : owner.screen()->availableGeometry();
    QTRY_VERIFY((dialog.frameGeometry().center() - area.center()).manhattanLength() <= 2);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("continueButton")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

// Notifications on and off; the login check writes an autostart entry the
// desktops accept, or removes it; an entry that cannot be written keeps the dialog.
void tst_AlertWindows::notificationChoicesAndTheLoginEntry()
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

QTEST_MAIN(tst_AlertWindows)
#include "tst_AlertWindows.moc"
