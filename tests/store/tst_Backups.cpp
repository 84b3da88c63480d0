#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "startup/BackupSchedule.h"
#include "startup/RestoreDialog.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/Texts.h"
#include "store/Backups.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/Register.h"

#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "SampleData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

// Backups of the register: checked before they are kept, rotated, restored, and
// safe from a crash at any moment.
class tst_Backups final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;     // the database folder
    QString m_database;   // orvel2.mdb in it
    QString m_backups;    // "backups" beside it

    QString connection() const { return Database::connectionString(m_folder); }
    int registerDeadlines() const { return firstValue(connection(), QStringLiteral("SELECT COUNT(*) FROM Transactions")).toInt(); }

    void makeRegister(int rows)
    {
        SampleData::createDatabase(programFolder() + QStringLiteral("/master.gen"), m_database,
                                   {.rows = rows, .today = QDate(2026, 3, 2)}, true);
    }

    static QDateTime at(int minute, int second = 0) { return QDateTime(QDate(2026, 3, 2), QTime(9, minute, second)); }

    QStringList backupFiles(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    static int mode(const QString &path)
    {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    }

    std::unique_ptr<Session> session()
    {
        auto made = std::make_unique<Session>(SettingsStore(m_dir->filePath(QStringLiteral("settings.ini"))));
        made->setDatabaseFolder(m_folder);
        made->loadActiveSheet();
        return made;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(programFolder() + QStringLiteral("/master.gen")), "the template must be built");
        Texts::setLanguage(Language::English);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_folder = m_dir->filePath(QStringLiteral("Orvel2DB"));
        QVERIFY(QDir().mkpath(m_folder));
        m_database = m_folder + QStringLiteral("/orvel2.mdb");
        m_backups = Backups::defaultFolder(m_folder);
        Clock::pin({});
    }

    // A backup is kept only once its check says ok, only its owner reads it, and
    // the newest N stay; a copy of a damaged register is refused and deleted.
    void backupsAreCheckedPrivateAndRotated()
    {
        makeRegister(400);
        const mode_t previous = umask(022);
        const Backups::Outcome first = Backups::make(m_database, m_backups, at(30), 3);
        umask(previous);
        QVERIFY2(first.ok(), qPrintable(first.detail));
        QCOMPARE(first.path, m_backups + QStringLiteral("/orvel2-20260302-093000.mdb"));
        QCOMPARE(mode(m_backups), 0700);
        QCOMPARE(mode(first.path), 0600);
        QCOMPARE(Backups::verify(first.path), QString());

        // The same second again takes the next one; a copy cut short by a crash goes.
        QVERIFY(writeFile(m_backups + QStringLiteral("/orvel2-20260302-092000.mdb.partial"), "half"));
        QVERIFY(writeFile(m_backups + QStringLiteral("/notes.txt"), "mine"));
        QCOMPARE(Backups::make(m_database, m_backups, at(30), 3).path,
                 m_backups + QStringLiteral("/orvel2-20260302-093001.mdb"));
        for (int minute = 31; minute <= 34; ++minute)
            QVERIFY(Backups::make(m_database, m_backups, at(minute), 3).ok());
        QCOMPARE(backupFiles(m_backups), (QStringList{"notes.txt", "orvel2-20260302-093200.mdb",
                                                      "orvel2-20260302-093300.mdb", "orvel2-20260302-093400.mdb"}));

        const QList<Backups::Entry> listed = Backups::list(m_backups);
        QCOMPARE(listed.size(), 3);
        QCOMPARE(listed.first().made, at(34));
        QCOMPARE(listed.last().made, at(32));
        QCOMPARE(listed.first().deadlines, 400);
        QCOMPARE(listed.first().sheets, 3);
        QCOMPARE(listed.first().size, QFileInfo(m_database).size());

        // A spoiled copy's check is shown refusing it by the restore test below.
        QVERIFY(!Backups::verify(m_dir->filePath(QStringLiteral("none.mdb"))).isEmpty());

        // A register whose last page is gone copies page for page, but the copy's
        // check finds the damage: it is deleted, the user is told, the others stay.
        const auto digests = [this] {
            QByteArray all;
            for (const Backups::Entry &entry : Backups::list(m_backups))
                all += fileDigest(entry.path);
            return all;
        };
        const QByteArray kept = digests();
        {
            QFile file(m_database);
            QVERIFY(file.resize(file.size() - 1));
        }
        const Backups::Outcome refused = Backups::make(m_database, m_backups, at(40), 3);
        QCOMPARE(refused.failure, Backups::Outcome::Failure::Damaged);
        QVERIFY(!QFile::exists(refused.path));
        QCOMPARE(backupFiles(m_backups).size(), 4);
        QCOMPARE(digests(), kept);
        QVERIFY(backupFailureSentence(refused).contains(QDir::toNativeSeparators(refused.path)));
        QVERIFY(backupFailureSentence(refused).contains(refused.detail));
    }

    // Restoring backs up the register as it is, then puts the backup in its place;
    // a damaged backup is refused, a damaged register is kept byte for byte.
    void restoreReplacesTheRegisterAfterBackingItUp()
    {
        makeRegister(300);
        const QString backup = Backups::make(m_database, m_backups, at(10), 0).path;
        addDeadlines(connection(), 25);
        QFile::setPermissions(m_database, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        const QByteArray backupDigest = fileDigest(backup);

        const Backups::Outcome restored = Backups::restore(m_database, backup, m_backups, at(20));
        QVERIFY2(restored.ok(), qPrintable(restored.detail));
        QCOMPARE(registerDeadlines(), 300);
        QCOMPARE(restored.path, m_backups + QStringLiteral("/orvel2-20260302-092000.mdb"));
        QCOMPARE(Backups::list(m_backups).first().deadlines, 325);
        QCOMPARE(fileDigest(backup), backupDigest);
        QCOMPARE(mode(m_database), 0640);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList{"orvel2.mdb"});
        QVERIFY(DatabaseCheck::check(connection()).ok());

        // A spoiled backup is refused before anything is touched.
        const QString spoiled = m_backups + QStringLiteral("/orvel2-20260302-093000.mdb");
        // 8000 bytes of a page overwritten, as a failing disk would.
        QVERIFY(writeFile(spoiled, fileBytes(backup).replace(4096 + 8, 8000, QByteArray(8000, 'Z'))));
        const QByteArray before = fileDigest(m_database);
        const Backups::Outcome refused = Backups::restore(m_database, spoiled, m_backups, at(31));
        QCOMPARE(refused.failure, Backups::Outcome::Failure::Damaged);
        QCOMPARE(refused.path, spoiled);
        QCOMPARE(fileDigest(m_database), before);
        QCOMPARE(Backups::list(m_backups).size(), 3);

        // A register the engine cannot read is kept beside itself as it was.
        const QByteArray junk = QByteArrayLiteral("not a database at all ").repeated(300);
        QVERIFY(writeFile(m_database, junk));
        const Backups::Outcome rescued = Backups::restore(m_database, backup, m_backups, at(40), true);
        QVERIFY2(rescued.ok(), qPrintable(rescued.detail));
        QCOMPARE(rescued.path, m_folder + QStringLiteral("/orvel2 before restore 2026-03-02 094000.mdb"));
        QCOMPARE(fileBytes(rescued.path), junk);
        QCOMPARE(registerDeadlines(), 300);
    }

    // Killed at any moment of a backup or a restore, the register opens with its
    // rows and every backup there was is as it was; what is listed checks good.
    void killAtAnyMomentLeavesEverythingIntact()
    {
        for (const bool restore : {false, true}) {
            init();
            makeRegister(6000);
            const QString older = Backups::make(m_database, m_backups, at(1), 0).path;
            addDeadlines(connection(), 4000);
            QVERIFY(Backups::make(m_database, m_backups, at(2), 0).ok());
            const int rows = registerDeadlines();
            const QString original = m_dir->filePath(QStringLiteral("original.mdb"));
            QVERIFY(QFile::copy(m_database, original));

            int killed = 0;
            int finished = 0;
            for (const int delayUs : {0, 500, 2000, 5000, 10000, 20000, 40000, 70000, 110000, 160000, 250000, 1000000}) {
                QMap<QString, QByteArray> earlier;
                for (const Backups::Entry &entry : Backups::list(m_backups))
                    earlier.insert(entry.path, fileDigest(entry.path));
                QProcess child;
                const QStringList arguments = restore ? QStringList{"restore", m_database, older, m_backups}
                                                      : QStringList{"make", m_database, m_backups};
                child.start(QStringLiteral(BACKUP_CHILD), arguments);
                QVERIFY(child.waitForStarted());
                QVERIFY(child.waitForReadyRead(10000));
                ::usleep(useconds_t(delayUs));
                ::kill(pid_t(child.processId()), SIGKILL);
                QVERIFY(child.waitForFinished(10000));
                if (child.exitStatus() == QProcess::CrashExit)
                    ++killed;
                else
                    ++finished;

                const QString where = QStringLiteral("%1 killed after %2 us").arg(restore ? "restore" : "backup").arg(delayUs);
                const DatabaseProblem problem = DatabaseCheck::check(connection());
                QVERIFY2(problem.ok(), qPrintable(where + u' ' + problem.detail));
                const int now = registerDeadlines();
                QVERIFY2(now == rows || (restore && now == 6000), qPrintable(where + QStringLiteral(": %1 rows").arg(now)));
                for (auto it = earlier.cbegin(); it != earlier.cend(); ++it)
                    QVERIFY2(fileDigest(it.key()) == it.value(), qPrintable(where + u' ' + it.key()));
                for (const Backups::Entry &entry : Backups::list(m_backups))
                    QVERIFY2(Backups::verify(entry.path).isEmpty(), qPrintable(where + u' ' + entry.path));
                if (restore) {
                    QFile::remove(m_database);
                    QVERIFY(QFile::copy(original, m_database));
                }
            }
            QVERIFY2(killed > 0 && finished > 0, qPrintable(QStringLiteral("%1 killed, %2 finished").arg(killed).arg(finished)));
            // What a kill left behind is cleared by the next backup.
            QVERIFY(Backups::make(m_database, m_backups, at(59), 0).ok());
            QVERIFY(backupFiles(m_backups).filter(QStringLiteral(".partial")).isEmpty());
        }
    }

    // At the first start of each day and at exit after a change, as the
    // preferences say; a failure is a sentence naming the folder, and the day is
    // tried again.
    void backupsAtFirstStartOfEachDayAndAtExitAfterAChange()
    {
        makeRegister(50);
        auto run = session();
        Clock::pin(QDate(2026, 3, 2));
        {
            BackupSchedule schedule(*run);
            QCOMPARE(schedule.atStart(at(1)), QString());
            QCOMPARE(schedule.atExit(at(2)), QString());
        }
        QCOMPARE(Backups::list(m_backups).size(), 1);
        {
            BackupSchedule schedule(*run);
            QCOMPARE(schedule.atStart(at(3)), QString());
            emit run->deadlineRegister().deadlinesChanged(1, {});
            QCOMPARE(schedule.atExit(at(4)), QString());
            QCOMPARE(schedule.atExit(at(5)), QString());
        }
        QCOMPARE(Backups::list(m_backups).size(), 2);

        // Another folder, two kept, a new day.
        const QString elsewhere = m_dir->filePath(QStringLiteral("stick/copies"));
        run->settings().setText(Setting::BackupFolder, elsewhere);
        run->settings().setInteger(Setting::BackupsKept, 2);
        for (int day = 3; day <= 5; ++day) {
            Clock::pin(QDate(2026, 3, day));
            BackupSchedule schedule(*run);
            QCOMPARE(schedule.atStart(QDateTime(QDate(2026, 3, day), QTime(8, 0))), QString());
        }
        QCOMPARE(backupFiles(elsewhere), (QStringList{"orvel2-20260304-080000.mdb", "orvel2-20260305-080000.mdb"}));

        // Off: nothing at all.
        run->settings().setInteger(Setting::BackupsOn, 0);
        Clock::pin(QDate(2026, 3, 6));
        {
            BackupSchedule schedule(*run);
            QCOMPARE(schedule.atStart(at(1)), QString());
            emit run->deadlineRegister().counterpartiesChanged();
            QCOMPARE(schedule.atExit(at(2)), QString());
        }
        QCOMPARE(backupFiles(elsewhere).size(), 2);

        // A file where the folder should be: said, and tried again at the next start.
        run->settings().setInteger(Setting::BackupsOn, 1);
        const QString blocked = m_dir->filePath(QStringLiteral("blocked"));
        QVERIFY(writeFile(blocked, "x"));
        run->settings().setText(Setting::BackupFolder, blocked);
        {
            BackupSchedule schedule(*run);
            const QString told = schedule.atStart(at(3));
            QVERIFY2(told.startsWith(Texts::text(2832).arg(QDir::toNativeSeparators(blocked), QString()).left(20)),
                     qPrintable(told));
            QVERIFY(told.contains(QDir::toNativeSeparators(blocked)));
        }
        QCOMPARE(run->settings().text(Setting::BackupDay), QStringLiteral("2026-03-05"));
        Clock::pin({});
    }

    // The list shows the backups newest first with what they hold; Enter on the
    // question restores nothing, Yes restores and every window hears of it.
    void restoreDialogAsksThenRestores()
    {
        makeRegister(120);
        QVERIFY(Backups::make(m_database, m_backups, at(1), 0).ok());
        addDeadlines(connection(), 30);
        QVERIFY(Backups::make(m_database, m_backups, at(2), 0).ok());
        addDeadlines(connection(), 5);
        auto run = session();
        Prompt::ScriptedPrompts prompts;   // installed while it lives
        QSignalSpy shown(&run->deadlineRegister(), &Register::activeSheetChanged);

        RestoreDialog dialog(*run);
        auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("backupList"));
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(2), QLocale().toString(150));
        QCOMPARE(list->topLevelItem(1)->text(2), QLocale().toString(120));
        QCOMPARE(list->topLevelItem(1)->text(3), QLocale().toString(3));
        list->setCurrentItem(list->topLevelItem(1));

        prompts.queueEnter();
        dialog.restoreChosen();
        QCOMPARE(prompts.shown().size(), 1);
        QCOMPARE(prompts.shown().first().enterAnswer, Prompt::Answer::No);
        QCOMPARE(registerDeadlines(), 155);
        QCOMPARE(shown.count(), 0);

        prompts.queueAnswer(Prompt::Answer::Yes);
        dialog.restoreChosen();
        QCOMPARE(registerDeadlines(), 120);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(prompts.shown().size(), 3);
        QVERIFY(prompts.shown().at(2).text.contains(QDir::toNativeSeparators(Backups::list(m_backups).first().path)));
    }
};

QTEST_MAIN(tst_Backups)
#include "tst_Backups.moc"
