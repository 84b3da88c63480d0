#include "store/Database.h"
#include "store/Schema.h"
#include "store/Statements.h"

#include "../support/TestDatabase.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// The numbered scripts that bring any database to the current schema.
class tst_Schema final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_cs;

    QString path() const { return QDir(m_dir.path()).filePath("orvel2.mdb"); }

    static void exec(Connection &c, const QString &sql)
    {
        QSqlQuery q(c.database());
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

    static QStringList rows(Connection &c, const QString &sql)
    {
        QSqlQuery q(c.database());
        if (!q.exec(sql))
            return {"error: " + sql};
        QStringList result;
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields.append(q.value(i).isNull() ? "null" : q.value(i).toString());
            result.append(fields.join(u'|'));
        }
        return result;
    }

    // Every row the program reads, but the group id an older file lacks.
    static QStringList data(Connection &c)
    {
        return rows(c, "SELECT DbId, DbName FROM Dbs ORDER BY DbId")
               + rows(c, "SELECT AcId, AcName, AcNotes FROM Accounts ORDER BY AcId")
               + rows(c, "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance, "
                         "TrGrpType, TrGrpRow, TrGrpMDay, TrNotes FROM Transactions ORDER BY TrRowId");
    }

    // A file written before the schema had a version: no TrGrpId, and Accounts as
    // the tool that made it defined it, with an index to survive the rebuild.
    void makeOlderDatabase(const QString &accounts)
    {
        QFile::remove(path());
        QFile empty(path());
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        Connection c;
        c.open(m_cs);
        exec(c, "CREATE TABLE Dbs (DbId INTEGER NOT NULL PRIMARY KEY, DbName VARCHAR(100) CHECK (DbName <> ''))");
        exec(c, "CREATE TABLE Accounts (" + accounts + ")");
        exec(c, "CREATE INDEX AcNameIndex ON Accounts (AcName)");
        exec(c, "CREATE TABLE Transactions (TrRowId INTEGER PRIMARY KEY AUTOINCREMENT, TrDbId INTEGER, TrType INTEGER, "
                "TrDone YESNO, TrDate DATETIME, TrDescription VARCHAR(255), TrAcId INTEGER, TrValue CURRENCY, "
                "TrBalance CURRENCY, TrGrpType VARCHAR(10), TrGrpRow INTEGER, TrGrpMDay INTEGER, TrNotes LONGTEXT)");
        exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (1, 'Old')");
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_cs = copyTemplateTo(m_dir.path());
        QVERIFY(!m_cs.isEmpty());
    }

    void upgradesToTheLatestVersionKeepingTheRows_data()
    {
        QTest::addColumn<QString>("accounts");   // empty: the template
        QTest::addColumn<int>("nextAcId");        // after the highest id was deleted
        QTest::newRow("the template") << QString() << 11;
        QTest::newRow("column checks refusing empty text")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(50) NOT NULL CHECK(length(AcName)>0), "
               "AcNotes LONGTEXT CONSTRAINT named CHECK (AcNotes <> '')"
            << 11;
        QTest::newRow("table check refusing empty text")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(100), AcNotes LONGTEXT, CHECK (trim(AcName) != '')"
            << 11;
        // Without the counter SQLite hands a deleted highest id out again, and a
        // window still holding it would file a deadline under a stranger.
        QTest::newRow("rowid key") << "AcId INTEGER PRIMARY KEY, AcName VARCHAR(100) COLLATE NOCASE, AcNotes LONGTEXT" << 6;
        QTest::newRow("table key, quoted")
            << "[AcId] INTEGER NOT NULL, AcName VARCHAR(100), AcNotes LONGTEXT, CONSTRAINT pk PRIMARY KEY (AcId)" << 6;
    }

    void upgradesToTheLatestVersionKeepingTheRows()
    {
        QFETCH(QString, accounts);
        QFETCH(int, nextAcId);
        const int latest = latestSchemaVersion("QSQLITE");
        QVERIFY(latest >= 3);
        QStringList before;
        {
            Connection c;
            if (!accounts.isEmpty())
                makeOlderDatabase(accounts);
            c.open(m_cs);
            QCOMPARE(schemaVersion(c), accounts.isEmpty() ? 2 : 0);
            exec(c, "INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (4, 'Rossi', 'tel'), (9, 'Gone', 'x')");
            exec(c, "DELETE FROM Accounts WHERE AcId = 9");
            for (int i = 0; i < 3; ++i)
                exec(c, "INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, TrBalance) "
                        "VALUES (1, 1, 0, '2015-01-31', 'rent', 4, 15000, 15000)");
            exec(c, "DELETE FROM Transactions WHERE TrRowId = 3");
            before = data(c);
        }
        QCOMPARE(upgradeSchema(m_cs), latest);
        const QByteArray upgraded = fileDigest(path());
        QCOMPARE(upgradeSchema(m_cs), latest);
        QCOMPARE(fileDigest(path()), upgraded);

        Connection c;
        c.open(m_cs);
        QCOMPARE(schemaVersion(c), latest);
        QCOMPARE(data(c), before);
        QCOMPARE(rows(c, "SELECT DISTINCT TrGrpId FROM Transactions"), QStringList{"0"});
        // Emptied fields save, and deleted ids are not handed out again.
        exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, '')");
        exec(c, "INSERT INTO Accounts (AcName, AcNotes) VALUES ('', '')");
        exec(c, "DELETE FROM Accounts WHERE AcName = ''");
        exec(c, "INSERT INTO Accounts (AcName, AcNotes) VALUES ('New', '')");
        exec(c, "INSERT INTO Transactions (TrDbId) VALUES (1)");
        QCOMPARE(rows(c, "SELECT max(AcId), (SELECT max(TrRowId) FROM Transactions) FROM Accounts"),
                 QStringList{QString::number(nextAcId) + "|4"});
        QCOMPARE(rows(c, "SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name"),
                 QStringList({"AcNameIndex", "TrAcIdIndex", "TrDbIdDate", "TrDbIdDoneDate", "TrGrpIdIndex"}));
        // The calendar's grouped read goes through it without visiting the table.
        QSqlQuery plan(c.database());
        QVERIFY(plan.prepare("EXPLAIN QUERY PLAN " + storeStatement(c.database().driverName(), "busy-days")));
        plan.bindValue(":sheetId", 1);
        plan.bindValue(":first", "2015-01-01");
        plan.bindValue(":last", "2015-02-01");
        QVERIFY(plan.exec());
        QString steps;
        while (plan.next())
            steps += plan.value(3).toString() + u'\n';
        QVERIFY2(steps.contains("COVERING INDEX TrDbIdDoneDate"), qPrintable(steps));
    }

    // A refusal inside a script leaves the file at the version before it, whole; the
    // next start goes on from there. A column the rebuild would lose is such a
    // refusal. A missing file is not created.
    void aFailingScriptLeavesTheLastWholeVersion()
    {
        makeOlderDatabase("AcId INTEGER PRIMARY KEY, AcName VARCHAR(100) CHECK (AcName <> ''), AcNotes LONGTEXT, "
                          "AcPhone TEXT");
        const QList<SchemaScript> scripts = schemaScripts("QSQLITE");
        QVERIFY(scripts.size() >= 2);
        {
            Connection c;
            c.open(m_cs);
            exec(c, "INSERT INTO Accounts (AcId, AcName, AcPhone) VALUES (4, 'Rossi', '555')");
            QVERIFY_THROWS_EXCEPTION(DbError, upgradeSchema(c, scripts));
            QCOMPARE(schemaVersion(c), scripts[0].version);
            QCOMPARE(rows(c, "SELECT AcPhone FROM Accounts"), QStringList{"555"});
            QCOMPARE(rows(c, "SELECT count(*) FROM pragma_table_info('Transactions') WHERE name = 'TrGrpId'"),
                     QStringList{"1"});
            QCOMPARE(rows(c, "SELECT name FROM sqlite_master WHERE name LIKE '%older'"), QStringList());
            QVERIFY(!QSqlQuery(c.database()).exec("INSERT INTO Accounts (AcName) VALUES ('')"));
            exec(c, "ALTER TABLE Accounts DROP COLUMN AcPhone");
        }
        QCOMPARE(upgradeSchema(m_cs), latestSchemaVersion("QSQLITE"));
        Connection c;
        c.open(m_cs);
        QCOMPARE(rows(c, "SELECT AcId, AcName FROM Accounts"), QStringList{"4|Rossi"});

        m_cs = Database::connectionString(QDir(m_dir.path()).filePath("absent"));
        QVERIFY_THROWS_EXCEPTION(DbError, upgradeSchema(m_cs));
        QVERIFY(!QFileInfo::exists(QDir(m_dir.path()).filePath("absent")));
    }
};

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_Schema.moc"
