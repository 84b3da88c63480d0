#include "store/CounterpartyStore.h"
#include "store/Database.h"
#include "store/RowChange.h"
#include "store/DeadlineStore.h"
#include "store/Schema.h"
#include "store/SheetStore.h"

#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <limits>
#include <stdexcept>

// Connections, transactions and the stores' writes on a fresh copy of the template,
// or, with ORVEL_TEST_REGISTER set to a server register's URI (scripts/pg-cluster),
// on that register emptied and created anew.
class tst_Connection final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_cs;

    static QString serverRegister() { return qEnvironmentVariable("ORVEL_TEST_REGISTER"); }
    static bool onServer() { return !serverRegister().isEmpty(); }
    // The same server's database of that name.
    static QString serverDatabase(const QString &name)
    {
        QUrl url(serverRegister());
        url.setPath(u'/' + name);
        return url.toString();
    }
    // Statements of the maintenance database, which no register test keeps open.
    static void serverAdmin(const QStringList &statements)
    {
        Connection c;
        c.open(serverDatabase("postgres"));
        for (const QString &statement : statements)
            exec(c, statement);
    }
    // A file's SQL as the server's columns take it: Yes/No is a number there too.
    static QString forEngine(QString sql)
    {
        return onServer() ? sql.replace("NOT TrDone", "1 - TrDone") : sql;
    }
    static QString quoted(const QString &text) { return u'\'' + QString(text).replace(u'\'', "''") + u'\''; }

    // A single deadline of sheet 1 the way the store writes one: the date as ISO
    // text, money in ten-thousandths, the balance the value times the type.
    static QString insertDeadline(const QDate &date, const QString &description, Currency amount, int type,
                                  const QString &notes = {})
    {
        return "INSERT INTO Transactions (TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, "
               "TrGrpType, TrGrpId) VALUES (1, " + QString::number(type) + ", '" + date.toString(Qt::ISODate) + "', "
               + quoted(description) + ", " + quoted(notes) + ", 0, " + QString::number(amount.units()) + ", "
               + QString::number(amount.units() * type) + ", 'n', 0)";
    }

    static void exec(Connection &c, const QString &sql)
    {
        QSqlQuery q(c.database());
        if (!q.exec(sql))
            throw DbError::fromEngine(q.lastError());
    }

    static QVariant firstValue(Connection &c, const QString &sql)
    {
        QSqlQuery q(c.database());
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }

    // Texts an SQL literal has to quote.
    static inline const QString Texted = "l'affitto \"Via\tRoma\" # & 'x'";
    static inline const QString Noted = "a\tb 'c'\nd''";

    // The saves of the new-deadline window the rows of storeOperationsWriteTheExpectedRows make.
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

    // Two groups of rows: 3-5 a recurrence spread over two sheets, the rest single.
    // Row 1 holds what another tool may have written: a real amount, a time of
    // day, Null notes.
    static void fillRows(const QString &cs)
    {
        Connection c;
        c.open(cs);
        const QDate dates[] = {{2024, 1, 10}, {2024, 1, 20}, {2024, 2, 10}, {2024, 3, 10}, {2024, 1, 5}, {2024, 1, 5}};
        const int sheets[] = {1, 1, 1, 1, 2, 2};
        const bool done[] = {true, false, true, false, true, true};
        const int groups[] = {0, 0, 7, 7, 7, 0};
        for (int i = 0; i < 6; ++i) {
            exec(c, insertDeadline(dates[i], "d", Currency::fromUnits(12345), 1)
                        .replace("VALUES (1,", "VALUES (" + QString::number(sheets[i]) + ","));
            exec(c, QString("UPDATE Transactions SET TrDone=%1, TrGrpId=%2, TrGrpRow=%3, TrGrpMDay=3 WHERE TrRowId=%4")
                        .arg(done[i] ? 1 : 0)
                        .arg(groups[i])
                        .arg(i == 4 ? 1 : groups[i] ? i - 1 : 0)
                        .arg(i + 1));
        }
        exec(c, "UPDATE Transactions SET TrValue = 1.25, TrDate = '2024-01-10 08:30:00', TrNotes = NULL WHERE TrRowId = 1");
        // Client 1 is used by a deadline of the second sheet only; client 2 by none.
        exec(c, "INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (1, 'Rossi', NULL), (2, 'Bianchi', 'n')");
        exec(c, "UPDATE Transactions SET TrAcId = 1 WHERE TrRowId = 6");
        exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'B')");
        // On a server the ids written above were handed out by its counters.
        if (onServer())
            exec(c, "SELECT setval('trgrpid_seq', 7), setval(pg_get_serial_sequence('accounts', 'acid'), 2), "
                    "setval('dbid_seq', 2)");
    }

    // Runs one store operation, named as in storeOperationsWriteTheExpectedRows,
    // recording it in change; returns what it returns, -1 for nothing.
    static int runOperation(const QString &cs, const QString &operation, RowChange *change)
    {
        const QStringList args = operation.split(u' ');
        const auto number = [&](int i) { return args.value(i).toInt(); };
        int returned = -1;
        DeadlineStore store(cs);
        if (args[0] == "toggle")
            store.toggleDone(number(1), change);
        else if (args[0] == "delete")
            store.deleteDeadline(number(1), change);
        else if (args[0] == "group")
            store.deleteGroup(number(1), change);
        else if (args[0] == "member")
            store.deleteFromGroup(number(1), number(2), change);
        else if (args[0] == "count")
            returned = store.countClosedUpTo(number(1), QDate::fromString(args[2], Qt::ISODate));
        else if (args[0] == "purge")
            returned = store.purgeClosedUpTo(number(1), QDate::fromString(args[2], Qt::ISODate), change);
        else if (args[0] == "next")
            returned = store.nextGroupId();
        else if (args[0] == "rename")
            CounterpartyStore(cs).update(number(1), "Rossi l'Antico", QString(), change);
        else if (args[0] == "client")
            returned = CounterpartyStore(cs).create("Verdi & figli", QString(), change);
        else if (args[0] == "unclient")
            returned = CounterpartyStore(cs).remove(number(1), change) ? 1 : 0;
        else if (args[0] == "create")
            returned = store.createDeadlines(newDeadlines(args[1]), change).rowIds.value(0);
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
            if (store.updateDeadline(*store.readDeadline(number(1)), changes, change).outcome
                != DeadlineStore::UpdateOutcome::Written)
                returned = -2;
        }
        else if (args[0] == "sheet")
            returned = SheetStore(cs).create("Casa d'Anna", change);
        else if (args[0] == "resheet")
            SheetStore(cs).rename(number(1), "Home's", change);
        else if (args[0] == "unsheet")
            SheetStore(cs).remove(number(1), change);
        return returned;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QLocale::setDefault(QLocale::c());
        if (onServer()) {
            m_cs = serverRegister();
            Connection c;
            c.open(m_cs);
            exec(c, "DROP SCHEMA public CASCADE");
            exec(c, "CREATE SCHEMA public");
            c.close();
            QCOMPARE(upgradeSchema(m_cs), latestSchemaVersion("QPSQL"));
            return;
        }
        m_cs = copyTemplateTo(m_dir.path());
        QVERIFY2(!m_cs.isEmpty(), "master.gen not found; is ORVEL_PROGRAM_FOLDER set?");
    }

    // A folder's name, however awkward, reads back as the file in it, in any case.
    void readsTheDataSource()
    {
        for (const QString folder : {"/home/anna/My Documents/Orvel 2 DB", "/home/anna/l'archivio \"già\" Größe",
                                     "/data/a;b=c; d/db"}) {
            const QString cs = Database::connectionString(folder);
            QCOMPARE(Database::dataSource(cs), folder + QDir::separator() + "orvel2.mdb");
            QCOMPARE(Database::dataSource(cs.toUpper().replace(folder.toUpper(), folder)),
                     folder + QDir::separator() + "ORVEL2.MDB");
        }
    }

    // A server register is named as libpq names a database; its parameters reach
    // libpq quoted, whatever the URI's decoded values hold.
    void namesServerRegisters_data()
    {
        QTest::addColumn<QString>("cs");
        QTest::addColumn<QString>("parameters");   // empty: names no server register
        QTest::newRow("host, port, TLS") << "postgresql://db.office:5432/orvel?sslmode=require"
                                         << "host='db.office' port='5432' dbname='orvel' sslmode='require'";
        QTest::newRow("socket folder, user, read-only mark")
            << "postgres:///orvel?host=/run/pg%20x&user=anna;Mode=Read" << "dbname='orvel' host='/run/pg x' user='anna'";
        QTest::newRow("password with quotes") << "postgresql://anna:it%27s%5C@h/o"
                                              << "host='h' dbname='o' user='anna' password='it\\'s\\\\'";
        QTest::newRow("service") << "service=orvel" << "service='orvel'";
        QTest::newRow("no key slips in") << "postgresql://h/o?sslmode=x%27%20host%3Devil&x%20y=1" << "";
        QTest::newRow("a file") << Database::connectionString("/home/anna/postgresql:") << "";
    }

    void namesServerRegisters()
    {
        QFETCH(QString, cs);
        QFETCH(QString, parameters);
        QCOMPARE(Database::serverParameters(cs), parameters);
        QCOMPARE(Database::isServerRegister(cs), cs.startsWith("postgres") || cs.startsWith("service"));
    }

    void refusesWhatIsNoDatabaseAndLeavesItAlone()
    {
        if (onServer()) {
            // A database the server does not have, or one with no register in it.
            Connection c;
            QVERIFY_THROWS_EXCEPTION(DbError, c.open(serverDatabase("nowhere")));
            QVERIFY(Database::isUnavailable(serverDatabase("nowhere")));
            QVERIFY(Database::isUnavailable(serverDatabase("postgres")));
            QVERIFY(!Database::isUnavailable(m_cs));
            return;
        }
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
        QVERIFY_THROWS_EXCEPTION(DbError, SheetStore(c).rename(1, "x"));
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
        const Currency amount = *Currency::parse(QLocale().toString(12.5, 'f', 2), QLocale().decimalPoint().at(0));
        // Texts another tool wrote can hold anything; none of it may end a literal.
        const QString nul = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("') ; DROP TABLE Dbs; --");
        const QString surrogate = QStringLiteral("half ") + QChar(0xD83D) + QStringLiteral("x ") + QChar(0xDE00);
        // A server's text holds no NUL: it is kept as U+FFFD, the rest as it was.
        const QString nulStored = onServer() ? QString(nul).replace(QChar(u'\0'), QChar::ReplacementCharacter) : nul;
        // No text can hold half a character: it is stored as U+FFFD, and the
        // character after it is kept.
        const QString surrogateStored = QStringLiteral("half \uFFFDx \uFFFD");
        const QString marks = QStringLiteral("it's \\' \\\\ #01/02/2003# [x] \"q\" ?");
        const QString plain = "l'affitto # & [x] -- \t\"à\"\nfine";
        DeadlineStore store(m_cs);
        const QList<QPair<QString, QString>> texts{{plain, plain}, {nul, nulStored}, {surrogate, surrogateStored}, {marks, marks}};
        for (const auto &[text, kept] : texts) {
            DeadlineStore::NewDeadlines d;
            d.type = -1;
            d.description = text;
            d.notes = text + text;
            d.value = amount;
            d.dates = {QDate(2017, 4, 3)};
            const qint32 rowId = store.createDeadlines(d).rowIds.value(0);
            const auto row = store.readDeadline(rowId);
            QVERIFY(row);
            QCOMPARE(row->description, kept);
            QCOMPARE(row->notes, kept + kept);
            QCOMPARE(row->date, QDate(2017, 4, 3));
            QCOMPARE(row->value, Currency::fromUnits(125000));
            QCOMPARE(row->balance, Currency::fromUnits(-125000));
        }
        DeadlineStore::NewDeadlines most;
        most.type = 1;
        most.value = Currency::fromUnits(922337203685477LL * 10000 + 5807);
        most.dates = {QDate(2017, 4, 4)};
        QCOMPARE(store.readDeadline(store.createDeadlines(most).rowIds.value(0))->value.toPlainText(),
                 QStringLiteral("922337203685477.5807"));

        Connection c;
        c.open(m_cs);
        c.test();
        // A file stores the day as text, a server as a date; money as integers on both.
        QCOMPARE(firstValue(c, onServer() ? "SELECT pg_typeof(TrDate) || ' ' || TrDate || pg_typeof(TrValue) || TrValue "
                                            "|| TrBalance || TrDone FROM Transactions WHERE TrRowId = 1"
                                          : "SELECT quote(TrDate) || quote(TrValue) || quote(TrBalance) || quote(TrDone) "
                                            "FROM Transactions WHERE TrRowId = 1").toString(),
                 onServer() ? QStringLiteral("date 2017-04-03bigint125000-1250000")
                            : QStringLiteral("'2017-04-03'125000-1250000"));
        QCOMPARE(firstValue(c, "SELECT Count(*) FROM Dbs").toInt(), 1);
        // Text limits as declared; none for long text or a missing column.
        QCOMPARE(c.textColumnMaxLength("Accounts", "acname"), 100);
        QCOMPARE(c.textColumnMaxLength("Transactions", "TrNotes"), 0);
        QCOMPARE(c.textColumnMaxLength("Accounts", "Missing"), 0);
    }

    void guardRollsBackAnInterruptedBatch()
    {
        Connection c;
        c.open(m_cs);
        try {
            TransactionGuard guard(c);
            exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Casa')");
            exec(c, "DELETE FROM Transactions WHERE TrDbId = 1");
            throw std::runtime_error("interrupted");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(!c.inTransaction());
        QCOMPARE(firstValue(c, "SELECT Count(*) FROM Dbs").toInt(), 1);

        {
            TransactionGuard guard(c);
            exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Casa')");
            QVERIFY_THROWS_EXCEPTION(DbError, exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Twice')"));
            // A server ends the whole transaction at a failed statement: nothing of
            // it is written, and the commit says so. A file undoes the statement only.
            if (onServer()) {
                QVERIFY_THROWS_EXCEPTION(DbError, guard.commit());
                QCOMPARE(firstValue(c, "SELECT Count(*) FROM Dbs").toInt(), 1);
                return;
            }
            guard.commit();
        }
        QCOMPARE(firstValue(c, "SELECT Count(*) FROM Dbs").toInt(), 2);
        QCOMPARE(firstValue(c, "SELECT DbName FROM Dbs ORDER BY DbName").toString(), QStringLiteral("Casa"));
    }

    // Every named statement has its twin on each engine, and the register's engine
    // accepts it: prepared, its placeholders' types are settled.
    void everyStatementPreparesOnEachEngine()
    {
        const QStringList names = QDir(":/sql/sqlite/statements").entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        QCOMPARE(QDir(":/sql/postgresql/statements").entryList(QDir::Files), names);
        Connection c;
        c.open(m_cs);
        for (const QString &file : names) {
            const QByteArray name = file.chopped(4).toUtf8();
            QSqlQuery q(c.database());
            QVERIFY2(q.prepare(storeStatement(c.database().driverName(), name.constData())),
                     qPrintable(file + ": " + q.lastError().text()));
        }
    }

    // Clients and sheets are listed in one order on each engine: case ignored,
    // then capitals first; blanks and punctuation before digits before letters.
    void namesInOneOrderOnEachEngine()
    {
        QLocale::setDefault(QLocale(QLocale::English));
        const QStringList expected{"_x", "10", "9", "A", "a", "b", "Bianchi", "bianchi srl", "Bianchi-Neri",
                                   "ROSSI", "Rossi", "rossi"};
        for (qsizetype i = expected.size() - 1; i >= 0; --i) {
            CounterpartyStore(m_cs).create(expected.at(i), {});
            SheetStore(m_cs).create(expected.at(i));
        }
        QStringList clients;
        for (const Counterparty &c : CounterpartyStore(m_cs).list())
            clients.append(c.name);
        QCOMPARE(clients, expected);
        QStringList sheets;
        for (const Sheet &sheet : SheetStore(m_cs).list()) {
            if (sheet.id != SheetStore::FirstSheetId)
                sheets.append(sheet.name);
        }
        QCOMPARE(sheets, expected);
    }

    // Each write of the stores leaves the file byte for byte as the same change
    // written out in SQL: same rows, same stored types (0/1, ISO dates, integers).
    void storeOperationsWriteTheExpectedRows_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<int>("result");   // the count the operation returns, -1 for none
        const QString update = "UPDATE Transactions SET TrDone = NOT TrDone WHERE TrRowId = ";
        const QString remove = "DELETE FROM Transactions WHERE ";
        QTest::newRow("Space closes") << "toggle 2" << QStringList{update + "2"} << -1;
        QTest::newRow("Space opens") << "toggle 1" << QStringList{update + "1"} << -1;
        QTest::newRow("delete one") << "delete 1" << QStringList{remove + "TrRowId = 1"} << -1;
        QTest::newRow("delete a group") << "group 7" << QStringList{remove + "TrGrpId = 7"} << -1;
        QTest::newRow("delete one of a group, across sheets")
            << "member 4 7"
            << QStringList{remove + "TrRowId = 4", "UPDATE Transactions SET TrGrpRow=2, TrGrpMDay=2 WHERE TrRowId=3",
                           "UPDATE Transactions SET TrGrpRow=1, TrGrpMDay=2 WHERE TrRowId=5"}
            << -1;
        QTest::newRow("count closed up to the day") << "count 1 2024-02-10" << QStringList{} << 2;
        QTest::newRow("purge closed up to the day")
            << "purge 1 2024-02-10"
            << QStringList{remove + "TrDate <= '2024-02-10' AND TrDone = 1 AND TrDbId = 1"} << 2;
        QTest::newRow("next group id") << "next" << QStringList{} << 8;
        QTest::newRow("rename a client, notes emptied")
            << "rename 2"
            << QStringList{"UPDATE Accounts SET AcName = 'Rossi l''Antico', AcNotes = '' WHERE AcId = 2"} << -1;
        QTest::newRow("new client") << "client" << QStringList{"INSERT INTO Accounts (AcName, AcNotes) VALUES ('Verdi & figli', NULL)"} << 3;
        QTest::newRow("delete a client not in use") << "unclient 2" << QStringList{"DELETE FROM Accounts WHERE AcId = 2"} << 1;
        QTest::newRow("a client in use by another sheet stays") << "unclient 1" << QStringList{} << 0;

        // The new-deadline window's save, which returns the first new row id; the
        // editor's save of row 2, a credit.
        const Currency most = Currency::fromUnits(std::numeric_limits<qint64>::max());
        QTest::newRow("new single, quotes and tabs, the largest amount, the last day")
            << "create single" << QStringList{insertDeadline(QDate(9999, 12, 31), Texted, most, 1, Noted)} << 7;
        QStringList members;
        const QDate memberDates[] = {{2024, 1, 31}, {2024, 2, 29}, {2024, 3, 31}};
        for (int k = 1; k <= 3; ++k)
            members << "INSERT INTO Transactions (TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, "
                       "TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId) VALUES (2, -1, '" + memberDates[k - 1].toString(Qt::ISODate)
                           + "', " + quoted(Texted) + ", '', 2, 125000, -125000, 'm', " + QString::number(k) + ", 3, 8)";
        QTest::newRow("new recurrence of 3 with a client, on another sheet") << "create recurrence" << members << 7;
        QTest::newRow("new single joining a group across sheets")
            << "create joining"
            << QStringList{insertDeadline(QDate(2024, 2, 1), "d", Currency::fromUnits(12345), 1).replace("'n', 0)", "'n', 7)"),
                           "UPDATE Transactions SET TrGrpRow=1, TrGrpMDay=4 WHERE TrRowId=5",
                           "UPDATE Transactions SET TrGrpRow=2, TrGrpMDay=4 WHERE TrRowId=7",
                           "UPDATE Transactions SET TrGrpRow=3, TrGrpMDay=4 WHERE TrRowId=3",
                           "UPDATE Transactions SET TrGrpRow=4, TrGrpMDay=4 WHERE TrRowId=4"}
            << 7;
        QTest::newRow("new deadline of a deleted client") << "create orphan" << QStringList{} << 0;
        QTest::newRow("edit every column")
            << "update 2"
            << QStringList{"UPDATE Transactions SET TrDate = '9999-12-31', TrDescription = " + quoted(Texted)
                           + ", TrAcId = 1, TrValue = 9223372036854775807, TrBalance = 9223372036854775807, TrNotes = "
                           + quoted(Noted) + ", TrDone = 1 WHERE TrRowId = 2"}
            << -1;
        QTest::newRow("edit the amount only")
            << "update 1" << QStringList{"UPDATE Transactions SET TrValue = 800000, TrBalance = 800000 WHERE TrRowId = 1"} << -1;
        QTest::newRow("new sheet") << "sheet" << QStringList{"INSERT INTO Dbs (DbId, DbName) VALUES (3, 'Casa d''Anna')"} << 3;
        QTest::newRow("rename a sheet")
            << "resheet 1" << QStringList{"UPDATE Dbs SET DbName = 'Home''s' WHERE DbId = 1"} << -1;
        QTest::newRow("delete a sheet with its deadlines")
            << "unsheet 2" << QStringList{remove + "TrDbId = 2", "DELETE FROM Dbs WHERE DbId = 2"} << -1;
    }

    // Each write gives the rows its statements give; the change it records, undone,
    // gives back every table exactly as before, ids included, and redone the rows after.
    void storeOperationsWriteTheExpectedRows()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, sql);
        QFETCH(int, result);
        fillRows(m_cs);
        QString expectedCs;
        if (onServer()) {
            const QString name = QUrl(m_cs).path().mid(1);
            serverAdmin({"DROP DATABASE IF EXISTS " + name + "_expected WITH (FORCE)",
                         "CREATE DATABASE " + name + "_expected TEMPLATE " + name});
            expectedCs = serverDatabase(name + "_expected");
        } else {
            const QString otherFolder = QDir(m_dir.path()).filePath("expected");
            QVERIFY(QDir().mkpath(otherFolder));
            QFile::remove(QDir(otherFolder).filePath("orvel2.mdb"));
            QVERIFY(QFile::copy(Database::dataSource(m_cs), QDir(otherFolder).filePath("orvel2.mdb")));
            expectedCs = Database::connectionString(otherFolder);
        }
        {
            Connection c;
            c.open(expectedCs);
            for (const QString &statement : sql)
                exec(c, forEngine(statement));
        }
        const QStringList before = storedTables(m_cs);
        RowChange change;
        QCOMPARE(runOperation(m_cs, operation, &change), result);
        const QStringList after = storedTables(expectedCs);
        QCOMPARE(storedTables(m_cs), after);

        QCOMPARE(change.isEmpty(), before == after);
        Connection c;
        c.open(m_cs);
        QCOMPARE(change.apply(c, RowChange::Direction::Undo), RowChange::Outcome::Done);
        QCOMPARE(storedTables(m_cs), before);
        QCOMPARE(change.apply(c, RowChange::Direction::Redo), RowChange::Outcome::Done);
        QCOMPARE(storedTables(m_cs), after);

        // A step whose rows are no longer what it left (changed, deleted, or an id it
        // would restore taken again) refuses and writes nothing; "undo:" first undoes
        // the step, so that its redo is the one refused.
        static const QHash<QString, QString> meddling{
            {"toggle 2", "UPDATE Transactions SET TrNotes = 'x' WHERE TrRowId = 2"},
            {"member 4 7", "DELETE FROM Transactions WHERE TrRowId = 5"},
            {"delete 1", "INSERT INTO Transactions (TrRowId, TrDbId, TrType, TrDone) VALUES (1, 1, -2, 0)"},
            {"rename 2", "UPDATE Accounts SET AcName = 'Neri' WHERE AcId = 2"},
            {"purge 1 2024-02-10", "undo: UPDATE Transactions SET TrDone = 0 WHERE TrRowId = 3"},
            {"unsheet 2", "undo: UPDATE Dbs SET DbName = 'x' WHERE DbId = 2"}};
        QString meanwhile = meddling.value(operation);
        if (meanwhile.isEmpty())
            return;
        const bool undoFirst = meanwhile.startsWith("undo: ");
        if (undoFirst)
            QCOMPARE(change.apply(c, RowChange::Direction::Undo), RowChange::Outcome::Done);
        exec(c, meanwhile.remove("undo: "));
        const QStringList meddled = storedTables(m_cs);
        QCOMPARE(change.apply(c, undoFirst ? RowChange::Direction::Redo : RowChange::Direction::Undo),
                 RowChange::Outcome::Changed);
        QCOMPARE(storedTables(m_cs), meddled);
        QVERIFY(!c.inTransaction());
    }

};

QTEST_GUILESS_MAIN(tst_Connection)
#include "tst_Connection.moc"
