#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/SingleInstance.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Start-up against a temporary home: what a new user, a returning user and a
// user with a broken database each get.
class tst_Startup final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Prompt::ScriptedPrompts> m_prompts;
    std::unique_ptr<Session> m_session;
    QString m_programFolder;

    QString defaultFolder() const { return m_home->filePath(QStringLiteral("Documents/Orvel2DB")); }
    QString defaultDatabase() const { return defaultFolder() + QStringLiteral("/orvel2.mdb"); }
    SettingsStore &settings() { return m_session->settings(); }

    // A new start of the program: a fresh session over the same settings file.
    SessionOutcome start(const QString &localeCode)
    {
        m_session = std::make_unique<Session>(SettingsStore(m_home->filePath(QStringLiteral("settings.ini"))));
        m_session->setProgramFolder(m_programFolder);
        return prepareSession(*m_session, localeCode);
    }

    static QByteArray digest(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

    int scalar(const QString &sql) const
    {
        Recordset rs;
        rs.open(sql, m_session->connectionString());
        return rs.eof() ? -1 : rs.field(0).toInt();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(qEnvironmentVariable("ORVEL_PROGRAM_FOLDER") + QStringLiteral("/master.gen")),
                 "the template must be built");
        Pauses::setScale(0);
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", m_home->path().toLocal8Bit());
        qunsetenv("XDG_DOCUMENTS_DIR");
        m_programFolder = qEnvironmentVariable("ORVEL_PROGRAM_FOLDER");
        m_session = std::make_unique<Session>(SettingsStore(m_home->filePath(QStringLiteral("settings.ini"))));
        m_prompts = std::make_unique<Prompt::ScriptedPrompts>();
    }

    void freshUserGetsFolderDatabaseAndSheetOne()
    {
        QCOMPARE(start(QStringLiteral("0410")), SessionOutcome::Ready);
        QVERIFY(QFileInfo(defaultFolder()).isDir());
        QVERIFY(QFile::exists(defaultDatabase()));
        QCOMPARE(m_session->databaseFolder(), QDir::toNativeSeparators(defaultFolder()));
        QCOMPARE(m_session->activeSheetId(), 1);
        QVERIFY(!m_session->activeSheetName().isEmpty());
        QCOMPARE(Texts::language(), Language::Italian);
        QCOMPARE(m_session->display().counterSeparator, QStringLiteral(" / "));
        QVERIFY(m_session->helpFile().endsWith(QStringLiteral("ita_help.html")));
        QCOMPARE(settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
        QVERIFY(m_prompts->shown().isEmpty());
        // The three tables are there, with the group column of the upgrade.
        QCOMPARE(scalar(QStringLiteral("SELECT Count(TrGrpId) AS n FROM Transactions")), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT Count(AcId) AS n FROM Accounts")), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT Count(DbId) AS n FROM Dbs")), 1);
    }

    void returningUserKeepsTheDatabase()
    {
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        Connection c;
        c.open(m_session->connectionString());
        c.execute(QStringLiteral("INSERT INTO Dbs ( DbId, DbName ) SELECT 2, 'Casa d''Anna'"));
        c.close();
        settings().setInteger(Setting::ActiveSheet, 2);

        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(m_session->activeSheetId(), 2);
        QCOMPARE(m_session->activeSheetName(), QStringLiteral("Casa d'Anna"));
        QCOMPARE(Texts::language(), Language::English);

        // A stored sheet that names no row gives sheet 1; the setting stays.
        settings().setInteger(Setting::ActiveSheet, 42);
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(m_session->activeSheetId(), 1);
        QCOMPARE(settings().integer(Setting::ActiveSheet), 42);

        // A deleted database comes back from the template, not from anything older.
        QVERIFY(QFile::remove(defaultDatabase()));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(scalar(QStringLiteral("SELECT Count(DbId) AS n FROM Dbs")), 1);
    }

    void damagedDatabaseIsReportedAndLeftAlone()
    {
        QDir().mkpath(defaultFolder());
        QFile bad(defaultDatabase());
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray("Standard Jet DB\0 not what we read", 34).repeated(200));
        bad.close();
        const QByteArray before = digest(defaultDatabase());

        m_prompts->queueFolder(m_home->filePath(QStringLiteral("elsewhere")));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(digest(defaultDatabase()), before);
        const auto shown = m_prompts->shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[0].text, Texts::text(1357) + QLatin1Char('\n') + Texts::text(1358));
        QCOMPARE(shown[0].icon, Prompt::Icon::Critical);
        QCOMPARE(shown[0].caption, QStringLiteral("Orvel 2"));
        QCOMPARE(shown[1].kind, QStringLiteral("folder"));
        QCOMPARE(shown[1].text, Texts::text(1401));
        QCOMPARE(shown[2].text, Texts::text(1402));
        QCOMPARE(settings().text(Setting::DatabaseFolder), m_home->filePath(QStringLiteral("elsewhere")));
        // The first run is over even though nothing was copied.
        QCOMPARE(settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
    }

    void unreadableSheetEndsWithTheStoreMessage()
    {
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        Connection c;
        c.open(m_session->connectionString());
        c.execute(QStringLiteral("DELETE * FROM Dbs"));
        c.close();
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(m_prompts->shown().size(), 1);
        QVERIFY2(m_prompts->shown()[0].text.startsWith(QString::number(DbError::NoCurrentRecord) + QStringLiteral(" - ")),
                 qPrintable(m_prompts->shown()[0].text));
        QCOMPARE(m_prompts->shown()[0].icon, Prompt::Icon::Critical);
    }

    void missingTemplateEndsWithSystemFileMessage()
    {
        QTemporaryDir emptyProgramFolder;
        m_programFolder = emptyProgramFolder.path();
        QCOMPARE(start(QStringLiteral("0407")), SessionOutcome::Ended);
        QVERIFY(!QFile::exists(defaultDatabase()));
        QCOMPARE(m_prompts->shown().first().text,
                 Texts::text(1359, Language::German) + QLatin1Char('\n') + Texts::text(1358, Language::German));
        // The chooser was cancelled: nothing stored, nothing more said.
        QCOMPARE(m_prompts->shown().size(), 2);
        QCOMPARE(settings().text(Setting::DatabaseFolder, QStringLiteral("unset")), QStringLiteral("unset"));
    }

    void missingFolderReportsTheCopyError()
    {
        const QString gone = m_home->filePath(QStringLiteral("unplugged drive/Orvel 'DB' é"));
        settings().setText(Setting::DatabaseFolder, gone);
        settings().setText(Setting::FirstRunMarker, FirstRunMarkerText);
        QCOMPARE(start(QStringLiteral("040c")), SessionOutcome::Ended);
        const QStringList texts = m_prompts->shownTexts();
        QVERIFY2(texts.value(0).startsWith(QStringLiteral("75 - ")), qPrintable(texts.value(0)));
        QCOMPARE(texts.value(1), Texts::text(1359, Language::French) + QLatin1Char('\n') + Texts::text(1358, Language::French));
        QVERIFY(!QFileInfo::exists(gone));
    }

    void pausesRunNothingElse()
    {
        // A click queued during the wait after a write must wait its turn, not
        // start a second command inside the first.
        bool ran = false;
        QObject receiver;
        QMetaObject::invokeMethod(&receiver, [&ran] { ran = true; }, Qt::QueuedConnection);
        Pauses::shortPause();
        Pauses::longPause();
        QVERIFY(!ran);
        QCoreApplication::processEvents();
        QVERIFY(ran);
    }

    void secondCopyDoesNotStart()
    {
        QTemporaryDir locks;
        SingleInstance first(locks.path());
        QVERIFY(first.acquired());
        {
            SingleInstance second(locks.path());
            QVERIFY(!second.acquired());
        }
        SingleInstance stillFirst(locks.path());
        QVERIFY(!stillFirst.acquired());
    }
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_Startup.moc"
