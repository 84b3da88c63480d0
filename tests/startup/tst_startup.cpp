#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Provisioning.h"
#include "startup/ResourceText.h"
#include "startup/Setting.h"
#include "startup/StartupSteps.h"
#include "startup/mainmod.h"
#include "store/comDataBase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
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
    QString m_programFolder;

    QString defaultFolder() const { return m_home->filePath(QStringLiteral("Documents/Orvel2DB")); }
    QString defaultDatabase() const { return defaultFolder() + QStringLiteral("/orvel2.mdb"); }

    static QByteArray digest(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

    static int scalar(const QString &sql)
    {
        Connection c;
        c.open(mainmod::ConnectionString);
        Recordset rs;
        rs.open(sql, c);
        return rs.eof() ? -1 : rs.field(0).toInt();
    }

private slots:
    void initTestCase()
    {
        m_programFolder = qEnvironmentVariable("ORVEL_PROGRAM_FOLDER");
        QVERIFY2(QFile::exists(m_programFolder + QStringLiteral("/master.gen")), "the template must be built");
        Pauses::setScale(0);
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", m_home->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home->filePath(QStringLiteral(".config")).toLocal8Bit());
        qunsetenv("XDG_DOCUMENTS_DIR");
        mainmod::resetShared();
        mainmod::SettingsFile = m_home->filePath(QStringLiteral(".config/Kestrum/Orvel 2.ini"));
        mainmod::setProgramFolder(m_programFolder);
        m_prompts = std::make_unique<Prompt::ScriptedPrompts>();
    }

    void freshUserGetsFolderDatabaseAndSheetOne()
    {
        QCOMPARE(PrepareSession(QStringLiteral("0410")), SessionOutcome::Ready);
        QVERIFY(QFileInfo(defaultFolder()).isDir());
        QVERIFY(QFile::exists(defaultDatabase()));
        QCOMPARE(mainmod::DbFolder, QDir::toNativeSeparators(defaultFolder()));
        QCOMPARE(mainmod::ActiveSheetId, 1);
        QVERIFY(!mainmod::ActiveSheetName.isEmpty());
        QCOMPARE(mainmod::LanguageBase, qint16(Italian));
        QCOMPARE(mainmod::CounterSeparator, QStringLiteral(" / "));
        QVERIFY(mainmod::HelpFile.endsWith(QStringLiteral("ita_help.html")));
        QCOMPARE(mainmod::Settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
        QVERIFY(m_prompts->shown().isEmpty());
        // The three tables are there, with the group column of the upgrade.
        QCOMPARE(scalar(QStringLiteral("SELECT Count(TrGrpId) AS n FROM Transactions")), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT Count(AcId) AS n FROM Accounts")), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT Count(DbId) AS n FROM Dbs")), 1);
    }

    void returningUserKeepsTheDatabase()
    {
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ready);
        {
            Connection c;
            c.open(mainmod::ConnectionString);
            c.execute(QStringLiteral("INSERT INTO Dbs ( DbId, DbName ) SELECT 2, 'Casa d''Anna'"));
        }
        mainmod::Settings().setInteger(Setting::ActiveSheet, 2);
        mainmod::resetShared();
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(mainmod::ActiveSheetId, 2);
        QCOMPARE(mainmod::ActiveSheetName, QStringLiteral("Casa d'Anna"));
        QCOMPARE(mainmod::LanguageBase, qint16(English));
    }

    void storedSheetThatNamesNoRowFallsBackToOne()
    {
        mainmod::Settings().setInteger(Setting::ActiveSheet, 42);
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(mainmod::ActiveSheetId, 1);
        QCOMPARE(mainmod::Settings().integer(Setting::ActiveSheet.name, 1), 42);   // not rewritten
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
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(digest(defaultDatabase()), before);
        const auto shown = m_prompts->shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[0].text, ResourceTextIn(1357, English) + QLatin1Char('\n') + ResourceTextIn(1358, English));
        QCOMPARE(shown[0].icon, Prompt::Icon::Critical);
        QCOMPARE(shown[0].caption, QStringLiteral("Orvel 2"));
        QCOMPARE(shown[1].kind, QStringLiteral("folder"));
        QCOMPARE(shown[1].text, ResourceTextIn(1401, English));
        QCOMPARE(shown[2].text, ResourceTextIn(1402, English));
        QCOMPARE(mainmod::Settings().text(Setting::DatabaseFolder), m_home->filePath(QStringLiteral("elsewhere")));
        // The first run is over even though nothing was copied.
        QCOMPARE(mainmod::Settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
    }

    void unreadableSheetEndsWithTheStoreMessage()
    {
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ready);
        {
            Connection c;
            c.open(mainmod::ConnectionString);
            c.execute(QStringLiteral("DELETE * FROM Dbs"));
        }
        mainmod::resetShared();
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ended);
        QCOMPARE(m_prompts->shown().size(), 1);
        QVERIFY2(m_prompts->shown()[0].text.startsWith(QString::number(DbError::NoCurrentRecord) + QStringLiteral(" - ")),
                 qPrintable(m_prompts->shown()[0].text));
        QCOMPARE(m_prompts->shown()[0].icon, Prompt::Icon::Critical);
    }

    void missingTemplateEndsWithSystemFileMessage()
    {
        QTemporaryDir emptyProgramFolder;
        mainmod::setProgramFolder(emptyProgramFolder.path());
        QCOMPARE(PrepareSession(QStringLiteral("0407")), SessionOutcome::Ended);
        QVERIFY(!QFile::exists(defaultDatabase()));
        QCOMPARE(m_prompts->shown().first().text,
                 ResourceTextIn(1359, German) + QLatin1Char('\n') + ResourceTextIn(1358, German));
        // The chooser was cancelled: nothing stored, nothing more said.
        QCOMPARE(m_prompts->shown().size(), 2);
        QCOMPARE(mainmod::Settings().text(Setting::DatabaseFolder, QStringLiteral("unset")), QStringLiteral("unset"));
    }

    void missingFolderReportsTheCopyError()
    {
        const QString gone = m_home->filePath(QStringLiteral("unplugged drive/Orvel 'DB' é"));
        mainmod::Settings().setText(Setting::DatabaseFolder, gone);
        mainmod::Settings().setText(Setting::FirstRunMarker, FirstRunMarkerText);
        QCOMPARE(PrepareSession(QStringLiteral("040c")), SessionOutcome::Ended);
        const QStringList texts = m_prompts->shownTexts();
        QVERIFY2(texts.value(0).startsWith(QStringLiteral("75 - ")), qPrintable(texts.value(0)));
        QCOMPARE(texts.value(1), ResourceTextIn(1359, French) + QLatin1Char('\n') + ResourceTextIn(1358, French));
        QVERIFY(!QFileInfo::exists(gone));
    }

    void deletedDatabaseIsRecreatedFromTheTemplate()
    {
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ready);
        QVERIFY(QFile::remove(defaultDatabase()));
        mainmod::resetShared();
        QCOMPARE(PrepareSession(QStringLiteral("0409")), SessionOutcome::Ready);
        QVERIFY(QFile::exists(defaultDatabase()));
    }

    void changeDatabaseStoresTheFolderForNextStart()
    {
        mainmod::LanguageBase = English;
        ChangeDatabase();   // cancelled
        QCOMPARE(mainmod::Settings().text(Setting::DatabaseFolder, QStringLiteral("unset")), QStringLiteral("unset"));
        m_prompts->clear();
        m_prompts->queueFolder(QStringLiteral("/media/Dati condivisi"));
        ChangeDatabase();
        QCOMPARE(mainmod::Settings().text(Setting::DatabaseFolder), QStringLiteral("/media/Dati condivisi"));
        QCOMPARE(m_prompts->shown().at(0).text, ResourceTextIn(506, English));
        QCOMPARE(m_prompts->shown().at(1).text, ResourceTextIn(1362, English));
    }

    void pausesRunNothingElse()
    {
        // A click queued during the wait after a write must wait its turn, not
        // start a second command inside the first.
        bool ran = false;
        QObject receiver;
        QMetaObject::invokeMethod(&receiver, [&ran] { ran = true; }, Qt::QueuedConnection);
        PauseShort();
        PauseLong();
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
#include "tst_startup.moc"
