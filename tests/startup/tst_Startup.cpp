#include "StartupFixture.h"

#include "startup/BackupSchedule.h"
#include "startup/CommandLine.h"
#include "startup/DbErrorText.h"
#include "startup/OrvelApplication.h"
#include "startup/ProgramFiles.h"
#include "startup/Provisioning.h"
#include "startup/Setting.h"
#include "startup/SingleInstance.h"
#include "startup/StartupSteps.h"
#include "startup/Texts.h"
#include "store/Backups.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"

#include "../support/OtherProgram.h"
#include "../support/TestDatabase.h"

#include <QDir>
#include <QProcess>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

// Start-up against a temporary home: what a new user, a returning user and a
// user with a broken database each get.
class tst_Startup final : public QObject, StartupFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { checkTemplate(); }
    void init() { setUp(); }

    // The settings file: defaults for whatever is missing or no whole number, texts
    // back exactly as written, and a write that cannot land named in the user's language.
    void settingsFileReadsAndWritesAsTheUserLeftIt()
    {
        const QString file = m_home->filePath(QStringLiteral("plain.ini"));   // away from the one a start uses
        QCOMPARE(SettingsStore(file).integer(Setting::WarnDays), 2);
        QCOMPARE(SettingsStore(file).text(Setting::DatabaseFolder, QStringLiteral("/db")), QStringLiteral("/db"));
        QVERIFY(!QFile::exists(file));
        const std::pair<QByteArray, int> integers[] = {{"7", 7}, {"\" 3 \"", 3}, {"2.5", 2}, {"1, 2", 2}, {"", 2}};
        for (const auto &[stored, read] : integers) {
            QVERIFY(writeFile(file, "[General]\nappset_warndays=" + stored + "\n"));
            QCOMPARE(SettingsStore(file).integer(Setting::WarnDays), read);
        }
        // A hand-edited list reads as one text.
        QVERIFY(writeFile(file, "[General]\nappset_curdb=/data/a,b\n"));
        QCOMPARE(SettingsStore(file).text(Setting::DatabaseFolder), QStringLiteral("/data/a, b"));
        for (const QString &text : {QStringLiteral("/srv/l'archivio \"già\" Größe"), QStringLiteral("/data/a, b"),
                                    QStringLiteral("%HOME%/db 50%"), QString()}) {
            SettingsStore(file).setText(Setting::DatabaseFolder, text);
            SettingsStore(file).setInteger(Setting::WindowWidth, 1200);
            QCOMPARE(SettingsStore(file).text(Setting::DatabaseFolder, QStringLiteral("unset")), text);
            QCOMPARE(SettingsStore(file).integer(Setting::WindowWidth), 1200);
        }
        // The user's file keeps the name earlier releases gave it.
        qputenv("XDG_CONFIG_HOME", m_home->path().toLocal8Bit());
        QCOMPARE(SettingsStore().fileName(), m_home->filePath(QStringLiteral("Kestrum/Orvel 2.ini")));
        qunsetenv("XDG_CONFIG_HOME");

        // A failed write names the preference in the user's words, not its key.
        const QString unwritable = QStringLiteral("/proc/orvel-no-such-dir/Orvel 2.ini");
        for (const auto &[name, language, preference] : {std::tuple{"appset_warndays", Language::Italian, 2705},
                                                         std::tuple{"appset_curdb", Language::German, 2702}}) {
            Texts::setLanguage(language);
            try {
                if (preference == 2702)
                    SettingsStore(unwritable).setText(QLatin1String(name), QStringLiteral("x"));
                else
                    SettingsStore(unwritable).setInteger(QLatin1String(name), 3);
                QFAIL("the write was not reported");
            } catch (const SettingsStore::WriteError &error) {
                QCOMPARE(error.message(), Texts::text(2701).arg(Texts::text(preference), unwritable));
                QVERIFY(!error.message().contains(QLatin1String(name)));
            }
        }
        Texts::setLanguage(Language::English);
    }

    // A new user gets the folder, the database and sheet 1 without a word, in the
    // system's language; a returning one keeps them.
    void freshThenReturningUser()
    {
        QCOMPARE(start(QStringLiteral("0410")), SessionOutcome::Ready);
        QVERIFY(QFile::exists(defaultDatabase()));
        QCOMPARE(m_session->databaseFolder(), QDir::toNativeSeparators(defaultFolder()));
        QCOMPARE(m_session->activeSheetId(), 1);
        QVERIFY(!m_session->activeSheetName().isEmpty());
        QCOMPARE(Texts::language(), Language::Italian);
        QCOMPARE(settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
        QVERIFY(m_prompts->shown().isEmpty());

        runSql(m_session->connectionString(), QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Casa d''Anna')"));
        settings().setInteger(Setting::ActiveSheet, 2);

        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(m_session->activeSheetId(), 2);
        QCOMPARE(m_session->activeSheetName(), QStringLiteral("Casa d'Anna"));
        QCOMPARE(Texts::language(), Language::English);
        QVERIFY(m_prompts->shown().isEmpty());   // a stored sheet that exists opens without a word

        // A stored sheet that names no row gives sheet 1; the setting stays.
        settings().setInteger(Setting::ActiveSheet, 42);
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(m_session->activeSheetId(), 1);
        QCOMPARE(settings().integer(Setting::ActiveSheet), 42);

        // Without sheet 1 the first there is by id opens, and the user is told which.
        runSql(m_session->connectionString(), QStringLiteral("INSERT INTO Dbs (DbId, DbName) VALUES (7, 'Casa'), (4, 'Ufficio')"));
        runSql(m_session->connectionString(), QStringLiteral("DELETE FROM Dbs WHERE DbId < 3"));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(m_session->activeSheetId(), 4);
        QCOMPARE(m_session->activeSheetName(), QStringLiteral("Ufficio"));
        QCOMPARE(m_prompts->shownTexts(),
                 QStringList{Texts::text(2724).arg(QDir::toNativeSeparators(defaultDatabase()), QStringLiteral("Ufficio"))});

        // A deleted database comes back from the template, not from anything older.
        QVERIFY(QFile::remove(defaultDatabase()));
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        QCOMPARE(scalar(QStringLiteral("SELECT Count(DbId) AS n FROM Dbs")), 1);
    }

    // A database that cannot be used is named for what is wrong with it, in the
    // user's language, left as it is, and another folder can be chosen for next time.
    void unusableDatabaseIsNamedAndLeftAlone()
    {
        // What stands at the database's place, the system's language, and whether
        // the folder chooser is answered (or cancelled).
        const std::tuple<QString, QString, Language, bool> cases[] = {
            {"junk", "0409", Language::English, true},
            {"no sheets", "0410", Language::Italian, true},
            {"link", "0409", Language::English, false},   // to a moved file
            {"folder", "0409", Language::English, true},
            {"no template", "0407", Language::German, false},
        };
        for (const auto &[setup, localeCode, language, choose] : cases) {
            setUp();
            const QString path = QDir::toNativeSeparators(defaultDatabase());
            const QString moved = m_home->filePath(QStringLiteral("moved.mdb"));
            QString reason;
            QTemporaryDir emptyProgramFolder;
            QDir().mkpath(defaultFolder());
            if (setup == QStringLiteral("junk")) {
                QVERIFY(writeFile(defaultDatabase(), QByteArrayLiteral("Standard Jet DB\0 not what we read").repeated(200)));
                reason = Texts::text(2003, language).arg(path, Texts::text(2004, language).arg("file is not a database"));
            } else if (setup == QStringLiteral("no sheets")) {
                QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
                runSql(m_session->connectionString(), QStringLiteral("DELETE FROM Dbs"));
                reason = Texts::text(2003, language).arg(path, Texts::text(2008, language).arg("Dbs"));
            } else if (setup == QStringLiteral("link")) {
                QVERIFY(QFile::link(moved, defaultDatabase()));
                reason = Texts::text(2011, language).arg(path, QDir::toNativeSeparators(moved));
            } else if (setup == QStringLiteral("folder")) {
                QVERIFY(QDir().mkdir(defaultDatabase()));
                reason = Texts::text(2012, language).arg(path);
            } else {
                m_programFolder = emptyProgramFolder.path();
                reason = Texts::text(1359, language) + u'\n'
                         + Texts::text(2014, language).arg(QDir::toNativeSeparators(m_programFolder + QStringLiteral("/master.gen")));
            }
            const QByteArray before = fileDigest(defaultDatabase());
            const QString elsewhere = m_home->filePath(QStringLiteral("elsewhere"));
            m_prompts->queueFolder(choose ? elsewhere : QString());

            QCOMPARE(start(localeCode), SessionOutcome::Ended);
            QCOMPARE(fileDigest(defaultDatabase()), before);
            QVERIFY(!QFileInfo::exists(moved));
            const auto shown = m_prompts->shown();
            QCOMPARE(shown.size(), choose ? 3 : 2);
            QCOMPARE(shown[0].text, reason + u'\n' + Texts::text(1358, language));
            QCOMPARE(shown[1].kind, QStringLiteral("folder"));
            QCOMPARE(shown[1].text, Texts::text(1401, language));
            // A cancelled chooser stores nothing and says nothing more.
            if (choose)
                QCOMPARE(shown[2].text, Texts::text(1402, language));
            QCOMPARE(settings().text(Setting::DatabaseFolder, QStringLiteral("unset")),
                     choose ? elsewhere : QStringLiteral("unset"));
            // The first run is over even though nothing was copied.
            QCOMPARE(settings().text(Setting::FirstRunMarker), FirstRunMarkerText);
        }
    }

    void lockedDatabaseOffersRetryAndQuitButNeverAnotherFolder()
    {
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        {
            OtherProgram other(defaultDatabase());
            QVERIFY(other.lock());
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
        }
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
    }

    // Only an empty folder setting means the default; a folder that cannot be used
    // (gone, relative, a file, read-only) is named for what it is, with Retry, Choose
    // and Quit, and nothing is made or changed where the user did not choose.
    void storedFolderIsUsedOrNamedForWhatItIs()
    {
        using A = Prompt::Answer;
        const QStringList none;
        const QStringList quit{"message"};
        const struct
        {
            QString stored;
            QString setup;   // what stands at the folder on a first start: "file", "read-only"...
            QList<A> answers;
            QString chosen;
            QString used;   // empty: the start ends
            QStringList kinds;
            int reason;   // the first message's text id
        } cases[] = {
            {{}, {}, {}, {}, "@default", none, 0},
            {"  ", {}, {}, {}, "@default", none, 0},
            {"@stick", {}, {}, {}, "@stick", none, 0},   // no default made
            {"relative/db", {}, {}, {}, {}, quit, 2712},
            {"@gone", {}, {A::Retry}, {}, {}, {"message", "message"}, 2712},
            {"@gone", {}, {A::Choose}, "@stick", "@stick", {"message", "folder"}, 2712},
            {"@gone", {}, {A::Choose}, {}, {}, {"message", "folder", "message"}, 2712},   // the chooser cancelled
            {"@stick", "file", {}, {}, {}, quit, 2715},
            {{}, "file", {}, {}, {}, quit, 2715},   // where the default folder goes
            {"@stick", "read-only", {}, {}, {}, quit, 2716},
            {"@stick", "read-only database", {}, {}, {}, quit, 2716},
        };
        for (const auto &[stored, setup, answers, chosen, used, kinds, reason] : cases) {
            // Permissions do not stop the superuser: said, as QSKIP would.
            if (setup.startsWith(QStringLiteral("read-only")) && geteuid() == 0) {
                qInfo("SKIP %s: permissions do not stop the superuser", qPrintable(setup));
                continue;
            }
            setUp();
            const QString folder = resolved(stored.trimmed().isEmpty() ? QStringLiteral("@default") : stored);
            QString watched = folder;
            if (setup.isEmpty()) {
                settings().setText(Setting::FirstRunMarker, FirstRunMarkerText);   // a returning user's setting
                QVERIFY(QDir().mkpath(resolved(QStringLiteral("@stick"))));
            } else if (setup == QStringLiteral("file")) {
                QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
                QVERIFY(writeFile(folder, "not a folder"));
            } else {
                QVERIFY(QDir().mkpath(folder));
                if (setup.endsWith(QStringLiteral("database"))) {
                    QVERIFY(!copyTemplateTo(folder).isEmpty());
                    watched = folder + QStringLiteral("/orvel2.mdb");
                }
                QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            }
            const QByteArray before = fileDigest(watched);
            const QStringList entries = QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
            settings().setText(Setting::DatabaseFolder, resolved(stored));
            for (A answer : answers)
                m_prompts->queueAnswer(answer);
            m_prompts->queueFolder(resolved(chosen));

            QCOMPARE(start(QStringLiteral("0409")), used.isEmpty() ? SessionOutcome::Ended : SessionOutcome::Ready);
            QCOMPARE(shownKinds(), kinds);
            if (reason) {
                const Prompt::Shown first = m_prompts->shown().first();
                QCOMPARE(first.text, Texts::text(reason).arg(QDir::toNativeSeparators(folder)) + u'\n'
                                         + Texts::text(reason == 2712 ? 2713 : 2714));
                QCOMPARE(first.buttons, Prompt::Buttons::RetryChooseQuit);
                QCOMPARE(m_splashClosedAt, 0);
            }
            if (!used.isEmpty()) {
                QCOMPARE(m_session->databaseFolder(), QDir::toNativeSeparators(resolved(used)));
                QVERIFY(QFile::exists(resolved(used) + QStringLiteral("/orvel2.mdb")));
            }
            if (!chosen.isEmpty())
                QCOMPARE(settings().text(Setting::DatabaseFolder), resolved(chosen));
            QVERIFY(!QFileInfo::exists(resolved(QStringLiteral("@gone"))));
            QVERIFY(!QFileInfo::exists(QStringLiteral("/orvel2.mdb")));
            if (setup.isEmpty()) {
                QCOMPARE(QFileInfo::exists(defaultFolder()), used == QStringLiteral("@default"));
                continue;
            }
            QCOMPARE(fileDigest(watched), before);
            QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), entries);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }

    // A damaged register is mended only when the user says Yes; Enter leaves it as
    // it was. Damaged indexes are rebuilt once a copy of the file is kept; a file the
    // engine cannot read is offered the newest backup whose check says ok, and kept.
    void damagedDatabaseIsMendedOnlyWhenAsked()
    {
        // Damaged indexes, or a file the engine cannot read; the question answered
        // Yes, or with Enter.
        for (const auto &[indexes, yes] : {std::pair{true, false}, {true, true}, {false, false}, {false, true}}) {
            setUp();
            QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
            QString good;
            if (indexes) {
                // Every page still reads, but the last deadline's group id no longer agrees with its index.
                addDeadlines(m_session->connectionString(), 300);
                QFile file(defaultDatabase());
                QVERIFY(file.resize(file.size() - 1));
            } else {
                insertDeadline(m_session->connectionString(), 1, 1, false, QDate(2026, 3, 2), QStringLiteral("Rent"), 0,
                               Currency::fromUnits(10000));
                const QString backups = backupFolder(*m_session);
                good = Backups::make(defaultDatabase(), backups, QDateTime(QDate(2026, 3, 1), QTime(8, 0)), 0).path;
                QVERIFY(QFile::exists(good));
                // Newer, but spoiled: passed over.
                QVERIFY(writeFile(backups + QStringLiteral("/orvel2-20260302-080000.mdb"), QByteArray(8192, 'x')));
                QVERIFY(writeFile(defaultDatabase(), QByteArrayLiteral("Standard Jet DB\0 not what we read").repeated(200)));
            }
            const QByteArray before = fileBytes(defaultDatabase());
            if (yes)
                m_prompts->queueAnswer(Prompt::Answer::Yes);
            else
                m_prompts->queueEnter();

            QCOMPARE(start(QStringLiteral("0409")), yes ? SessionOutcome::Ready : SessionOutcome::Ended);
            const auto shown = m_prompts->shown();
            QVERIFY(!shown.isEmpty());
            QCOMPARE(shown[0].buttons, Prompt::Buttons::YesNo);
            QCOMPARE(shown[0].enterAnswer, Prompt::Answer::No);
            const QString copyStart = QDir::toNativeSeparators(defaultFolder() + QStringLiteral("/orvel2 before repair "));
            for (const QString &named : indexes ? QStringList{QStringLiteral("missing from index"), copyStart} : QStringList{good})
                QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(named)), qPrintable(shown[0].text));
            if (!yes) {
                QCOMPARE(fileBytes(defaultDatabase()), before);
                if (!indexes) {
                    QCOMPARE(shown[1].icon, Prompt::Icon::Critical);
                    continue;
                }
                QCOMPARE(shown.size(), 1);
                QCOMPARE(QDir(defaultFolder()).entryList(QDir::Files), QStringList{QStringLiteral("orvel2.mdb")});
                continue;
            }
            const QString kept = defaultFolder() + u'/'
                                 + QDir(defaultFolder()).entryList({indexes ? "orvel2 before repair *" : "orvel2 before restore *"}).value(0);
            QCOMPARE(fileBytes(kept), before);
            if (indexes) {
                QVERIFY(shown[0].text.contains(QDir::toNativeSeparators(kept)));
                QCOMPARE(shown.value(1).text, Texts::text(2721).arg(QDir::toNativeSeparators(kept)));
                QCOMPARE(QDir(defaultFolder()).entryList(QDir::Files).size(), 2);
                QCOMPARE(scalar(QStringLiteral("SELECT Count(TrRowId) AS n FROM Transactions")), 300);
                QVERIFY(DatabaseCheck::check(m_session->connectionString()).ok());
            } else {
                QCOMPARE(shown.size(), 2);
                QCOMPARE(shown[1].text, Texts::text(2844).arg(QDir::toNativeSeparators(good)) + u'\n'
                                            + Texts::text(2859).arg(QDir::toNativeSeparators(kept)));
                QCOMPARE(scalar(QStringLiteral("SELECT Count(TrRowId) AS n FROM Transactions")), 1);
            }
        }
    }

    void newFilesAreTheUsersAlone()
    {
        const auto mode = [](const QString &path) {
            struct stat info {};
            return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
        };
        const QString settingsFile = m_home->filePath(QStringLiteral("settings.ini"));
        const mode_t previous = umask(022);
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        settings().setInteger(Setting::LanguageChoice, 2);
        umask(previous);
        QCOMPARE(mode(defaultFolder()), 0700);
        QCOMPARE(mode(defaultDatabase()), 0600);
        QCOMPARE(mode(settingsFile), 0600);

        // What exists keeps the permissions its owner gave it, also through a rewrite.
        const std::pair<QString, int> given[] = {{defaultDatabase(), 0640}, {settingsFile, 0640}, {defaultFolder(), 0750}};
        for (const auto &[path, bits] : given)
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(bits)), 0);
        QCOMPARE(start(QStringLiteral("0409")), SessionOutcome::Ready);
        settings().setInteger(Setting::LanguageChoice, 3);
        for (const auto &[path, bits] : given)
            QCOMPARE(mode(path), bits);
    }

    // An error that escapes a command handler reaches the user as a message and
    // the program keeps running.
    void namedSoThenEscapedErrorsBecomeMessages()
    {
        // The names give the settings file's place. Window systems append a display
        // name to every title; the program sets none, so a title is its own text alone.
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Orvel 2"));
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Kestrum"));
        QCoreApplication::setApplicationName(QStringLiteral("renamed"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("renamed"));
        QCoreApplication::setApplicationName(QStringLiteral("Orvel 2"));

        const QString folder = QStringLiteral("/media/usb/Orvel2DB");
        static_cast<OrvelApplication *>(qApp)->setConnectionString(Database::connectionString(folder));
        bool afterwards = false;
        QTimer::singleShot(0, [] { throw DbError(3021, QStringLiteral("No current record.")); });
        QTimer::singleShot(0, [] { throw std::runtime_error("disk full"); });
        QTimer::singleShot(5, [&afterwards] { afterwards = true; });
        QTRY_VERIFY(afterwards);
        static_cast<OrvelApplication *>(qApp)->setConnectionString(QString());

        // A database error in the user's words, naming the file; any other as it came.
        QCOMPARE(m_prompts->shownTexts(),
                 QStringList({DbErrorText::sentence(DbError(3021, QStringLiteral("No current record.")),
                                                    folder + QStringLiteral("/orvel2.mdb")),
                              QStringLiteral("disk full")}));
        QCOMPARE(m_prompts->shown().first().icon, Prompt::Icon::Critical);
        QCOMPARE(m_prompts->shown().first().caption, QStringLiteral("Orvel 2"));
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

    void commandLineAnswersWithoutStarting()
    {
        const struct
        {
            QStringList arguments;
            int exitCode;   // -1: the program starts
            QString output, error;
            QString registerName;   // this run's register, never stored
        } cases[] = {
            {{"--help"}, 0, "Usage: orvel2 [options]", {}, {}},
            {{"--version"}, 0, "Orvel 2 " ORVEL_VERSION "\n", {}, {}},
            {{"--bogus"}, 2, {}, "unknown option 'bogus'", {}},
            {{"deadlines.mdb"}, 2, {}, "'deadlines.mdb'", {}},   // a stray argument
            {{"--register"}, 2, {}, "option '--register' needs a value", {}},
            {{"--register", "postgresql://db:port/x"}, 2, {}, "no valid server register", {}},
            {{"-platform", "offscreen", "-reverse"}, -1, {}, {}, {}},   // Qt's own options
            {{}, -1, {}, {}, {}},
            // --register names this run's register: a server as given, a folder made
            // absolute, an orvel2.mdb by its folder.
            {{"--register", "postgresql://db.office/orvel?sslmode=require"}, -1, {}, {},
             "postgresql://db.office/orvel?sslmode=require"},
            {{"--register", "db"}, -1, {}, {}, QDir::currentPath() + "/db"},
            {{"--register", "/srv/db/orvel2.mdb"}, -1, {}, {}, "/srv/db"},
            {{"--register", "/srv/db/old.mdb"}, -1, {}, {}, "/srv/db/old.mdb"},   // another file is a folder's name
        };
        for (const auto &[arguments, exitCode, output, error, registerName] : cases) {
            const CommandLine::Outcome parsed = CommandLine::parse(QStringList{"/usr/bin/orvel2"} + arguments);
            QVERIFY2(parsed.start == (exitCode < 0), qPrintable(arguments.join(u' ') + u' ' + parsed.error));
            QCOMPARE(parsed.registerName, registerName);
            if (parsed.start) {
                QCOMPARE(parsed.output + parsed.error, QString());
                continue;
            }
            QCOMPARE(parsed.exitCode, exitCode);
            QVERIFY2(parsed.output.contains(output) && parsed.error.contains(error), qPrintable(parsed.output + parsed.error));
            QCOMPARE(parsed.output.isEmpty(), exitCode != 0);
            if (arguments == QStringList{"--help"})
                QVERIFY(parsed.output.contains(QStringLiteral("--register R")));
        }
        // The built program passes every answer on alike (one that prints and one that
        // refuses show it does): under a home of its own it prints, ends, and leaves
        // no settings file or database folder behind.
        for (const QStringList arguments : {QStringList{"--help"}, QStringList{"--bogus"}}) {
            const CommandLine::Outcome parsed = CommandLine::parse(QStringList{"/usr/bin/orvel2"} + arguments);
            QTemporaryDir runtime;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("HOME"), m_home->path());
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
            environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
            environment.remove(QStringLiteral("DISPLAY"));
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(m_programFolder + QStringLiteral("/orvel2"), arguments);
            QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
            if (!program.waitForFinished(15000)) {
                program.kill();
                program.waitForFinished();
                QFAIL("the program started instead of answering");
            }
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), parsed.exitCode);
            QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), parsed.output);
            QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), parsed.error);
            QCOMPARE(QDir(m_home->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
        }
    }

    // The program's files lie beside the executable in a build tree and
    // under <prefix>/share/orvel2 once installed; start-up must find them in both.
    void findsTheTemplateWhereTheLayoutPutsIt()
    {
        const QString bin = m_home->filePath(QStringLiteral("bin"));
        const QString shared = m_home->filePath(QStringLiteral("share/orvel2"));
        QVERIFY(QDir().mkpath(bin));
        // Nothing anywhere: the executable's folder, where the missing file is reported.
        QCOMPARE(programFilesFolder(bin), bin);
        // A shared folder without the template is not the program's.
        QVERIFY(QDir().mkpath(shared));
        QCOMPARE(programFilesFolder(bin), bin);
        // Installed: bin/orvel2 and share/orvel2/master.gen.
        QVERIFY(writeFile(shared + QStringLiteral("/master.gen"), {}));
        QCOMPARE(QDir::cleanPath(programFilesFolder(bin)), QDir::cleanPath(shared));
        // A build tree's own template beside the executable comes first.
        QVERIFY(writeFile(bin + QStringLiteral("/master.gen"), {}));
        QCOMPARE(programFilesFolder(bin), bin);
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
        const QString notAFolder = locks.filePath(QStringLiteral("plain file"));
        QVERIFY(writeFile(notAFolder, {}));
        SingleInstance unmade(notAFolder);
        QVERIFY(!unmade.acquired());
        QVERIFY(!unmade.anotherRuns());
        QVERIFY(!unmade.failure().isEmpty());
    }
};

// The program's own application object: its names and its last defence are tested here.
int main(int argc, char *argv[])
{
    OrvelApplication app(argc, argv);
    tst_Startup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_Startup.moc"