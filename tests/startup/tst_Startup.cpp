#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Provisioning.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/SingleInstance.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/Database.h"

#include "../support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <sys/stat.h>

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
        QCOMPARE(settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
        QVERIFY(m_prompts->shown().isEmpty());
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
        bad.write(QByteArrayLiteral("Standard Jet DB\0 not what we read").repeated(200));
        bad.close();
        const QByteArray before = fileDigest(defaultDatabase());

        m_prompts->queueFolder(m_home->filePath(QStringLiteral("elsewhere")));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(fileDigest(defaultDatabase()), before);
        const auto shown = m_prompts->shown();
        QCOMPARE(shown.size(), 3);
        const QString path = QDir::toNativeSeparators(defaultDatabase());
        QCOMPARE(shown[0].text, Texts::text(2003).arg(path, Texts::text(2004).arg("file is not a database")) + u'\n'
                                    + Texts::text(1358));
        QCOMPARE(shown[1].kind, QStringLiteral("folder"));
        QCOMPARE(shown[1].text, Texts::text(1401));
        QCOMPARE(shown[2].text, Texts::text(1402));
        QCOMPARE(settings().text(Setting::DatabaseFolder), m_home->filePath(QStringLiteral("elsewhere")));
        // The first run is over even though nothing was copied.
        QCOMPARE(settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
    }

    void brokenRegisterIsNamedInTheUsersLanguage()
    {
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        Connection c;
        c.open(m_session->connectionString());
        c.execute(QStringLiteral("DELETE * FROM Dbs"));
        c.close();
        const QByteArray before = fileDigest(defaultDatabase());
        QCOMPARE(start(QStringLiteral("0410")), SessionOutcome::Ended);
        QCOMPARE(fileDigest(defaultDatabase()), before);
        const QString path = QDir::toNativeSeparators(defaultDatabase());
        QCOMPARE(m_prompts->shown().value(0).text,
                 Texts::text(2003, Language::Italian).arg(path, Texts::text(2008, Language::Italian).arg("Dbs")) + u'\n'
                     + Texts::text(1358, Language::Italian));
    }

    void lockedDatabaseOffersRetryAndQuitButNeverAnotherFolder()
    {
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
            db.setDatabaseName(defaultDatabase());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            m_prompts->queueAnswer(Prompt::Answer::Retry);   // then the default: Quit
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ended);
            QVERIFY2(timer.elapsed() < 6000, qPrintable(QString::number(timer.elapsed())));
            const auto shown = m_prompts->shown();
            QCOMPARE(shown.size(), 2);
            for (const auto &message : shown) {
                QCOMPARE(message.kind, QStringLiteral("message"));
                QCOMPARE(message.text, Texts::text(2001).arg(QDir::toNativeSeparators(defaultDatabase())));
                QCOMPARE(message.buttons, Prompt::Buttons::RetryQuit);
            }
            QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other program"));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
    }

    void missingTemplateEndsWithSystemFileMessage()
    {
        QTemporaryDir emptyProgramFolder;
        m_programFolder = emptyProgramFolder.path();
        QCOMPARE(start(QStringLiteral("0407")), SessionOutcome::Ended);
        QVERIFY(!QFile::exists(defaultDatabase()));
        const QString templatePath = QDir::toNativeSeparators(emptyProgramFolder.path() + QStringLiteral("/master.gen"));
        QCOMPARE(m_prompts->shown().first().text,
                 Texts::text(1359, Language::German) + QLatin1Char('\n') + Texts::text(2014, Language::German).arg(templatePath)
                     + QLatin1Char('\n') + Texts::text(1358, Language::German));
        // The chooser was cancelled: nothing stored, nothing more said.
        QCOMPARE(m_prompts->shown().size(), 2);
        QCOMPARE(settings().text(Setting::DatabaseFolder, QStringLiteral("unset")), QStringLiteral("unset"));
    }

    void unusableFolderSettingMeansTheDefault()
    {
        settings().setText(Setting::FirstRunMarker, FirstRunMarkerText);
        const QString gone = m_home->filePath(QStringLiteral("unplugged drive/Orvel 'DB' é"));
        for (const QString &stored : {QString(), QStringLiteral("  "), QStringLiteral("relative/db"), gone}) {
            settings().setText(Setting::DatabaseFolder, stored);
            QCOMPARE(start(QStringLiteral("040c")), SessionOutcome::Ready);
            QCOMPARE(m_session->databaseFolder(), QDir::toNativeSeparators(defaultFolder()));
            QVERIFY(m_prompts->shown().isEmpty());
        }
        QVERIFY(!QFileInfo::exists(gone));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/orvel2.mdb")));
    }

    void damagedLinkAndFolderAreNamed()
    {
        QDir().mkpath(defaultFolder());
        QVERIFY(QFile::link(m_home->filePath(QStringLiteral("moved.mdb")), defaultDatabase()));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(m_prompts->shown().value(0).text,
                 Texts::text(2011).arg(QDir::toNativeSeparators(defaultDatabase()),
                                       QDir::toNativeSeparators(m_home->filePath(QStringLiteral("moved.mdb"))))
                     + u'\n' + Texts::text(1358));
        QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("moved.mdb"))));
        QFile::remove(defaultDatabase());
        QVERIFY(QDir().mkdir(defaultDatabase()));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(m_prompts->shown().value(2).text,
                 Texts::text(2012).arg(QDir::toNativeSeparators(defaultDatabase())) + u'\n' + Texts::text(1358));
    }

    void newFilesAreTheUsersAlone()
    {
        const mode_t previous = umask(022);
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        settings().setInteger(Setting::LanguageChoice, 2);
        umask(previous);
        const auto own = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        const auto mask = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                          | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
                          | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(defaultFolder()) & mask, own | QFileDevice::ExeOwner);
        QCOMPARE(QFile::permissions(defaultDatabase()) & mask, own);
        QCOMPARE(QFile::permissions(m_home->filePath(QStringLiteral("settings.ini"))) & mask, own);

        // What exists keeps the permissions its owner gave it, also through a rewrite.
        const auto shared = own | QFileDevice::ReadGroup;
        QFile::setPermissions(defaultDatabase(), shared);
        QFile::setPermissions(m_home->filePath(QStringLiteral("settings.ini")), shared);
        QFile::setPermissions(defaultFolder(), shared | QFileDevice::ExeOwner | QFileDevice::ExeGroup);
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        settings().setInteger(Setting::LanguageChoice, 3);
        QCOMPARE(QFile::permissions(defaultDatabase()) & mask, shared);
        QCOMPARE(QFile::permissions(m_home->filePath(QStringLiteral("settings.ini"))) & mask, shared);
        QCOMPARE(QFile::permissions(defaultFolder()) & mask, shared | QFileDevice::ExeOwner | QFileDevice::ExeGroup);
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
        QVERIFY(stillFirst.anotherRuns());

        // A lock that cannot be made proves nothing: the program starts.
        QFile notAFolder(locks.filePath(QStringLiteral("plain file")));
        QVERIFY(notAFolder.open(QIODevice::WriteOnly));
        notAFolder.close();
        SingleInstance unmade(notAFolder.fileName());
        QVERIFY(!unmade.acquired());
        QVERIFY(!unmade.anotherRuns());
        QVERIFY(!unmade.failure().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_Startup.moc"
