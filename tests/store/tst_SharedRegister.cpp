#include "store/Connection.h"
#include "store/CounterpartyStore.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"
#include "store/ImportStore.h"
#include "store/Register.h"
#include "store/RegisterCopy.h"
#include "store/RegisterListener.h"
#include "store/Schema.h"
#include "store/SheetStore.h"
#include "store/TransactionGuard.h"

#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// Several desks on one server register (ORVEL_TEST_REGISTER, scripts/pg-cluster):
// this test and register_child, each with the store's own code and its own
// Register, at the same time; or two connections of this test. And a register
// copied from a file to that server register and back to a new file.
class tst_SharedRegister final : public QObject
{
    Q_OBJECT

private:
    QString m_cs;
    QProcess m_child;
    QTemporaryDir m_dir;

    static void exec(const QString &cs, const QStringList &statements)
    {
        Connection c;
        c.open(cs);
        for (const QString &sql : statements) {
            QSqlQuery q(c.database());
            if (!q.exec(sql))
                throw DbError::fromEngine(q.lastError(), sql);
        }
    }

    // A file register at the latest version in a folder of its own.
    QString newFile(const QString &name)
    {
        const QString folder = m_dir.filePath(name);
        QDir().mkpath(folder);
        const QString cs = copyTemplateTo(folder);
        upgradeSchema(cs);
        return cs;
    }

    // The child's next line of output; empty when none came in time.
    QString childLine(int timeoutMs = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_child.canReadLine() && timer.elapsed() < timeoutMs)
            m_child.waitForReadyRead(100);
        return QString::fromUtf8(m_child.readLine()).trimmed();
    }

    // Sent at once: this side's next steps may not return to the event loop.
    void tell(const QString &command)
    {
        m_child.write((command + u'\n').toUtf8());
        m_child.waitForBytesWritten();
    }

    // A write racing another desk's: true when it went through, false when the
    // server refused it as busy; any other error fails the test.
    static bool passes(const std::function<void()> &write)
    {
        try {
            write();
            return true;
        } catch (const DbError &error) {
            if (!error.isBusy())
                throw;
            return false;
        }
    }

    static DeadlineStore::NewDeadlines recurrence(int members)
    {
        DeadlineStore::NewDeadlines d{.type = -1, .description = QStringLiteral("here"), .groupType = u'm'};
        for (int i = 0; i < members; ++i)
            d.dates.append(QDate(2025, 1, 1).addMonths(i));
        return d;
    }

private slots:
    void init()
    {
        m_cs = qEnvironmentVariable("ORVEL_TEST_REGISTER");
        if (m_cs.isEmpty())
            QSKIP("Needs a server register: ORVEL_TEST_REGISTER (scripts/pg-cluster run).");
        exec(m_cs, {"DROP SCHEMA public CASCADE", "CREATE SCHEMA public"});
        QCOMPARE(upgradeSchema(m_cs), latestSchemaVersion("QPSQL"));
        m_child.start(QStringLiteral(REGISTER_CHILD), {m_cs});
        QVERIFY(m_child.waitForStarted());
        QCOMPARE(childLine(), QStringLiteral("ready"));
    }

    void cleanup()
    {
        m_child.closeWriteChannel();
        if (!m_child.waitForFinished(5000))
            m_child.kill();
        m_child.waitForFinished();
    }

    // What one program saves reaches the other's Register within 2 s, with its
    // sheet and rows; a program does not hear its own notices back.
    void changesReachTheOtherProgram()
    {
        const qint32 row = DeadlineStore(m_cs).createDeadlines(recurrence(1)).rowIds.value(0);
        Register changes;
        RegisterListener listener(changes, m_cs, [] { return 1; });
        QVERIFY(listener.isListening());
        QSignalSpy deadlines(&changes, &Register::deadlinesChanged);

        tell(QStringLiteral("toggle 1 %1").arg(row));
        QTRY_COMPARE_WITH_TIMEOUT(deadlines.count(), 1, 2000);
        QCOMPARE(deadlines.at(0).at(0).toInt(), 1);
        QCOMPARE(deadlines.at(0).at(1).value<QList<qint32>>(), QList<qint32>{row});
        QCOMPARE(childLine(), QStringLiteral("done"));
        QCOMPARE(firstValue(m_cs, QStringLiteral("SELECT TrDone FROM Transactions WHERE TrRowId = %1").arg(row)).toInt(), 1);

        // This side's announcements: the child hears them, this side once only.
        emit changes.deadlinesChanged(1, {row, 7});
        QCOMPARE(childLine(), QStringLiteral("deadlines 1 %1,7").arg(row));
        QList<qint32> many;
        for (qint32 id = 100000; id < 102000; ++id)
            many.append(id);
        emit changes.deadlinesChanged(2, many);
        QCOMPARE(childLine(), QStringLiteral("deadlines 2 all"));
        emit changes.counterpartiesChanged();
        QCOMPARE(childLine(), QStringLiteral("counterparties"));
        QTest::qWait(200);
        QCOMPARE(deadlines.count(), 3);
    }

    // A listening connection the server ended is opened again quietly, and then
    // the active sheet is announced as changed in full: notices sent meanwhile were lost.
    void aLostListenerComesBack()
    {
        Register changes;
        RegisterListener listener(changes, m_cs, [] { return 4; });
        listener.setTimings(100, 100, 400);
        QSignalSpy deadlines(&changes, &Register::deadlinesChanged);
        QSignalSpy listening(&listener, &RegisterListener::listening);
        QVERIFY(listener.isListening());
        // This side's listening connection and the child's.
        QCOMPARE(firstValue(m_cs, "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                                  "WHERE query LIKE 'LISTEN%' AND pid <> pg_backend_pid()").toInt(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(listening.count(), 1, 5000);
        QCOMPARE(deadlines.count(), 1);
        QCOMPARE(deadlines.at(0).at(0).toInt(), 4);
        QVERIFY(deadlines.at(0).at(1).value<QList<qint32>>().isEmpty());
        // It hears again.
        tell(QStringLiteral("toggle 3 1"));
        QTRY_COMPARE_WITH_TIMEOUT(deadlines.count(), 2, 2000);
        QCOMPARE(deadlines.at(1).at(0).toInt(), 3);
    }

    // Both programs create recurrences at the same time, one of them also by an
    // import: every group id is handed out once, each group holds the 3 members
    // of one save.
    void concurrentRecurrencesGetDistinctGroups()
    {
        tell(QStringLiteral("recurrences 25"));
        DeadlineStore store(m_cs);
        for (int i = 0; i < 25; ++i)
            store.createDeadlines(recurrence(3));
        QList<ImportRow> imported;
        for (int i = 0; i < 6; ++i)
            imported.append({.date = QDate(2025, 1 + i % 3, 1), .description = i < 3 ? "A" : "B", .groupKey = 1 + i / 3,
                             .groupRow = 1 + i % 3, .groupSize = 3, .groupType = u'm'});
        QCOMPARE(ImportStore(m_cs).importRows(1, imported).rowIds.size(), 6);
        QCOMPARE(childLine(), QStringLiteral("done"));
        QCOMPARE(firstValue(m_cs, "SELECT count(DISTINCT TrGrpId) FROM Transactions").toInt(), 52);
        QCOMPARE(firstValue(m_cs, "SELECT count(*) FROM (SELECT TrGrpId FROM Transactions GROUP BY TrGrpId "
                                  "HAVING count(*) <> 3 OR count(DISTINCT TrDescription) <> 1) AS mixed").toInt(), 0);
    }

    // Both programs delete members of one recurrence at the same time, each
    // renumbering the rest: the survivors are numbered 1..n of n by date.
    void concurrentDeletesRenumberTheGroup()
    {
        DeadlineStore store(m_cs);
        const DeadlineStore::CreatedDeadlines group = store.createDeadlines(recurrence(120));
        const qint32 groupId = store.readDeadline(group.rowIds.value(0))->groupId;
        QStringList theirs;
        QList<qint32> ours;
        for (int i = 0; i < 100; ++i)
            (i % 2 ? ours.append(group.rowIds.at(i)) : theirs.append(QString::number(group.rowIds.at(i))));
        tell(QStringLiteral("unmember %1 %2").arg(groupId).arg(theirs.join(u' ')));
        for (qint32 row : ours)
            store.deleteFromGroup(row, groupId);
        QCOMPARE(childLine(), QStringLiteral("done"));
        QStringList numbers;
        for (int n = 1; n <= 20; ++n)
            numbers.append(QStringLiteral("%1/20").arg(n));
        QCOMPARE(firstValue(m_cs, "SELECT string_agg(TrGrpRow || '/' || TrGrpMDay, ' ' ORDER BY TrDate) "
                                  "FROM Transactions").toString(),
                 numbers.join(u' '));
    }

    // Ids a save takes before it writes come from the register's sequences: two
    // desks inside their unfinished saves get different sheet ids, and a register
    // that rows were copied into under their own ids hands out ids past them.
    void idsComeFromSequences()
    {
        {
            Connection first;
            Connection second;
            first.open(m_cs);
            second.open(m_cs);
            TransactionGuard firstSave(first);
            TransactionGuard secondSave(second);
            QCOMPARE_NE(SheetStore(first).create("A"), SheetStore(second).create("B"));
        }
        Connection c;
        c.open(m_cs);
        QSqlQuery q(c.database());
        QVERIFY(q.exec("DROP SCHEMA public CASCADE") && q.exec("CREATE SCHEMA public"));
        QList<SchemaScript> older = schemaScripts("QPSQL");
        older.removeIf([](const SchemaScript &script) { return script.version > 3; });
        QCOMPARE(upgradeSchema(c, older), 3);
        QVERIFY(q.exec("INSERT INTO Dbs (DbId, DbName) VALUES (7, 'x')"));
        QVERIFY(q.exec("INSERT INTO Accounts (AcId, AcName) VALUES (5, 'y')"));
        QVERIFY(q.exec("INSERT INTO Transactions (TrRowId, TrDbId, TrGrpId) VALUES (9, 7, 12)"));
        QCOMPARE(upgradeSchema(c, schemaScripts("QPSQL")), latestSchemaVersion("QPSQL"));
        c.close();
        QCOMPARE(SheetStore(m_cs).create("z"), 8);
        QCOMPARE(DeadlineStore(m_cs).nextGroupId(), 13);
        QCOMPARE(CounterpartyStore(m_cs).create("w", {}), 6);
        QCOMPARE(DeadlineStore(m_cs).createDeadlines(recurrence(1)).rowIds, QList<qint32>{10});
    }

    // A client or a sheet deleted on one desk while another desk's save files a
    // deadline under it: the server lets one of the two through, never both; no
    // deadline is left naming a client or a sheet that is gone.
    void aDeleteAndASaveThatNeedsWhatItDeletesDoNotBothPass()
    {
        const qint32 client = CounterpartyStore(m_cs).create(QStringLiteral("Rossi"), {});
        {
            Connection saving;
            saving.open(m_cs);
            TransactionGuard save(saving);
            DeadlineStore::NewDeadlines d = recurrence(1);
            d.acId = client;
            QCOMPARE(DeadlineStore(saving).createDeadlines(d).rowIds.size(), 1);
            bool deleted = false;
            passes([&] { deleted = CounterpartyStore(m_cs).remove(client); });
            QVERIFY(deleted != passes([&] { save.commit(); }));
        }
        const qint32 sheet = SheetStore(m_cs).create(QStringLiteral("Casa"));
        Connection deleting;
        deleting.open(m_cs);
        TransactionGuard removal(deleting);
        SheetStore(deleting).remove(sheet);
        DeadlineStore::NewDeadlines d = recurrence(1);
        d.sheetId = sheet;
        const bool saved = passes([&] { DeadlineStore(m_cs).createDeadlines(d); });
        QVERIFY(passes([&] { removal.commit(); }) != saved);
        QCOMPARE(firstValue(m_cs, "SELECT count(*) FROM Transactions LEFT JOIN Accounts ON AcId = TrAcId "
                                  "LEFT JOIN Dbs ON DbId = TrDbId WHERE (TrAcId <> 0 AND AcId IS NULL) OR DbId IS NULL")
                     .toInt(),
                 0);
    }

    // The editor of one desk saves over a change another desk saved after it
    // read the row: the conflict is reported and nothing is written.
    void aConflictingEditIsReported()
    {
        DeadlineStore store(m_cs);
        const qint32 row = store.createDeadlines(recurrence(1)).rowIds.value(0);
        const DeadlineStore::StoredDeadline asRead = *store.readDeadline(row);
        QCOMPARE(DeadlineStore(m_cs).updateDeadline(asRead, {.description = QStringLiteral("theirs")}).outcome,
                 DeadlineStore::UpdateOutcome::Written);
        const DeadlineStore::UpdateResult result = store.updateDeadline(asRead, {.description = QStringLiteral("ours")});
        QCOMPARE(result.outcome, DeadlineStore::UpdateOutcome::Conflict);
        QCOMPARE(result.conflicts, QList<DeadlineStore::EditedColumn>{DeadlineStore::EditedColumn::Description});
        QCOMPARE(store.readDeadline(row)->description, QStringLiteral("theirs"));
    }

    // File -> server -> file: the same rows, the same totals, counters past the
    // copied ids, the original untouched; a second copy into the filled server
    // register is refused and changes nothing. A copy whose totals differ from the
    // original's (a trigger of the target changes every amount it is given) leaves
    // nothing behind on either target.
    void copiesAWholeRegisterThereAndBack()
    {
        const QString original = newFile("original");
        exec(original,
             {"DELETE FROM Dbs",
              "INSERT INTO Dbs (DbId, DbName) VALUES (1, 'Deadlines'), (2, 'Casa d''Anna'), (5, 'Größe €')",
              "INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (1, 'Rossi', NULL), (2, 'Bianchi', 'a\tb'), "
              "(4, 'l''altro', '')",
              "INSERT INTO Transactions (TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, "
              "TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId) VALUES "
              "(1, 1, 1, 0, '2024-01-10', 'l''affitto \"Via\tRoma\"', 0, 12345, 12345, 'n', 0, 0, NULL, 0), "
              "(2, 1, -1, 1, '9999-12-31', '', 4, 9223372036854775807, -9223372036854775807, 'n', 0, 0, '', 0), "
              "(3, 2, -1, 0, '2024-01-31', 'r', 1, 125000, -125000, 'm', 1, 3, 'x\ny', 9), "
              "(4, 2, -1, 1, '2024-02-29', 'r', 1, 125000, -125000, 'm', 2, 3, NULL, 9), "
              "(6, 5, -2, 0, '1900-03-01', 'Größe', 0, 0, 0, 'm', 3, 3, 'ü', 9), "
              "(9, 5, 1, 0, NULL, NULL, 2, 1, 1, 'n', 0, 0, NULL, 0)"});
        const QString originalPath = Database::dataSource(original);
        const QByteArray before = fileDigest(originalPath);

        exec(m_cs, {"CREATE FUNCTION nudge() RETURNS trigger AS $$ BEGIN NEW.TrValue := NEW.TrValue - 1; "
                    "RETURN NEW; END $$ LANGUAGE plpgsql",
                    "CREATE TRIGGER nudge BEFORE INSERT ON Transactions FOR EACH ROW EXECUTE FUNCTION nudge()"});
        const RegisterCopy::Outcome differs = RegisterCopy::toServer(original, m_cs);
        QCOMPARE(differs.result, RegisterCopy::Outcome::Result::Differs);
        QCOMPARE(differs.target.deadlines(), 6);
        QCOMPARE(firstValue(m_cs, "SELECT COUNT(*) FROM Transactions").toLongLong(), 0);
        QCOMPARE(firstValue(m_cs, "SELECT COUNT(*) FROM Dbs").toLongLong(), 1);
        exec(m_cs, {"DROP TRIGGER nudge ON Transactions"});
        const QString nudging = newFile("nudging");
        exec(nudging, {"CREATE TRIGGER nudge AFTER INSERT ON Transactions BEGIN UPDATE Transactions "
                       "SET TrValue = TrValue - 1 WHERE TrRowId = NEW.TrRowId; END"});
        const QString nudged = m_dir.filePath("nudged.mdb");
        QVERIFY(QFile(nudged).open(QIODevice::WriteOnly));
        QCOMPARE(RegisterCopy::toFile(original, nudged, Database::dataSource(nudging)).result,
                 RegisterCopy::Outcome::Result::Differs);
        QCOMPARE(QFileInfo(nudged).size(), 0);
        QVERIFY(!QFile::exists(nudged + ".copying"));

        const RegisterCopy::Outcome up = RegisterCopy::toServer(original, m_cs);
        QVERIFY(up.ok());
        QCOMPARE(up.source.values.size(), 25);
        QCOMPARE(up.target, up.source);
        QCOMPARE(up.source.deadlines(), 6);
        QCOMPARE(up.source.counterparties(), 3);
        QCOMPARE(up.source.sheets(), 3);

        const QString back = m_dir.filePath("back.mdb");
        const RegisterCopy::Outcome down =
            RegisterCopy::toFile(m_cs, back, QDir(programFolder()).filePath("master.gen"));
        QVERIFY(down.ok());
        QCOMPARE(down.target, up.source);
        const QString backString = Database::connectionString(m_dir.path()).replace(Database::FileName, "back.mdb");
        QCOMPARE(storedTables(backString), storedTables(original));
        QVERIFY(!QFile::exists(back + ".copying"));
        QCOMPARE(fileDigest(originalPath), before);

        // What a desk creates next on the server takes ids past the copied ones.
        QCOMPARE(DeadlineStore(m_cs).nextGroupId(), 10);
        QCOMPARE(CounterpartyStore(m_cs).create("Verdi", QString()), 5);
        QCOMPARE(SheetStore(m_cs).create("Nuovo"), 6);
        QCOMPARE(firstValue(m_cs, "INSERT INTO Transactions (TrDbId) VALUES (1) RETURNING TrRowId").toLongLong(), 10);

        const RegisterCopy::Outcome again = RegisterCopy::toServer(original, m_cs);
        QCOMPARE(again.result, RegisterCopy::Outcome::Result::TargetNotEmpty);
        QCOMPARE(firstValue(m_cs, "SELECT COUNT(*) FROM Transactions").toLongLong(), 7);
        QCOMPARE(firstValue(m_cs, "SELECT COUNT(*) FROM Dbs").toLongLong(), 4);
        QCOMPARE(fileDigest(originalPath), before);
    }
};

QTEST_GUILESS_MAIN(tst_SharedRegister)
#include "tst_SharedRegister.moc"
