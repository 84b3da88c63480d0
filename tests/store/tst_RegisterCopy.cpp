#include "store/CounterpartyStore.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "store/RegisterCopy.h"
#include "store/SheetStore.h"
#include "store/Schema.h"

#include "../support/TestDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// A register copied from a file to the server register of ORVEL_TEST_REGISTER
// (scripts/pg-cluster) and back to a new file.
class tst_RegisterCopy final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_server;

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

    static qint64 number(const QString &cs, const QString &sql)
    {
        Connection c;
        c.open(cs);
        QSqlQuery q(c.database());
        return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
    }

    // Every row of a file's three tables, each value quoted as SQLite stores it.
    static QStringList storedTables(const QString &cs)
    {
        Connection c;
        c.open(cs);
        QSqlQuery q(c.database());
        QStringList rows;
        for (const char *sql :
             {"SELECT quote(TrRowId), quote(TrDbId), quote(TrType), quote(TrDone), quote(TrDate), quote(TrDescription), "
              "quote(TrAcId), quote(TrValue), quote(TrBalance), quote(TrGrpType), quote(TrGrpRow), quote(TrGrpMDay), "
              "quote(TrNotes), quote(TrGrpId) FROM Transactions ORDER BY TrRowId",
              "SELECT quote(AcId), quote(AcName), quote(AcNotes) FROM Accounts ORDER BY AcId",
              "SELECT quote(DbId), quote(DbName) FROM Dbs ORDER BY DbId"}) {
            if (!q.exec(sql))
                return {q.lastError().text()};
            while (q.next()) {
                QStringList fields;
                for (int i = 0; i < q.record().count(); ++i)
                    fields.append(q.value(i).toString());
                rows.append(fields.join(u'|'));
            }
        }
        return rows;
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

private slots:
    void init()
    {
        m_server = qEnvironmentVariable("ORVEL_TEST_REGISTER");
        if (m_server.isEmpty())
            QSKIP("ORVEL_TEST_REGISTER names no server register (scripts/pg-cluster run)");
        QVERIFY(m_dir.isValid());
        // Emptied table by table, not by schema: the test also runs as a role that
        // owns only its register's schema.
        exec(m_server, {"DO $$ DECLARE t record; BEGIN FOR t IN SELECT tablename FROM pg_tables "
                        "WHERE schemaname = current_schema() LOOP EXECUTE format('DROP TABLE %I CASCADE', t.tablename); "
                        "END LOOP; END $$",
                        "DROP SEQUENCE IF EXISTS trgrpid_seq", "DROP FUNCTION IF EXISTS nudge()"});
    }

    // File -> server -> file: the same rows, the same totals, counters past the
    // copied ids, the original untouched; a second copy into the filled server
    // register is refused and changes nothing.
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

        const RegisterCopy::Outcome up = RegisterCopy::toServer(original, m_server);
        QVERIFY(up.ok());
        QCOMPARE(up.source.values.size(), 25);
        QCOMPARE(up.target, up.source);
        QCOMPARE(up.source.deadlines(), 6);
        QCOMPARE(up.source.counterparties(), 3);
        QCOMPARE(up.source.sheets(), 3);

        const QString back = m_dir.filePath("back.mdb");
        const RegisterCopy::Outcome down =
            RegisterCopy::toFile(m_server, back, QDir(programFolder()).filePath("master.gen"));
        QVERIFY(down.ok());
        QCOMPARE(down.target, up.source);
        const QString backString = Database::connectionString(m_dir.path()).replace(Database::FileName, "back.mdb");
        QCOMPARE(storedTables(backString), storedTables(original));
        QVERIFY(!QFile::exists(back + ".copying"));
        QCOMPARE(fileDigest(originalPath), before);

        // What a desk creates next on the server takes ids past the copied ones.
        QCOMPARE(DeadlineStore(m_server).nextGroupId(), 10);
        QCOMPARE(CounterpartyStore(m_server).create("Verdi", QString()), 5);
        QCOMPARE(SheetStore(m_server).create("Nuovo"), 6);
        QCOMPARE(number(m_server, "INSERT INTO Transactions (TrDbId) VALUES (1) RETURNING TrRowId"), 10);

        const RegisterCopy::Outcome again = RegisterCopy::toServer(original, m_server);
        QCOMPARE(again.result, RegisterCopy::Outcome::Result::TargetNotEmpty);
        QCOMPARE(number(m_server, "SELECT COUNT(*) FROM Transactions"), 7);
        QCOMPARE(number(m_server, "SELECT COUNT(*) FROM Dbs"), 4);
        QCOMPARE(fileDigest(originalPath), before);
    }

    // A copy whose totals differ from the original's (here a trigger of the target
    // changes every amount it is given) leaves nothing behind on either target.
    void aCopyThatDiffersIsNotKept()
    {
        const QString original = newFile("original");
        exec(original, {"INSERT INTO Transactions (TrDbId, TrType, TrDate, TrValue, TrBalance, TrGrpType) "
                        "VALUES (1, 1, '2024-05-06', 10000, 10000, 'n')"});
        upgradeSchema(m_server);
        exec(m_server, {"CREATE FUNCTION nudge() RETURNS trigger AS $$ BEGIN NEW.TrValue := NEW.TrValue + 1; "
                        "RETURN NEW; END $$ LANGUAGE plpgsql",
                        "CREATE TRIGGER nudge BEFORE INSERT ON Transactions FOR EACH ROW EXECUTE FUNCTION nudge()"});
        const RegisterCopy::Outcome up = RegisterCopy::toServer(original, m_server);
        QCOMPARE(up.result, RegisterCopy::Outcome::Result::Differs);
        QCOMPARE(up.target.deadlines(), 1);
        QCOMPARE(number(m_server, "SELECT COUNT(*) FROM Transactions"), 0);
        QCOMPARE(number(m_server, "SELECT COUNT(*) FROM Dbs WHERE DbId = 1 AND DbName = 'Deadlines'"), 1);

        const QString nudging = newFile("nudging");
        exec(nudging, {"CREATE TRIGGER nudge AFTER INSERT ON Transactions BEGIN UPDATE Transactions "
                       "SET TrValue = TrValue + 1 WHERE TrRowId = NEW.TrRowId; END"});
        const QString back = m_dir.filePath("back.mdb");
        QVERIFY(QFile(back).open(QIODevice::WriteOnly));
        const RegisterCopy::Outcome down = RegisterCopy::toFile(original, back, Database::dataSource(nudging));
        QCOMPARE(down.result, RegisterCopy::Outcome::Result::Differs);
        QCOMPARE(QFileInfo(back).size(), 0);
        QVERIFY(!QFile::exists(back + ".copying"));
    }
};

QTEST_GUILESS_MAIN(tst_RegisterCopy)
#include "tst_RegisterCopy.moc"
