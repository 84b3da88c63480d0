#include "platform/MoneyFormatter.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/DeadlineStore.h"
#include "store/Schema.h"
#include "store/Statements.h"

#include "../support/OtherProgram.h"
#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <limits>
#include <optional>
#include <tuple>

#include <unistd.h>

// The file's tables: the numbered scripts that bring any database to the current
// schema; the check that names damaged, locked and unreachable files for what they
// are without changing a byte; and the reader of the rows other tools stored. And
// the money in them: read, reckoned and written exactly at every amount.
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
        QVERIFY(writeFile(path(), {}));
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

    // Checks the file and returns the problem; fails the test when the file changed.
    DatabaseProblem checkUnchanged()
    {
        const QByteArray before = fileDigest(path());
        const DatabaseProblem problem = DatabaseCheck::check(m_cs);
        [&] { QCOMPARE(fileDigest(path()), before); }();
        return problem;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_cs = copyTemplateTo(m_dir.path());
        QVERIFY(!m_cs.isEmpty());
    }

    // Files written before the schema had a version, each with Accounts as the
    // tool that made it defined it (empty: the template), and the id the next
    // client gets after the highest was deleted.
    void upgradesToTheLatestVersionKeepingTheRows()
    {
        const std::pair<QString, int> cases[] = {
            {QString(), 11},
            // Column and table checks refusing empty text.
            {"AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(50) NOT NULL CHECK(length(AcName)>0), "
             "AcNotes LONGTEXT CONSTRAINT named CHECK (AcNotes <> '')", 11},
            {"AcId INTEGER PRIMARY KEY AUTOINCREMENT, AcName VARCHAR(100), AcNotes LONGTEXT, CHECK (trim(AcName) != '')", 11},
            // Without the counter SQLite hands a deleted highest id out again, and a
            // window still holding it would file a deadline under a stranger.
            {"AcId INTEGER PRIMARY KEY, AcName VARCHAR(100) COLLATE NOCASE, AcNotes LONGTEXT", 6},
            {"[AcId] INTEGER NOT NULL, AcName VARCHAR(100), AcNotes LONGTEXT, CONSTRAINT pk PRIMARY KEY (AcId)", 6},
        };
        for (const auto &[accounts, nextAcId] : cases) {
            QVERIFY(!copyTemplateTo(m_dir.path()).isEmpty());
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
    }

    // A refusal inside a script leaves the file at the version before it, whole; the
    // next start goes on from there. A column the rebuild would lose is such a
    // refusal.
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
    }

    // What another tool did to the template, and what the check names: table|column|detail.
    void namesWhatIsMissingOrOfTheWrongKind()
    {
        using D = DatabaseProblem::Damage;
        const std::tuple<QStringList, std::optional<D>, QString> cases[] = {
            {{}, {}, "||"},
            // An older file lacks the group column: the upgrade adds it, it is no damage.
            {{"DROP INDEX TrGrpIdIndex", "ALTER TABLE Transactions DROP COLUMN TrGrpId"}, {}, "||"},
            {{"DROP INDEX TrDbIdDate", "ALTER TABLE Transactions DROP COLUMN TrDate"}, D::MissingColumn, "Transactions|TrDate|"},
            {{"ALTER TABLE Transactions RENAME COLUMN TrValue TO TrOld", "ALTER TABLE Transactions ADD COLUMN TrValue VARCHAR(20)"},
             D::WrongKind, "Transactions|TrValue|VARCHAR(20)"},
            {{"DROP TABLE Accounts"}, D::MissingTable, "Accounts||"},
        };
        for (const auto &[statements, damage, named] : cases) {
            QVERIFY(!copyTemplateTo(m_dir.path()).isEmpty());
            OtherProgram tool(path());   // as another tool would
            for (const QString &sql : statements)
                QVERIFY2(tool.exec(sql), qPrintable(sql + ": " + tool.lastError()));
            const DatabaseProblem p = checkUnchanged();
            QCOMPARE(p.kind, damage ? DatabaseProblem::Kind::Damaged : DatabaseProblem::Kind::None);
            QVERIFY(!damage || p.damage == *damage);
            QCOMPARE(QStringList({p.table, p.column, p.detail}).join(u'|'), named);
        }
    }

    // A page of the deadlines overwritten is found. A file cut short, whose damage
    // only an index shows, and one that is no database are found by start-up's tests.
    void findsAnOverwrittenPage()
    {
        addDeadlines(m_cs, 3000);
        QVERIFY(checkUnchanged().ok());

        QFile f(path());
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 pages = f.size() / 4096;
        QVERIFY(pages > 20);
        f.seek(4096 * (pages / 2) + 8);   // the middle of a page of the deadlines, past its header
        f.write(QByteArray(2000, '\x5a'));
        f.close();
        const DatabaseProblem p = checkUnchanged();
        QCOMPARE(p.kind, DatabaseProblem::Kind::Damaged);
        QCOMPARE(p.damage, DatabaseProblem::Damage::Pages);
        QVERIFY(!p.detail.isEmpty());
    }

    void namesFilesItCannotReach()
    {
        QFile::remove(path());
        QCOMPARE(DatabaseCheck::check(m_cs).kind, DatabaseProblem::Kind::Missing);
        QVERIFY(!QFileInfo::exists(path()));
        // A link to a moved file, a folder in the file's place, a lock held elsewhere,
        // a folder that is gone or is a file: start-up names each from this check.

        // A file where the folder should be is said to be one, not a matter of permissions.
        QTemporaryDir other;
        QVERIFY(writeFile(other.filePath("Orvel2DB"), {}));
        QCOMPARE(DatabaseCheck::check(Database::connectionString(other.filePath("Orvel2DB"))).kind,
                 DatabaseProblem::Kind::FolderIsAFile);
        QVERIFY(DatabaseCheck::inspectFolder(other.path()).ok());

        copyTemplateTo(m_dir.path());
        if (geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        QFile::setPermissions(path(), QFileDevice::WriteOwner);
        QCOMPARE(checkUnchanged().kind, DatabaseProblem::Kind::Unreadable);
        QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner);
        QCOMPARE(DatabaseCheck::check(m_cs).kind, DatabaseProblem::Kind::FolderUnreachable);
        QCOMPARE(DatabaseCheck::inspectFolder(m_dir.path()).kind, DatabaseProblem::Kind::FolderUnreachable);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QCOMPARE(DatabaseCheck::inspectFolder(m_dir.path()).kind, DatabaseProblem::Kind::FolderReadOnly);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // The list's direct reader takes each stored value as the list shows it: what
    // other tools may have written (a time after the date, an amount as a real or
    // as text, Null beside empty text) included, and what is no amount said so.
    void readsStoredValuesAsTheListShowsThem()
    {
        const struct
        {
            QString date, value, description;   // as stored, SQL literals
            QDate readDate;
            qint64 units;   // -1: no amount
            QString readDescription;   // a null QString for Null
        } cases[] = {
            {"'2024-01-15'", "12345678", "'It''s \"odd\"\t%_'", {2024, 1, 15}, 12345678, "It's \"odd\"\t%_"},
            {"'2100-02-28 13:45:00'", "NULL", "''", {2100, 2, 28}, 0, ""},   // a time after the date
            {"'1999-12-31'", "2.5e4", "NULL", {1999, 12, 31}, 25000, QString()},   // a real amount, Null text
            {"'2024-01-01'", "1e30", "'x'", {2024, 1, 1}, -1, "x"},   // an amount past the range
            {"'someday'", "7", "'y'", {}, 7, "y"},
            {"NULL", "'a lot'", "'z'", {}, -1, "z"},   // text that is no amount
        };
        Connection connection;
        connection.open(m_cs);
        for (const auto &c : cases) {
            QSqlQuery insert(connection.database());
            QVERIFY(insert.exec(QStringLiteral("INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, "
                                               "TrValue, TrBalance) VALUES (1, 1, 0, %1, %3, %2, %2)")
                                    .arg(c.date, c.value, c.description)));
            const qint32 id = insert.lastInsertId().toInt();
            const DeadlineColumns rows = DeadlineStore(connection).rowsById({id, id + 1});
            QCOMPARE(rows.size(), 1);
            QCOMPARE(rows.day[0], c.readDate.isValid() ? qint32(c.readDate.toJulianDay()) : DeadlineColumns::NoDay);
            QCOMPARE(rows.amount[0], c.units >= 0 ? c.units : DeadlineColumns::Unreadable);
            QCOMPARE(rows.description.at(0), c.readDescription);
            QCOMPARE(rows.description.at(0).isNull(), c.readDescription.isNull());
            QVERIFY(rows.notes.at(0).isNull());
            QCOMPARE(rows.counterpartyId[0], 0);
        }
    }

    void reportsAFailingReadAsADatabaseError()
    {
        Connection connection;
        connection.open(m_cs);
        QSqlQuery(connection.database()).exec(QStringLiteral("DROP TABLE Accounts"));
        QVERIFY_THROWS_EXCEPTION(DbError, DeadlineStore(connection).sheetRows(1));
        // The connection stays usable.
        QCOMPARE(DeadlineStore(connection).countClosedUpTo(1, QDate(2100, 1, 1)), 0);
    }

    void parsesExactly()
    {
        const struct
        {
            QString text;
            QChar point;
            std::optional<qint64> units;   // none: refused
        } cases[] = {
            {"12.5", u'.', 125000}, {"12,50", u',', 125000}, {"  -0.0001 ", u'.', -1},
            {"922337203685477.5808", u'.', {}},   // above the largest
            {"1.00001", u'.', {}},                // five decimals
            {"12,5", u'.', {}}, {"", u'.', {}},
            // The largest and smallest amounts, and the plain text of others.
            {"0", u'.', 0}, {"-0.0001", u'.', -1}, {"922337203685477.5807", u'.', std::numeric_limits<qint64>::max()},
            {"-922337203685477.5808", u'.', std::numeric_limits<qint64>::min()},
        };
        for (const auto &[text, point, units] : cases) {
            const auto parsed = Currency::parse(text, point);
            QVERIFY2((parsed ? std::optional(parsed->units()) : std::nullopt) == units, qPrintable(text));
            // Written as plain text, an amount reads back from it.
            if (units && point == u'.' && text == text.trimmed())
                QCOMPARE(Currency::fromUnits(*units).toPlainText(), text);
        }
    }

    void checksArithmeticAndReadsAsANumber()
    {
        const Currency max = Currency::fromUnits(std::numeric_limits<qint64>::max());
        QVERIFY(!max.checkedAdd(Currency::fromUnits(1)));
        QCOMPARE(max.checkedAdd(Currency::fromUnits(-1))->units(), std::numeric_limits<qint64>::max() - 1);
        QVERIFY(!max.checkedMul(-2));
        QCOMPARE(Currency::fromUnits(125000).checkedMul(-1)->units(), -125000);
        // Inside a variant it reads as a number.
        registerCurrencyMetaType();
        const QVariant v = QVariant::fromValue(Currency::fromUnits(-125000));
        QCOMPARE(v.toDouble(), -12.5);
        QCOMPARE(v.toString(), QStringLiteral("-12.5"));
    }

    void formatsExactly()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale italy(QLocale::Italian, QLocale::Italy);
        // Whole cents, grouping and the negative forms are compared with Qt's own format below.
        const std::tuple<QLocale, qint64, QString> exact[] = {
            {us, 1, "$0.0001"},   // a ten-thousandth kept
            {italy, -12340, QStringLiteral("-1,234\u00A0€")},   // the third decimal kept
            {us, std::numeric_limits<qint64>::max(), "$922,337,203,685,477.5807"},
            {us, std::numeric_limits<qint64>::min(), "($922,337,203,685,477.5808)"},
            {QLocale(QLocale::Japanese, QLocale::Japan), 1000000, QStringLiteral("￥100")},   // yen has no decimals
            {QLocale(QLocale::Arabic, QLocale::Kuwait), 15000, QStringLiteral("١٫٥٠٠\u00A0د.ك.\u200F")},   // dinar has three
        };
        for (const auto &[locale, units, expected] : exact)
            QCOMPARE(formatMoney(Currency::fromUnits(units), locale), expected);

        // Where a double holds the amount exactly, Qt's own currency format is the
        // reference: symbol place, blanks, grouping, negative form and digits.
        for (const QLocale &locale :
             {us, italy, QLocale(QLocale::German, QLocale::Switzerland), QLocale(QLocale::Dutch, QLocale::Netherlands),
              QLocale(QLocale::Swedish, QLocale::Sweden), QLocale(QLocale::French, QLocale::France),
              QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Hindi, QLocale::India), QLocale::c()}) {
            const MoneyFormatter formatter(locale);
            for (qint64 cents : {qint64(0), qint64(5), qint64(-25), qint64(123456789), qint64(-100000050),
                                 qint64(99999999999)})
                QCOMPARE(formatter.format(Currency::fromUnits(cents * 100)), locale.toCurrencyString(double(cents) / 100.0));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_Schema.moc"
