#include "store/DatabaseCheck.h"

#include "../support/OtherProgram.h"
#include "../support/TestDatabase.h"

#include <QElapsedTimer>
#include <QtTest>

#include <unistd.h>

// Damaged, locked and unreachable files are each named for what they are, and a
// check never changes a byte of the file.
class tst_DatabaseCheck final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_cs;
    QString m_path;

    // Runs statements on the file directly, as another tool would.
    void alter(const QStringList &statements)
    {
        OtherProgram tool(m_path);
        for (const QString &sql : statements)
            QVERIFY2(tool.exec(sql), qPrintable(sql + ": " + tool.lastError()));
    }

    // Checks the file and returns the problem; fails the test when the file changed.
    DatabaseProblem checkUnchanged()
    {
        const QByteArray before = fileDigest(m_path);
        const DatabaseProblem problem = DatabaseCheck::check(m_cs);
        [&] { QCOMPARE(fileDigest(m_path), before); }();
        return problem;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_cs = copyTemplateTo(m_dir.path());
        QVERIFY2(!m_cs.isEmpty(), "master.gen not found; is ORVEL_PROGRAM_FOLDER set?");
        m_path = QDir(m_dir.path()).filePath(QStringLiteral("orvel2.mdb"));
    }

    void namesWhatIsMissingOrOfTheWrongKind_data()
    {
        QTest::addColumn<QStringList>("statements");   // run on the template by another tool
        QTest::addColumn<int>("damage");               // -1: the file is fine
        QTest::addColumn<QString>("named");            // table|column|detail
        using D = DatabaseProblem::Damage;
        QTest::newRow("the template") << QStringList() << -1 << "||";
        // An older file lacks the group column: the upgrade adds it, it is no damage.
        QTest::newRow("an older file") << QStringList{"DROP INDEX TrGrpIdIndex", "ALTER TABLE Transactions DROP COLUMN TrGrpId"}
                                       << -1 << "||";
        QTest::newRow("missing column") << QStringList{"DROP INDEX TrDbIdDate", "ALTER TABLE Transactions DROP COLUMN TrDate"}
                                        << int(D::MissingColumn) << "Transactions|TrDate|";
        QTest::newRow("wrong kind") << QStringList{"ALTER TABLE Transactions RENAME COLUMN TrValue TO TrOld",
                                                   "ALTER TABLE Transactions ADD COLUMN TrValue VARCHAR(20)"}
                                    << int(D::WrongKind) << "Transactions|TrValue|VARCHAR(20)";
        QTest::newRow("missing table") << QStringList{"DROP TABLE Accounts"} << int(D::MissingTable) << "Accounts||";
        QTest::newRow("no sheet") << QStringList{"DELETE FROM Dbs"} << int(D::NoSheet) << "Dbs||";
    }

    void namesWhatIsMissingOrOfTheWrongKind()
    {
        QFETCH(QStringList, statements);
        QFETCH(int, damage);
        QFETCH(QString, named);
        alter(statements);
        const DatabaseProblem p = checkUnchanged();
        QCOMPARE(p.kind, damage < 0 ? DatabaseProblem::Kind::None : DatabaseProblem::Kind::Damaged);
        QCOMPARE(damage < 0 ? -1 : int(p.damage), damage);
        QCOMPARE(QStringList({p.table, p.column, p.detail}).join(u'|'), named);
    }

    void findsDamage_data()
    {
        QTest::addColumn<QString>("harm");
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("detail");
        QTest::newRow("a page overwritten") << "overwrite" << int(DatabaseProblem::Damage::Pages) << QString();
        // The engine's quick check passes this file; the rows read, an index disagrees.
        QTest::newRow("cut short by one byte")
            << "cut" << int(DatabaseProblem::Damage::Indexes) << "missing from index TrGrpIdIndex";
        QTest::newRow("not a database") << "junk" << int(DatabaseProblem::Damage::NotADatabase) << QString();
    }

    void findsDamage()
    {
        QFETCH(QString, harm);
        QFETCH(int, damage);
        QFETCH(QString, detail);
        const int rows = harm == QStringLiteral("cut") ? 300 : 3000;
        QStringList statements{"BEGIN"};
        for (int i = 0; i < rows; ++i)
            statements << QStringLiteral("INSERT INTO Transactions (TrDbId, TrDescription, TrNotes, TrGrpId) "
                                         "VALUES (1, 'row %1', '%2', %3)")
                              .arg(i)
                              .arg(QString(harm == QStringLiteral("cut") ? 8 : 60, u'n'))
                              .arg(i % 50 + 1);
        statements << "COMMIT";
        alter(statements);
        QVERIFY(checkUnchanged().ok());

        QFile f(m_path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 pages = f.size() / 4096;
        if (harm == QStringLiteral("overwrite")) {
            QVERIFY(pages > 20);
            f.seek(4096 * (pages / 2) + 8);   // the middle of a page of the deadlines, past its header
            f.write(QByteArray(2000, '\x5a'));
        } else if (harm == QStringLiteral("cut")) {
            QVERIFY(f.resize(f.size() - 1));
        } else {
            QVERIFY(f.resize(0));
            f.write(QByteArrayLiteral("Standard Jet DB\0 not what we read").repeated(200));
        }
        f.close();
        const DatabaseProblem p = checkUnchanged();
        QCOMPARE(p.kind, DatabaseProblem::Kind::Damaged);
        QCOMPARE(int(p.damage), damage);
        QVERIFY(!p.detail.isEmpty());
        if (!detail.isEmpty())
            QVERIFY2(p.detail.contains(detail), qPrintable(p.detail));
    }

    void reportsALockHeldElsewhereWithinAboutASecond()
    {
        {
            OtherProgram holder(m_path);
            QVERIFY(holder.lock());
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(checkUnchanged().kind, DatabaseProblem::Kind::Busy);
            QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        }
        QVERIFY(checkUnchanged().ok());
    }

    void namesFilesItCannotReach()
    {
        QFile::remove(m_path);
        QCOMPARE(DatabaseCheck::check(m_cs).kind, DatabaseProblem::Kind::Missing);
        QVERIFY(!QFileInfo::exists(m_path));

        QVERIFY(QFile::link(m_dir.filePath("gone.mdb"), m_path));
        DatabaseProblem p = DatabaseCheck::check(m_cs);
        QCOMPARE(p.kind, DatabaseProblem::Kind::DanglingLink);
        QCOMPARE(p.detail, m_dir.filePath("gone.mdb"));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("gone.mdb")));
        QFile::remove(m_path);

        QVERIFY(QDir().mkdir(m_path));
        QCOMPARE(DatabaseCheck::check(m_cs).kind, DatabaseProblem::Kind::NotAFile);
        QDir().rmdir(m_path);

        // A file where the folder should be is said to be one, not a matter of permissions.
        QTemporaryDir other;
        QFile standIn(other.filePath("Orvel2DB"));
        QVERIFY(standIn.open(QIODevice::WriteOnly));
        standIn.close();
        QCOMPARE(DatabaseCheck::check(Database::connectionString(standIn.fileName())).kind,
                 DatabaseProblem::Kind::FolderIsAFile);
        QCOMPARE(DatabaseCheck::inspectFolder(standIn.fileName()).kind, DatabaseProblem::Kind::FolderIsAFile);
        QCOMPARE(DatabaseCheck::inspectFolder(other.filePath("unplugged")).kind, DatabaseProblem::Kind::FolderMissing);
        QCOMPARE(DatabaseCheck::inspectFolder(QStringLiteral("relative/folder")).kind,
                 DatabaseProblem::Kind::FolderMissing);
        QVERIFY(DatabaseCheck::inspectFolder(other.path()).ok());

        copyTemplateTo(m_dir.path());
        if (geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        QFile::setPermissions(m_path, QFileDevice::WriteOwner);
        QCOMPARE(checkUnchanged().kind, DatabaseProblem::Kind::Unreadable);
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner);
        QCOMPARE(DatabaseCheck::check(m_cs).kind, DatabaseProblem::Kind::FolderUnreachable);
        QCOMPARE(DatabaseCheck::inspectFolder(m_dir.path()).kind, DatabaseProblem::Kind::FolderUnreachable);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QCOMPARE(DatabaseCheck::inspectFolder(m_dir.path()).kind, DatabaseProblem::Kind::FolderReadOnly);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(tst_DatabaseCheck)
#include "tst_DatabaseCheck.moc"
