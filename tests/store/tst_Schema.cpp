#include "store/Database.h"
#include "store/Schema.h"

#include "../support/TestDatabase.h"

#include <QSqlQuery>
#include <QtTest>

// The start-up steps that bring any database to the current schema and pick the sheet.
class tst_Schema final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_cs;

    // A database written by the older release: no TrGrpId, a few deadlines.
    void makeOlderDatabase()
    {
        const QString path = QDir(m_dir.path()).filePath("orvel2.mdb");
        QFile::remove(path);
        QFile empty(path);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        m_cs = Database::connectionString(m_dir.path());
        Connection c;
        c.open(m_cs);
        c.execute("CREATE TABLE Dbs (DbId INTEGER NOT NULL PRIMARY KEY, DbName VARCHAR(100))");
        c.execute("CREATE TABLE Accounts (AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(50), AcNotes LONGTEXT)");
        c.execute("CREATE TABLE Transactions (TrRowId INTEGER PRIMARY KEY AUTOINCREMENT, TrDbId INTEGER, TrType INTEGER, "
                  "TrDone YESNO, TrDate DATETIME, TrDescription VARCHAR(255), TrAcId INTEGER, TrValue CURRENCY, "
                  "TrBalance CURRENCY, TrGrpType VARCHAR(10), TrGrpRow INTEGER, TrGrpMDay INTEGER, TrNotes LONGTEXT)");
        c.execute("INSERT INTO Dbs ( DbId, DbName ) SELECT 1, 'Old'");
        for (int i = 0; i < 3; ++i)
            c.execute("INSERT INTO Transactions ( TrDbId, TrType, TrDone, TrDate, TrValue, TrBalance ) "
                      "SELECT 1, 1, False, #01/31/2015#, 1.5, 1.5");
    }

    // Accounts as an older tool defined it, with an index to survive a rebuild.
    void recreateAccounts(Connection &c, const QString &definition)
    {
        c.open(m_cs);
        c.execute("DROP TABLE Accounts");
        c.execute("CREATE TABLE Accounts (" + definition + ")");
        c.execute("CREATE INDEX AcNameIndex ON Accounts (AcName)");
    }

    static QStringList catalog(Connection &c)
    {
        QSqlQuery q(c.database());
        q.exec("SELECT type || ' ' || name || ' ' || ifnull(sql, '') FROM sqlite_master ORDER BY rowid");
        QStringList entries;
        while (q.next())
            entries.append(q.value(0).toString());
        return entries;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_cs = copyTemplateTo(m_dir.path());
        QVERIFY(!m_cs.isEmpty());
    }

    // An older file gains the group column and the open-deadline index, each once.
    void upgradesAnOlderFileOnce()
    {
        makeOlderDatabase();
        for (int i = 0; i < 2; ++i) {
            upgradeSchemaGroupColumn(m_cs);
            addOpenDeadlineIndex(m_cs);
        }
        Connection c;
        c.open(m_cs);
        QCOMPARE(c.schema().kindOf("Transactions", "TrGrpId"), ColumnKind::Integer);
        Recordset rs;
        rs.open("SELECT Count(TrRowId) AS CTR FROM Transactions WHERE TrGrpId = 0", c);
        QCOMPARE(rs.field("CTR").toInt(), 3);
        rs.open("SELECT TrValue FROM Transactions", c);
        QCOMPARE(rs.field(0).value<Currency>(), Currency::fromUnits(15000));
        const QStringList entries = catalog(c).filter("TrDbIdDoneDate");
        QCOMPARE(entries.size(), 1);
        QVERIFY(entries.first().contains("(TrDbId, TrDone, TrDate)"));
        // The calendar's grouped read goes through it without visiting the table.
        QSqlQuery plan(c.database());
        QVERIFY(plan.exec("EXPLAIN QUERY PLAN SELECT Count(TrRowId), TrDate FROM Transactions WHERE TrDate "
                          "BETWEEN '2015-01-01' AND '2015-02-01' AND TrDone=0 AND TrDbId=1 GROUP BY TrDate"));
        QVERIFY(plan.next());
        QVERIFY2(plan.value(3).toString().contains("COVERING INDEX TrDbIdDoneDate"), qPrintable(plan.value(3).toString()));
    }

    // A missing database is not created, and a table that already allows empty texts is not rebuilt.
    void upgradesLeaveWhatNeedsNothingAlone()
    {
        Connection c;
        c.open(m_cs);
        const QStringList before = catalog(c);
        c.close();
        enableZeroLengthText(m_cs);
        c.open(m_cs);
        QCOMPARE(catalog(c), before);

        m_cs = Database::connectionString(QDir(m_dir.path()).filePath("absent"));
        upgradeSchemaGroupColumn(m_cs);
        addOpenDeadlineIndex(m_cs);
        QVERIFY(!QFileInfo::exists(QDir(m_dir.path()).filePath("absent")));
    }

    void dropsChecksThatRefuseEmptyText_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<bool>("notesMayBeEmpty");
        QTest::newRow("column length check")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(100) NOT NULL CHECK(length(AcName)>0), AcNotes LONGTEXT"
            << true;
        QTest::newRow("named column check")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(100) CONSTRAINT named CHECK (AcName <> ''), AcNotes LONGTEXT"
            << true;
        QTest::newRow("table checks on two columns")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(100), AcNotes LONGTEXT, CHECK (trim(AcName) != ''), "
               "CONSTRAINT notes CHECK(AcNotes<>'')"
            << true;
        QTest::newRow("other checks stay")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT CHECK (AcId > 0), AcName VARCHAR(100) CHECK(AcName<>''), "
               "AcNotes LONGTEXT, CHECK (AcNotes <> '' OR AcName = 'x')"
            << false;
    }

    void dropsChecksThatRefuseEmptyText()
    {
        QFETCH(QString, definition);
        QFETCH(bool, notesMayBeEmpty);
        {
            Connection c;
            recreateAccounts(c, definition);
            c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'Acme', 'tel'");
            c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'Gone', 'x'");
            c.execute("DELETE * FROM Accounts WHERE AcName = 'Gone'");
            QVERIFY_THROWS_EXCEPTION(DbError, c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT '', 'n'"));
        }
        enableZeroLengthText(m_cs);
        Connection c;
        c.open(m_cs);
        c.test();
        c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT '', 'n'");
        if (notesMayBeEmpty)
            c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'y', ''");
        else
            QVERIFY_THROWS_EXCEPTION(DbError, c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'y', ''"));
        Recordset rs;
        rs.open("SELECT * FROM Accounts ORDER BY AcId", c, CursorType::Static);
        QCOMPARE(rs.field("AcName").toString(), QStringLiteral("Acme"));
        QCOMPARE(rs.field("AcId").toInt(), 1);
        rs.moveNext();
        QCOMPARE(rs.field("AcId").toInt(), 3);   // the counter does not reuse the deleted id
        QVERIFY(catalog(c).contains("index AcNameIndex CREATE INDEX AcNameIndex ON Accounts (AcName)"));
    }

    void accountIdsBecomeACounter_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<bool>("rebuilt");
        QTest::newRow("rowid key")
            << "AcId INTEGER PRIMARY KEY, AcName VARCHAR(100) COLLATE NOCASE, AcNotes LONGTEXT" << true;
        QTest::newRow("table key, quoted")
            << "[AcId] INTEGER NOT NULL, AcName VARCHAR(100), AcNotes LONGTEXT, CONSTRAINT pk PRIMARY KEY (AcId)" << true;
        QTest::newRow("already a counter")
            << "AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(100), AcNotes LONGTEXT" << false;
    }

    // Without the counter SQLite hands a deleted highest id out again, and a window
    // still holding it would file a deadline under a stranger.
    void accountIdsBecomeACounter()
    {
        QFETCH(QString, definition);
        QFETCH(bool, rebuilt);
        const QString path = QDir(m_dir.path()).filePath("orvel2.mdb");
        {
            Connection c;
            recreateAccounts(c, definition);
            c.execute("INSERT INTO Accounts ( AcId, AcName, AcNotes ) SELECT 4, 'Rossi', 'tel'");
            c.execute("INSERT INTO Accounts ( AcId, AcName, AcNotes ) SELECT 9, 'Gone', ''");
            c.execute("DELETE * FROM Accounts WHERE AcId = 9");
        }
        const QByteArray before = fileDigest(path);
        giveAccountsACounter(m_cs);
        QCOMPARE(fileDigest(path) != before, rebuilt);
        giveAccountsACounter(m_cs);

        Connection c;
        c.open(m_cs);
        QCOMPARE(c.schema().kindOf("Accounts", "AcId"), ColumnKind::Counter);
        QVERIFY(catalog(c).contains("index AcNameIndex CREATE INDEX AcNameIndex ON Accounts (AcName)"));
        Recordset rs;
        rs.open("SELECT * FROM Accounts", c, CursorType::Static);
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.field("AcId").toInt(), 4);
        QCOMPARE(rs.field("AcNotes").toString(), QStringLiteral("tel"));
        // From here on a deleted highest id stays deleted.
        c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'New', ''");
        c.execute("DELETE * FROM Accounts WHERE AcName = 'New'");
        c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'Newer', ''");
        rs.open("SELECT Max(AcId) AS M FROM Accounts", c);
        QCOMPARE(rs.field(0).toInt(), rebuilt ? 6 : 11);
    }

};

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_Schema.moc"
