#include "store/CounterpartyStore.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "store/SheetStore.h"
#include "store/SqlText.h"

#include "../support/TestDatabase.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <limits>
#include <stdexcept>

// Connections, transactions and record sets on a fresh copy of the template.
class tst_Connection final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_cs;

    QString insertDeadline(const QDate &date, const QString &description, Currency amount, int type, const QString &notes = {})
    {
        return QStringLiteral("INSERT INTO Transactions ( TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, "
                              "TrBalance, TrGrpType, TrGrpId ) SELECT 1, ")
               + QString::number(type) + ", " + sqlDateLiteral(date) + ", '" + quoteSqlText(description) + "', '"
               + quoteSqlText(notes) + "', 0, " + amount.toSqlText() + ", " + Currency::fromUnits(amount.units() * type).toSqlText()
               + ", 'n', 0";
    }

    // Texts the Jet statements had to quote.
    static inline const QString Texted = "l'affitto \"Via\tRoma\" # & 'x'";
    static inline const QString Noted = "a\tb 'c'\nd''";

    // The saves of the new-deadline window the rows of deadlineStoreWritesWhatJetTextWrote make.
    static DeadlineStore::NewDeadlines newDeadlines(const QString &which)
    {
        DeadlineStore::NewDeadlines d;
        d.type = 1;
        d.description = "d";
        d.value = Currency::fromUnits(12345);
        d.dates = {QDate(2024, 2, 1)};
        if (which == "single") {
            d.description = Texted;
            d.notes = Noted;
            d.value = Currency::fromUnits(std::numeric_limits<qint64>::max());
            d.dates = {QDate(9999, 12, 31)};
        } else if (which == "recurrence") {
            d.sheetId = 2;
            d.type = -1;
            d.description = Texted;
            d.acId = 2;
            d.value = Currency::fromUnits(125000);
            d.dates = {QDate(2024, 1, 31), QDate(2024, 2, 29), QDate(2024, 3, 31)};
            d.groupType = u'm';
        } else if (which == "joining") {
            d.groupId = 7;
        } else if (which == "orphan") {
            d.acId = 9;
        }
        return d;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_cs = copyTemplateTo(m_dir.path());
        QVERIFY2(!m_cs.isEmpty(), "master.gen not found; is ORVEL_PROGRAM_FOLDER set?");
        QLocale::setDefault(QLocale::c());
    }

    void readsTheDataSource_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("spaces") << "/home/anna/My Documents/Orvel 2 DB";
        QTest::newRow("quotes and accents") << "/home/anna/l'archivio \"già\" Größe";
        QTest::newRow("semicolon and equals") << "/data/a;b=c; d/db";
    }

    void readsTheDataSource()
    {
        QFETCH(QString, folder);
        const QString cs = Database::connectionString(folder);
        QCOMPARE(Database::dataSource(cs), folder + QDir::separator() + "orvel2.mdb");
        QCOMPARE(Database::dataSource(cs.toUpper().replace(folder.toUpper(), folder)),
                 folder + QDir::separator() + "ORVEL2.MDB");
    }

    void refusesWhatIsNoDatabaseAndLeavesItAlone()
    {
        // A missing file is never created, whether or not its folder exists.
        const QString missing = QDir(m_dir.path()).filePath("nowhere");
        Connection c;
        QVERIFY_THROWS_EXCEPTION(DbError, c.open(Database::connectionString(missing)));
        QVERIFY(!c.isOpen());
        QDir().mkpath(missing);
        QVERIFY_THROWS_EXCEPTION(DbError, c.open(Database::connectionString(missing)));
        QVERIFY(!QFileInfo::exists(missing + "/orvel2.mdb"));
        QVERIFY(Database::isUnavailable(Database::connectionString(missing)));

        // A damaged file opens but fails its test, and no write reaches it.
        const QString path = QDir(m_dir.path()).filePath("orvel2.mdb");
        QFile::remove(path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArrayLiteral("Standard Jet DB\0\0\0 this is no SQLite file ").repeated(200));
        f.close();
        const QByteArray before = fileDigest(path);
        c.open(m_cs);
        QVERIFY_THROWS_EXCEPTION(DbError, c.test());
        QVERIFY_THROWS_EXCEPTION(DbError, c.execute("DELETE * FROM Dbs"));
        c.close();
        QCOMPARE(fileDigest(path), before);
        QVERIFY(Database::isUnavailable(m_cs));
    }

    void storesTextsDatesAndAmountsUnchanged_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("German") << "de_DE";
        QTest::newRow("Italian") << "it_IT";
    }

    void storesTextsDatesAndAmountsUnchanged()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const QString description = "l'affitto # & [x] -- \t\"à\"\nfine";
        const Currency amount = *Currency::parse(QLocale().toString(12.5, 'f', 2), QLocale().decimalPoint().at(0));
        Connection c;
        c.open(m_cs);
        c.test();
        QCOMPARE(c.execute(insertDeadline(QDate(2017, 4, 3), description, amount, -1, "n'otes")), 1);
        QCOMPARE(c.execute(insertDeadline(QDate(2017, 4, 4), "max", Currency::fromUnits(922337203685477LL * 10000 + 5807), 1)), 1);

        Recordset rs;
        rs.open("SELECT * FROM Transactions WHERE TrDate=#04/03/2017# AND TrValue = 12.5", c);
        QVERIFY(!rs.eof());
        QCOMPARE((QVariantList{rs.field("TrDate"), rs.field("trdescription"), rs.field("TrNotes"), rs.field("TrValue"),
                               rs.field("TrBalance"), rs.field("TrDone"), rs.field("TrType")}),
                 (QVariantList{QDate(2017, 4, 3), description, "n'otes", QVariant::fromValue(Currency::fromUnits(125000)),
                               QVariant::fromValue(Currency::fromUnits(-125000)), false, -1}));
        rs.moveNext();
        QVERIFY(rs.eof());

        rs.open("SELECT TrValue FROM Transactions WHERE TrDate Between #04/04/2017# And #04/04/2017#", c);
        QCOMPARE(rs.field(0).value<Currency>().toPlainText(), QStringLiteral("922337203685477.5807"));
        rs.open("SELECT Min(Transactions.TrDate) AS Date1, Max(Transactions.TrDate) AS Date2, Sum(TrBalance) AS Total FROM Transactions", c);
        QCOMPARE(rs.field("Date1").toDate(), QDate(2017, 4, 3));
        QCOMPARE(rs.field("Date2").toDate(), QDate(2017, 4, 4));

        // Texts another tool wrote can hold anything; none of it may end a literal.
        const QString nul = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("') ; DROP TABLE Dbs; --");
        const QString surrogate = QStringLiteral("half ") + QChar(0xD83D) + QStringLiteral("x ") + QChar(0xDE00);
        // No text can hold half a character: it is stored as U+FFFD, and the
        // character after it is kept.
        const QString surrogateStored = QStringLiteral("half \uFFFDx \uFFFD");
        const QString marks = QStringLiteral("it's \\' \\\\ #01/02/2003# [x] \"q\" ?");
        for (const QString &text : {nul, surrogate, marks})
            QCOMPARE(c.execute(insertDeadline(QDate(2020, 1, 1), text, Currency::fromWhole(1), 1, text + text)), 1);
        rs.open("SELECT TrDescription, TrNotes FROM Transactions WHERE TrDate=#01/01/2020# ORDER BY TrRowId", c);
        for (const QString &text : {nul, surrogateStored, marks}) {
            QVERIFY(!rs.eof());
            QCOMPARE(rs.field(0).toString(), text);
            QCOMPARE(rs.field(1).toString(), text + text);
            rs.moveNext();
        }
        QVERIFY(rs.eof());
        // A literal in a condition is a value too.
        rs.open("SELECT Count(*) AS n FROM Transactions WHERE TrDescription = '" + quoteSqlText(marks) + "'", c);
        QCOMPARE(rs.field("n").toInt(), 1);
        rs.open("SELECT Count(*) AS n FROM Dbs", c);
        QCOMPARE(rs.field("n").toInt(), 1);
    }

    void readsEachColumnAsItsOwnTableDeclaresIt()
    {
        Connection c;
        c.open(m_cs);
        c.execute("CREATE TABLE Ledger (Id INTEGER, Amount CURRENCY)");
        c.execute("CREATE TABLE Counts (Id INTEGER, Amount INTEGER)");
        c.execute("INSERT INTO Ledger ( Id, Amount ) SELECT 1, 2.5");
        c.execute("INSERT INTO Counts ( Id, Amount ) SELECT 1, 7");
        Recordset rs;
        rs.open("SELECT * FROM Ledger AS L INNER JOIN Counts AS K ON L.Id = K.Id", c);
        QCOMPARE(rs.fieldCount(), 4);
        QCOMPARE(rs.fieldKind(1), ColumnKind::Currency);
        QCOMPARE(rs.fieldKind(3), ColumnKind::Integer);
        QCOMPARE(rs.field(1).value<Currency>(), Currency::fromUnits(25000));
        QCOMPARE(rs.field(3).toInt(), 7);
        rs.open("SELECT K.Amount AS x, Amount FROM Counts AS K", c);
        QCOMPARE(rs.field("x").toInt(), 7);
        QCOMPARE(rs.field("Amount").toInt(), 7);
        rs.open("SELECT * FROM Counts K", c);
        QCOMPARE(rs.fieldKind(1), ColumnKind::Integer);
        // Text limits as declared; none for long text or a missing column.
        QCOMPARE(c.textColumnMaxLength("Accounts", "acname"), 100);
        QCOMPARE(c.textColumnMaxLength("Transactions", "TrNotes"), 0);
        QCOMPARE(c.textColumnMaxLength("Accounts", "Missing"), 0);
    }

    void forwardOnlyReadsEveryRowAndLetsWritersThrough()
    {
        Connection reader;
        reader.open(m_cs);
        Connection writer;
        writer.open(m_cs);
        {
            TransactionGuard guard(reader);
            for (int i = 0; i < 300; ++i)
                reader.execute(insertDeadline(QDate(2017, 1, 1).addDays(i), QString::number(i), Currency::fromUnits(i), 1));
            guard.commit();
        }
        {
            Recordset rs;
            rs.open("SELECT TrDate, TrValue FROM Transactions ORDER BY TrDate DESC", reader);
            QCOMPARE(rs.recordCount(), -1);
            qint64 sum = 0;
            for (QDate last(2100, 1, 1); !rs.eof(); rs.moveNext()) {
                QVERIFY(rs.field(0).toDate() < last);
                last = rs.field(0).toDate();
                sum += rs.field(1).value<Currency>().units();
            }
            QCOMPARE(sum, qint64(299 * 300 / 2));
            QVERIFY_THROWS_EXCEPTION(DbError, rs.moveNext());
            QVERIFY_THROWS_EXCEPTION(DbError, rs.field(0));
            // Read to the end but still open: the read lock is gone.
            QCOMPARE(writer.execute("UPDATE Transactions SET TrDone = True"), 300);

            rs.open("SELECT TrRowId FROM Transactions", reader);
            QVERIFY(!rs.eof());
            QElapsedTimer timer;
            timer.start();
            try {
                writer.execute("UPDATE Transactions SET TrDone = False");
                QFAIL("a write went through a reader's lock");
            } catch (const DbError &error) {
                QVERIFY2(error.isBusy(), qPrintable(error.description()));
            }
            QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        }
        // The record set left its scope in the middle of its rows.
        QCOMPARE(writer.execute("UPDATE Transactions SET TrDone = False"), 300);
    }

    void concatenatesNullAsEmptyText()
    {
        Connection c;
        c.open(m_cs);
        c.execute(insertDeadline(QDate(2020, 2, 29), "Rent", Currency::fromWhole(5), 1, ""));
        c.execute("INSERT INTO Accounts ( AcName, AcNotes ) SELECT 'Acme', 'tel 123'");
        c.execute("UPDATE Transactions SET TrNotes = Null");
        Recordset rs;
        rs.open("SELECT TrRowId, Accounts.*, Trim(TrDescription & ' ' & Accounts.AcName & ' ' & TrNotes & ' ' & Accounts.AcNotes) "
                "AS SearchField FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId Where TrDbId=1 AND (True )",
                c);
        QCOMPARE(rs.fieldNames(), QStringList({"TrRowId", "AcId", "AcName", "AcNotes", "SearchField"}));
        QCOMPARE(rs.field("SearchField").toString(), QStringLiteral("Rent"));
        QVERIFY(rs.field("AcName").isNull());
        QCOMPARE(rs.fieldKind(1), ColumnKind::Counter);
    }

    void guardRollsBackAnInterruptedBatch()
    {
        Connection c;
        c.open(m_cs);
        try {
            TransactionGuard guard(c);
            c.execute("INSERT INTO Dbs ( DbId, DbName ) SELECT 2, 'Casa'");
            c.execute("DELETE * FROM Transactions WHERE TrDbId=1");
            throw std::runtime_error("interrupted");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(!c.inTransaction());
        Recordset rs;
        rs.open("SELECT * FROM Dbs", c, CursorType::Static);
        QCOMPARE(rs.recordCount(), 1);

        {
            TransactionGuard guard(c);
            c.execute("INSERT INTO Dbs ( DbId, DbName ) SELECT 2, 'Casa'");
            QVERIFY_THROWS_EXCEPTION(DbError, c.execute("INSERT INTO Dbs ( DbId, DbName ) SELECT 2, 'Twice'"));
            guard.commit();
        }
        rs.open("SELECT * FROM Dbs ORDER BY DbName", c, CursorType::Static);
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.field("dbname").toString(), QStringLiteral("Casa"));
    }

    // Each write of the deadline store leaves the file byte for byte as the same
    // write in Jet text did: same rows, same stored types (0/1, ISO dates, integers).
    void deadlineStoreWritesWhatJetTextWrote_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("jet");
        QTest::addColumn<int>("result");   // the count the operation returns, -1 for none
        const QString update = "UPDATE Transactions SET Transactions.TrDone = Not [TrDone] WHERE Transactions.TrRowId=";
        const QString remove = "DELETE * FROM Transactions WHERE Transactions.";
        QTest::newRow("Space closes") << "toggle 2" << QStringList{update + "2"} << -1;
        QTest::newRow("Space opens") << "toggle 1" << QStringList{update + "1"} << -1;
        QTest::newRow("delete one") << "delete 1" << QStringList{remove + "TrRowId=1"} << -1;
        QTest::newRow("delete a group") << "group 7" << QStringList{remove + "TrGrpId=7"} << -1;
        QTest::newRow("delete one of a group, across sheets")
            << "member 4 7"
            << QStringList{remove + "TrRowId=4", "UPDATE Transactions SET TrGrpRow=2, TrGrpMDay=2 WHERE TrRowId=3",
                           "UPDATE Transactions SET TrGrpRow=1, TrGrpMDay=2 WHERE TrRowId=5"}
            << -1;
        QTest::newRow("count closed up to the day") << "count 1 2024-02-10" << QStringList{} << 2;
        QTest::newRow("purge closed up to the day")
            << "purge 1 2024-02-10"
            << QStringList{"DELETE * FROM Transactions WHERE TrDate<=#02/10/2024# AND TrDone=True AND TrDbId=1"} << 2;
        QTest::newRow("next group id") << "next" << QStringList{} << 8;
        QTest::newRow("rename a client, notes emptied")
            << "rename 2"
            << QStringList{"UPDATE Accounts SET Accounts.AcName = 'Rossi l''Antico', Accounts.AcNotes = '' WHERE Accounts.AcId=2"} << -1;
        QTest::newRow("delete a client not in use") << "unclient 2" << QStringList{"DELETE * FROM Accounts WHERE AcId=2"} << 1;
        QTest::newRow("a client in use by another sheet stays") << "unclient 1" << QStringList{} << 0;

        // The new-deadline window's save, which returns the first new row id; the
        // editor's save of row 2, a credit.
        const Currency most = Currency::fromUnits(std::numeric_limits<qint64>::max());
        QTest::newRow("new single, quotes and tabs, the largest amount, the last day")
            << "create single" << QStringList{insertDeadline(QDate(9999, 12, 31), Texted, most, 1, Noted)} << 7;
        QStringList members;
        const QDate memberDates[] = {{2024, 1, 31}, {2024, 2, 29}, {2024, 3, 31}};
        for (int k = 1; k <= 3; ++k)
            members << "INSERT INTO Transactions ( TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, "
                       "TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId ) SELECT 2, -1, " + sqlDateLiteral(memberDates[k - 1]) + ", '"
                           + quoteSqlText(Texted) + "', '', 2,  12.5, -12.5, 'm', " + QString::number(k) + ", 3, 8";
        QTest::newRow("new recurrence of 3 with a client, on another sheet") << "create recurrence" << members << 7;
        QTest::newRow("new single joining a group across sheets")
            << "create joining"
            << QStringList{insertDeadline(QDate(2024, 2, 1), "d", Currency::fromUnits(12345), 1).replace("'n', 0", "'n', 7"),
                           "UPDATE Transactions SET TrGrpRow=1, TrGrpMDay=4 WHERE TrRowId=5",
                           "UPDATE Transactions SET TrGrpRow=2, TrGrpMDay=4 WHERE TrRowId=7",
                           "UPDATE Transactions SET TrGrpRow=3, TrGrpMDay=4 WHERE TrRowId=3",
                           "UPDATE Transactions SET TrGrpRow=4, TrGrpMDay=4 WHERE TrRowId=4"}
            << 7;
        QTest::newRow("new deadline of a deleted client") << "create orphan" << QStringList{} << 0;
        QTest::newRow("edit every column")
            << "update 2"
            << QStringList{"UPDATE Transactions SET TrDate=#12/31/9999#, TrDescription='" + quoteSqlText(Texted)
                           + "', TrAcId=1, TrValue= 922337203685477.5807, TrBalance= 922337203685477.5807, TrNotes='"
                           + quoteSqlText(Noted) + "', TrDone=True WHERE TrRowId=2"}
            << -1;
        QTest::newRow("edit the amount only")
            << "update 1" << QStringList{"UPDATE Transactions SET TrValue= 80, TrBalance= 80 WHERE TrRowId=1"} << -1;
        QTest::newRow("new sheet") << "sheet" << QStringList{"INSERT INTO Dbs ( DbId, DbName ) SELECT 2, 'Casa d''Anna'"} << 2;
        QTest::newRow("rename a sheet")
            << "resheet 1" << QStringList{"UPDATE Dbs SET Dbs.DbName = 'Home''s' WHERE Dbs.DbId=1"} << -1;
        QTest::newRow("delete a sheet with its deadlines")
            << "unsheet 2" << QStringList{"DELETE * FROM Transactions WHERE TrDbId=2", "DELETE * FROM Dbs WHERE DbId=2"} << -1;
    }

    void deadlineStoreWritesWhatJetTextWrote()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, jet);
        QFETCH(int, result);
        const auto stored = [](const QString &cs) {
            Connection c;
            c.open(cs);
            QSqlQuery q(c.database());
            QStringList rows;
            if (!q.exec("SELECT quote(TrRowId), quote(TrDbId), quote(TrDone), quote(TrDate), quote(TrValue), "
                        "quote(TrGrpRow), quote(TrGrpMDay), quote(TrGrpId), quote(TrType), quote(TrDescription), "
                        "quote(TrAcId), quote(TrBalance), quote(TrGrpType), quote(TrNotes) FROM Transactions ORDER BY TrRowId"))
                return QStringList{q.lastError().text()};
            while (q.next()) {
                QStringList fields;
                for (int i = 0; i < 14; ++i)
                    fields.append(q.value(i).toString());
                rows.append(fields.join(u'|'));
            }
            if (!q.exec("SELECT quote(AcId), quote(AcName), quote(AcNotes) FROM Accounts ORDER BY AcId"))
                return QStringList{q.lastError().text()};
            while (q.next())
                rows.append(QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()}.join(u'|'));
            if (!q.exec("SELECT quote(DbId), quote(DbName) FROM Dbs ORDER BY DbId"))
                return QStringList{q.lastError().text()};
            while (q.next())
                rows.append(q.value(0).toString() + u'|' + q.value(1).toString());
            return rows;
        };
        {
            // Two groups of rows: 3-5 a recurrence spread over two sheets, the rest single.
            Connection c;
            c.open(m_cs);
            const QDate dates[] = {{2024, 1, 10}, {2024, 1, 20}, {2024, 2, 10}, {2024, 3, 10}, {2024, 1, 5}, {2024, 1, 5}};
            const int sheets[] = {1, 1, 1, 1, 2, 2};
            const bool done[] = {true, false, true, false, true, true};
            const int groups[] = {0, 0, 7, 7, 7, 0};
            for (int i = 0; i < 6; ++i) {
                c.execute(insertDeadline(dates[i], "d", Currency::fromUnits(12345), 1)
                              .replace("SELECT 1,", "SELECT " + QString::number(sheets[i]) + ","));
                c.execute(QString("UPDATE Transactions SET TrDone=%1, TrGrpId=%2, TrGrpRow=%3, TrGrpMDay=3 WHERE TrRowId=%4")
                              .arg(done[i] ? "True" : "False")
                              .arg(groups[i])
                              .arg(i == 4 ? 1 : groups[i] ? i - 1 : 0)
                              .arg(i + 1));
            }
            // Client 1 is used by a deadline of the second sheet only; client 2 by none.
            QSqlQuery q(c.database());
            QVERIFY(q.exec("INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (1, 'Rossi', NULL), (2, 'Bianchi', 'n')"));
            QVERIFY(q.exec("UPDATE Transactions SET TrAcId = 1 WHERE TrRowId = 6"));
        }
        const QString otherFolder = QDir(m_dir.path()).filePath("jet");
        QVERIFY(QDir().mkpath(otherFolder));
        QFile::remove(QDir(otherFolder).filePath("orvel2.mdb"));
        QVERIFY(QFile::copy(Database::dataSource(m_cs), QDir(otherFolder).filePath("orvel2.mdb")));
        const QString jetCs = Database::connectionString(otherFolder);
        {
            Connection c;
            c.open(jetCs);
            for (const QString &statement : jet)
                c.execute(statement);
        }
        const QStringList args = operation.split(u' ');
        const auto number = [&](int i) { return args.value(i).toInt(); };
        int returned = -1;
        DeadlineStore store(m_cs);
        if (args[0] == "toggle")
            store.toggleDone(number(1));
        else if (args[0] == "delete")
            store.deleteDeadline(number(1));
        else if (args[0] == "group")
            store.deleteGroup(number(1));
        else if (args[0] == "member")
            store.deleteFromGroup(number(1), number(2));
        else if (args[0] == "count")
            returned = store.countClosedUpTo(number(1), QDate::fromString(args[2], Qt::ISODate));
        else if (args[0] == "purge")
            returned = store.purgeClosedUpTo(number(1), QDate::fromString(args[2], Qt::ISODate));
        else if (args[0] == "next")
            returned = store.nextGroupId();
        else if (args[0] == "rename")
            CounterpartyStore(m_cs).update(number(1), "Rossi l'Antico", QString());
        else if (args[0] == "unclient")
            returned = CounterpartyStore(m_cs).remove(number(1)) ? 1 : 0;
        else if (args[0] == "create")
            returned = store.createDeadlines(newDeadlines(args[1])).rowIds.value(0);
        else if (args[0] == "update") {
            DeadlineStore::DeadlineChanges changes;
            changes.value = Currency::fromWhole(80);
            if (number(1) == 2) {
                changes.date = QDate(9999, 12, 31);
                changes.description = Texted;
                changes.acId = 1;
                changes.value = Currency::fromUnits(std::numeric_limits<qint64>::max());
                changes.notes = Noted;
                changes.done = true;
            }
            QCOMPARE(store.updateDeadline(*store.readDeadline(number(1)), changes).outcome, DeadlineStore::UpdateOutcome::Written);
        }
        else if (args[0] == "sheet")
            returned = SheetStore(m_cs).create("Casa d'Anna");
        else if (args[0] == "resheet")
            SheetStore(m_cs).rename(number(1), "Home's");
        else if (args[0] == "unsheet")
            SheetStore(m_cs).remove(number(1));
        QCOMPARE(returned, result);
        QCOMPARE(stored(m_cs), stored(jetCs));
    }

    void staticRecordsetWritesBack()
    {
        Connection c;
        c.open(m_cs);
        c.execute(insertDeadline(QDate(2017, 1, 31), "first", Currency::fromWhole(1), 1));
        Recordset rs;
        rs.open("SELECT * FROM Transactions WHERE TrRowId=1", c, CursorType::Static);
        rs.setField("TrDescription", "changed 'here'");
        rs.setField("TrDate", QDate(2016, 2, 29));
        rs.setField("TrValue", QVariant::fromValue(Currency::fromUnits(1)));
        rs.setField("TrDone", true);
        rs.update();
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setField("NoSuchField", 1));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setField("TrRowId", 9));

        rs.addNew();
        rs.setField("TrDbId", 1);
        rs.setField("TrDescription", "added");
        rs.update();
        QCOMPARE(rs.field("TrRowId").toInt(), 2);
        QCOMPARE(rs.field("TrGrpId").toInt(), 0);

        rs.addNew();
        rs.setField("TrDescription", "dropped");
        rs.cancelUpdate();
        QCOMPARE(rs.recordCount(), 2);

        rs.moveFirst();
        rs.setField("TrDescription", "forgotten");
        rs.cancelUpdate();
        QCOMPARE(rs.field("TrDescription").toString(), QStringLiteral("changed 'here'"));

        Recordset check;
        check.open("SELECT * FROM Transactions ORDER BY TrRowId", c, CursorType::Static);
        QCOMPARE(check.recordCount(), 2);
        QCOMPARE((QVariantList{check.field("TrDescription"), check.field("TrDate"), check.field("TrValue"), check.field("TrDone")}),
                 (QVariantList{"changed 'here'", QDate(2016, 2, 29), QVariant::fromValue(Currency::fromUnits(1)), true}));
        check.moveNext();
        QCOMPARE(check.field("TrDescription").toString(), QStringLiteral("added"));

        Recordset joined;
        joined.open("SELECT * FROM Transactions LEFT JOIN Accounts ON TrAcId = AcId", c, CursorType::Static);
        QVERIFY_THROWS_EXCEPTION(DbError, joined.setField("TrDescription", "x"));
    }
};

QTEST_GUILESS_MAIN(tst_Connection)
#include "tst_Connection.moc"
