#include "alerts/DesktopNotifier.h"
#include "alerts/DueAnnouncer.h"
#include "alerts/DueNoticeOpening.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "platform/DateFormat.h"

#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The desktop notifications against a notification server of python3-dbusmock
// on a session bus of our own: what "orvel2 --check-due" and the running program
// send, read back from the server's record of the calls.
class tst_Notifications final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Debian's module lives beside the system's interpreter, not another one on the PATH.
        QString python = QStringLiteral("/usr/bin/python3");
        if (!QFile::exists(python))
            python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() || python.isEmpty()
            || QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) != 0)
            QSKIP("needs dbus-daemon and python3-dbusmock");
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_address = m_bus.readLine().trimmed();
        // Read when the process first asks for its session bus, which is after this.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address);
        m_log = m_dir.filePath(QStringLiteral("calls.log"));
        m_server.start(python, {"-m", "dbusmock", "--template", "notification_daemon", "-l", m_log});
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(
                                     QStringLiteral("org.freedesktop.Notifications")),
                                 15000);
    }

    void cleanupTestCase()
    {
        m_server.kill();
        m_server.waitForFinished();
        m_bus.kill();
        m_bus.waitForFinished();
    }

    // One notification per sheet for everything due today and within the warning
    // days, without actions, with the file opened read-only and no window.
    void checkDueFromTheCommandLine()
    {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("register"));
        QVERIFY(QDir().mkpath(folder));
        const QString connection = copyTemplateTo(folder);
        QVERIFY(!connection.isEmpty());
        const QDate today = QDate::currentDate();
        runSql(connection, QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Azienda & Figli')"));
        insertDeadline(connection, 2, -1, false, today, QStringLiteral("Rent"), 0, Currency::fromWhole(900), {}, 4, 3, 12);
        insertDeadline(connection, 2, -1, false, today, QStringLiteral("Electricity bill"), 0, Currency::fromWhole(80));
        insertDeadline(connection, 2, 1, false, today, QStringLiteral("Invoice 12"), 0, Currency::fromWhole(300));
        insertDeadline(connection, 2, 1, true, today, QStringLiteral("Closed"), 0, Currency::fromWhole(1));
        insertDeadline(connection, 1, -2, false, today.addDays(2), QStringLiteral("Dentist"), 0, Currency());
        insertDeadline(connection, 1, -2, false, today.addDays(3), QStringLiteral("Beyond"), 0, Currency());
        insertDeadline(connection, 1, -2, false, today.addDays(-1), QStringLiteral("Overdue"), 0, Currency());
        const QString settingsFile = home.filePath(QStringLiteral(".config/Kestrum/Orvel 2.ini"));
        SettingsStore settings(settingsFile);
        settings.setText(Setting::DatabaseFolder, folder);
        settings.setInteger(Setting::WarnDays, 2);
        settings.setInteger(Setting::LanguageChoice, 3);   // English
        const QString database = QDir(folder).filePath(QStringLiteral("orvel2.mdb"));
        const QByteArray before = fileDigest(database);

        const auto checkDue = [&](const QByteArray &busAddress) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("HOME"), home.path());
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(busAddress));
            // No display at all: the check must not need one.
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
            environment.remove(QStringLiteral("DISPLAY"));
            program.setProcessEnvironment(environment);
            program.start(QDir(programFolder()).filePath(QStringLiteral("orvel2")), {QStringLiteral("--check-due")});
            if (!program.waitForFinished(30000))
                return -1;
            return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        };

        const qsizetype seen = calls().size();
        QCOMPARE(checkDue(m_address), 0);
        QTRY_COMPARE(calls().mid(seen),
                     (QStringList {"1 deadline due on " + shortDateText(today.addDays(2), QLocale::system())
                                       + " in Deadlines: Dentist []",
                                   "3 deadlines due today in Azienda &amp; Figli: Rent 3 of 12, Electricity bill, … []"}));
        QCOMPARE(fileDigest(database), before);
        QVERIFY(!QFile::exists(database + QStringLiteral("-journal")));
        // What was told is remembered, so the program started after the login does not repeat it.
        QCOMPARE(settings.text(Setting::AnnouncedDeadlines).split(u' ').size(), 4);

        // No notification server on the bus is no error; an unreadable register is.
        QCOMPARE(checkDue("unix:path=" + home.filePath(QStringLiteral("no-bus")).toUtf8()), 0);
        settings.setText(Setting::DatabaseFolder, home.filePath(QStringLiteral("missing")));
        QCOMPARE(checkDue(m_address), 1);
        QCOMPARE(calls().size(), seen + 2);
    }

    // At start, after a change and when the day turns, what is newly due is told
    // once; Open brings the main window forward on that sheet's open deadlines.
    void runningProgramAnnouncesWhatIsNewlyDue()
    {
        const QDate today(2024, 2, 29);
        MainWindowSession t(today);
        QVERIFY(t.ok());
        runSql(t.connectionString(), QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Azienda')"));
        const auto add = [&](int sheet, int days, const QString &description) {
            insertDeadline(t.connectionString(), sheet, -1, false, today.addDays(days), description, 0,
                           Currency::fromWhole(10));
        };
        add(1, 0, QStringLiteral("Home"));
        add(2, 1, QStringLiteral("Office"));
        MainWindow window(t.session());
        window.show();
        DesktopNotifier notifier;
        DueAnnouncer announcer(t.session(), notifier);
        connect(&announcer, &DueAnnouncer::openAsked, &window,
                [&](qint32 sheetId) { showOpenDeadlines(window, t.session(), sheetId); });
        const QString open = QStringLiteral(" [\"open\", \"Open\"]");
        const QString tomorrow = shortDateText(today.addDays(1));

        qsizetype seen = calls().size();
        announcer.start();
        QTRY_COMPARE(calls().mid(seen), (QStringList {"1 deadline due today in Deadlines: Home" + open,
                                                      "1 deadline due on " + tomorrow + " in Azienda: Office" + open}));
        const quint32 officeNotice = quint32(seen + 2);   // the server numbers them from 1

        seen = calls().size();
        add(2, 0, QStringLiteral("Added"));
        emit t.session().deadlineRegister().deadlinesChanged(2, {});
        emit t.session().deadlineRegister().deadlinesChanged(1, {});
        QTRY_COMPARE(calls().mid(seen), (QStringList {"1 deadline due today in Azienda: Added" + open}));

        // The next day brings the day after tomorrow into the look.
        seen = calls().size();
        add(1, 3, QStringLiteral("Friday"));
        announcer.setDayCheckInterval(10);
        Clock::pin(today.addDays(1));
        QTRY_COMPARE(calls().mid(seen), (QStringList {"1 deadline due on " + shortDateText(today.addDays(3))
                                                      + " in Deadlines: Friday" + open}));

        // Off in the preferences: nothing is told.
        t.settings().setInteger(Setting::Notifications, 0);
        add(2, 1, QStringLiteral("Quiet"));
        QCOMPARE(announcer.announce(), 0);
        QCOMPARE(calls().size(), seen + 1);

        QCOMPARE(window.listPanel()->currentView(), 0);
        QDBusMessage invoke = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("EmitSignal"));
        invoke << QStringLiteral("org.freedesktop.Notifications") << QStringLiteral("ActionInvoked")
               << QStringLiteral("us")
               << QVariantList {QVariant::fromValue(QDBusVariant(officeNotice)),
                                QVariant::fromValue(QDBusVariant(QStringLiteral("open")))};
        QCOMPARE(QDBusConnection::sessionBus().call(invoke).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(t.session().activeSheetId(), 2);
        QCOMPARE(t.session().activeSheetName(), QStringLiteral("Azienda"));
        QCOMPARE(window.listPanel()->currentView(), 1);
        QCOMPARE(t.settings().integer(Setting::ActiveSheet), 2);
    }

private:
    // Each Notify the server received: "body actions", in order.
    QStringList calls() const
    {
        static const QRegularExpression notify(
            QStringLiteral("Notify \"Orvel 2\" \\d+ \"[^\"]*\" \"[^\"]*\" \"((?:[^\"\\\\]|\\\\.)*)\" (\\[[^\\]]*\\])"));
        QStringList found;
        QFile log(m_log);
        if (!log.open(QIODevice::ReadOnly))
            return found;
        for (const QByteArray &line : log.readAll().split('\n')) {
            const QRegularExpressionMatch match = notify.match(QString::fromUtf8(line));
            if (match.hasMatch())
                found << match.captured(1) + QLatin1Char(' ') + match.captured(2);
        }
        return found;
    }

    QTemporaryDir m_dir;
    QString m_log;
    QByteArray m_address;
    QProcess m_bus;
    QProcess m_server;
};


QTEST_MAIN(tst_Notifications)
#include "tst_Notifications.moc"
