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

#include <functional>
#include <limits>
#include <stdexcept>

using Operation = std::function<int(const QString &cs, RowChange *change)>;
Q_DECLARE_METATYPE(Operation)

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

    // Texts an SQL literal has to quote.
    static inline const QString Texted = "l'affitto \"Via\tRoma\" # & 'x'";
    static inline const QString Noted = "a\tb 'c'\nd''";

    // Two groups of rows: 3-5 a recurrence spread over two sheets, the rest single.
    // Row 1 holds what another tool may have written: a real amount, a time of
    // day, Null notes.
    static void fillRows(const QString &cs)
    {
        const QDate dates[] = {{2024, 1, 10}, {2024, 1, 20}, {2024, 2, 10}, {2024, 3, 10}, {2024, 1, 5}, {2024, 1, 5}};
        const int sheets[] = {1, 1, 1, 1, 2, 2};
        const bool done[] = {true, false, true, false, true, true};
        const int groups[] = {0, 0, 7, 7, 7, 0};
        for (int i = 0; i < 6; ++i)
            ::insertDeadline(cs, sheets[i], 1, done[i], dates[i], "d", 0, Currency::fromUnits(12345), {}, groups[i],
                             i == 4 ? 1 : groups[i] ? i - 1 : 0, 3);
        runSql(cs, "UPDATE Transactions SET TrValue = 1.25, TrDate = '2024-01-10 08:30:00', TrNotes = NULL WHERE TrRowId = 1");
        // Client 1 is used by a deadline of the second sheet only; client 2 by none.
        runSql(cs, "INSERT INTO Accounts (AcId, AcName, AcNotes) VALUES (1, 'Rossi', NULL), (2, 'Bianchi', 'n')");
        runSql(cs, "UPDATE Transactions SET TrAcId = 1 WHERE TrRowId = 6");
        runSql(cs, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'B')");
        // On a server the ids written above were handed out by its counters.
        if (onServer())
            runSql(cs, "SELECT setval('trgrpid_seq', 7), setval(pg_get_serial_sequence('accounts', 'acid'), 2), "
                       "setval('dbid_seq', 2)");
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
    // A server register is named as libpq names a database; its parameters reach
    // libpq quoted, whatever the URI's decoded values hold.
    void namesFilesAndServerRegisters()
    {
        for (const QString folder : {"/home/anna/My Documents/Orvel 2 DB", "/home/anna/l'archivio \"già\" Größe",
                                     "/data/a;b=c; d/db"}) {
            const QString cs = Database::connectionString(folder);
            QCOMPARE(Database::dataSource(cs), folder + QDir::separator() + "orvel2.mdb");
            QCOMPARE(Database::dataSource(cs.toUpper().replace(folder.toUpper(), folder)),
                     folder + QDir::separator() + "ORVEL2.MDB");
        }
        const std::pair<QString, QString> registers[] = {   // empty parameters: names no server register
            {"postgresql://db.office:5432/orvel?sslmode=require", "host='db.office' port='5432' dbname='orvel' sslmode='require'"},
            {"postgres:///orvel?host=/run/pg%20x&user=anna;Mode=Read", "dbname='orvel' host='/run/pg x' user='anna'"},
            {"postgresql://anna:it%27s%5C@h/o", "host='h' dbname='o' user='anna' password='it\\'s\\\\'"},
            {"service=orvel", "service='orvel'"},
            {"postgresql://h/o?sslmode=x%27%20host%3Devil&x%20y=1", ""},   // no key slips in
            {Database::connectionString("/home/anna/postgresql:"), ""},
        };
        for (const auto &[cs, parameters] : registers) {
            QCOMPARE(Database::serverParameters(cs), parameters);
            QCOMPARE(Database::isServerRegister(cs), cs.startsWith("postgres") || cs.startsWith("service"));
        }
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
        QVERIFY(writeFile(path, QByteArrayLiteral("Standard Jet DB\0\0\0 this is no SQLite file ").repeated(200)));
        const QByteArray before = fileDigest(path);
        c.open(m_cs);
        QVERIFY_THROWS_EXCEPTION(DbError, c.test());
        QVERIFY_THROWS_EXCEPTION(DbError, SheetStore(c).rename(1, "x"));
        c.close();
        QCOMPARE(fileDigest(path), before);
        QVERIFY(Database::isUnavailable(m_cs));
    }

    // Under a locale whose numbers and dates are not SQL's.
    void storesTextsDatesAndAmountsUnchanged()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
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
            const qint32 rowId =
                store.createDeadlines({.type = -1, .description = text, .notes = text + text, .value = amount, .dates = {QDate(2017, 4, 3)}})
                    .rowIds.value(0);
            const auto row = store.readDeadline(rowId);
            QVERIFY(row);
            QCOMPARE(row->description, kept);
            QCOMPARE(row->notes, kept + kept);
            QCOMPARE(row->date, QDate(2017, 4, 3));
            QCOMPARE(row->value, Currency::fromUnits(125000));
            QCOMPARE(row->balance, Currency::fromUnits(-125000));
        }
        const Currency most = Currency::fromUnits(922337203685477LL * 10000 + 5807);
        const qint32 mostId = store.createDeadlines({.type = 1, .value = most, .dates = {QDate(2017, 4, 4)}}).rowIds.value(0);
        QCOMPARE(store.readDeadline(mostId)->value.toPlainText(), QStringLiteral("922337203685477.5807"));

        Connection c;
        c.open(m_cs);
        c.test();
        // A file stores the day as text, a server as a date; money as integers on both.
        QCOMPARE(firstValue(m_cs, onServer() ? "SELECT pg_typeof(TrDate) || ' ' || TrDate || pg_typeof(TrValue) || TrValue "
                                            "|| TrBalance || TrDone FROM Transactions WHERE TrRowId = 1"
                                          : "SELECT quote(TrDate) || quote(TrValue) || quote(TrBalance) || quote(TrDone) "
                                            "FROM Transactions WHERE TrRowId = 1").toString(),
                 onServer() ? QStringLiteral("date 2017-04-03bigint125000-1250000")
                            : QStringLiteral("'2017-04-03'125000-1250000"));
        QCOMPARE(firstValue(m_cs, "SELECT Count(*) FROM Dbs").toInt(), 1);
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
        QCOMPARE(firstValue(m_cs, "SELECT Count(*) FROM Dbs").toInt(), 1);

        {
            TransactionGuard guard(c);
            exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Casa')");
            QVERIFY_THROWS_EXCEPTION(DbError, exec(c, "INSERT INTO Dbs (DbId, DbName) VALUES (2, 'Twice')"));
            // A server ends the whole transaction at a failed statement: nothing of
            // it is written, and the commit says so. A file undoes the statement only.
            if (onServer()) {
                QVERIFY_THROWS_EXCEPTION(DbError, guard.commit());
                QCOMPARE(firstValue(m_cs, "SELECT Count(*) FROM Dbs").toInt(), 1);
                return;
            }
            guard.commit();
        }
        QCOMPARE(firstValue(m_cs, "SELECT Count(*) FROM Dbs").toInt(), 2);
        QCOMPARE(firstValue(m_cs, "SELECT DbName FROM Dbs ORDER BY DbName").toString(), QStringLiteral("Casa"));
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
    // A step whose rows are no longer what it left (changed, deleted, or an id it
    // would restore taken again: "meddle") refuses and writes nothing; "undo:" first
    // undoes the step, so that its redo is the one refused.
    void storeOperationsWriteTheExpectedRows_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<int>("result");   // the count the operation returns, -1 for none
        QTest::addColumn<QString>("meddle");
        const auto row = [](const char *name, const Operation &operation, const QStringList &sql, int result = -1,
                            const QString &meddle = {}) { QTest::newRow(name) << operation << sql << result << meddle; };
        const QString update = "UPDATE Transactions SET TrDone = NOT TrDone WHERE TrRowId = ";
        const QString remove = "DELETE FROM Transactions WHERE ";
        row("Space closes", [](auto cs, auto ch) { DeadlineStore(cs).toggleDone(2, ch); return -1; }, {update + "2"}, -1,
            "UPDATE Transactions SET TrNotes = 'x' WHERE TrRowId = 2");
        row("Space opens", [](auto cs, auto ch) { DeadlineStore(cs).toggleDone(1, ch); return -1; }, {update + "1"});
        row("delete one", [](auto cs, auto ch) { DeadlineStore(cs).deleteDeadline(1, ch); return -1; },
            {remove + "TrRowId = 1"}, -1, "INSERT INTO Transactions (TrRowId, TrDbId, TrType, TrDone) VALUES (1, 1, -2, 0)");
        row("delete a group", [](auto cs, auto ch) { DeadlineStore(cs).deleteGroup(7, ch); return -1; }, {remove + "TrGrpId = 7"});
        row("delete one of a group, across sheets", [](auto cs, auto ch) { DeadlineStore(cs).deleteFromGroup(4, 7, ch); return -1; },
            {remove + "TrRowId = 4", "UPDATE Transactions SET TrGrpRow=2, TrGrpMDay=2 WHERE TrRowId=3",
             "UPDATE Transactions SET TrGrpRow=1, TrGrpMDay=2 WHERE TrRowId=5"},
            -1, "DELETE FROM Transactions WHERE TrRowId = 5");
        row("count closed up to the day", [](auto cs, auto) { return DeadlineStore(cs).countClosedUpTo(1, QDate(2024, 2, 10)); },
            {}, 2);
        row("purge closed up to the day",
            [](auto cs, auto ch) { return DeadlineStore(cs).purgeClosedUpTo(1, QDate(2024, 2, 10), ch); },
            {remove + "TrDate <= '2024-02-10' AND TrDone = 1 AND TrDbId = 1"}, 2,
            "undo: UPDATE Transactions SET TrDone = 0 WHERE TrRowId = 3");
        row("next group id", [](auto cs, auto) { return DeadlineStore(cs).nextGroupId(); }, {}, 8);
        row("rename a client, notes emptied",
            [](auto cs, auto ch) { CounterpartyStore(cs).update(2, "Rossi l'Antico", QString(), ch); return -1; },
            {"UPDATE Accounts SET AcName = 'Rossi l''Antico', AcNotes = '' WHERE AcId = 2"}, -1,
            "UPDATE Accounts SET AcName = 'Neri' WHERE AcId = 2");
        row("new client", [](auto cs, auto ch) { return CounterpartyStore(cs).create("Verdi & figli", QString(), ch); },
            {"INSERT INTO Accounts (AcName, AcNotes) VALUES ('Verdi & figli', NULL)"}, 3);
        row("delete a client not in use", [](auto cs, auto ch) { return int(CounterpartyStore(cs).remove(2, ch)); },
            {"DELETE FROM Accounts WHERE AcId = 2"}, 1);
        row("a client in use by another sheet stays", [](auto cs, auto ch) { return int(CounterpartyStore(cs).remove(1, ch)); },
            {}, 0);

        // The new-deadline window's save, which returns the first new row id; the
        // editor's save of row 2, a credit.
        const auto create = [](const DeadlineStore::NewDeadlines &d) {
            return Operation([d](auto cs, auto ch) { return DeadlineStore(cs).createDeadlines(d, ch).rowIds.value(0); });
        };
        const Currency most = Currency::fromUnits(std::numeric_limits<qint64>::max());
        const Currency some = Currency::fromUnits(12345);
        row("new single, quotes and tabs, the largest amount, the last day",
            create({.type = 1, .description = Texted, .notes = Noted, .value = most, .dates = {QDate(9999, 12, 31)}}),
            {insertDeadline(QDate(9999, 12, 31), Texted, most, 1, Noted)}, 7);
        QStringList members;
        const QDate memberDates[] = {{2024, 1, 31}, {2024, 2, 29}, {2024, 3, 31}};
        for (int k = 1; k <= 3; ++k)
            members << "INSERT INTO Transactions (TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, "
                       "TrGrpType, TrGrpRow, TrGrpMDay, TrGrpId) VALUES (2, -1, '" + memberDates[k - 1].toString(Qt::ISODate)
                           + "', " + quoted(Texted) + ", '', 2, 125000, -125000, 'm', " + QString::number(k) + ", 3, 8)";
        row("new recurrence of 3 with a client, on another sheet",
            create({.sheetId = 2, .type = -1, .description = Texted, .acId = 2, .value = Currency::fromUnits(125000),
                    .dates = {std::begin(memberDates), std::end(memberDates)}, .groupType = u'm'}),
            members, 7);
        row("new single joining a group across sheets",
            create({.type = 1, .description = "d", .value = some, .dates = {QDate(2024, 2, 1)}, .groupId = 7}),
            {insertDeadline(QDate(2024, 2, 1), "d", some, 1).replace("'n', 0)", "'n', 7)"),
             "UPDATE Transactions SET TrGrpRow=1, TrGrpMDay=4 WHERE TrRowId=5",
             "UPDATE Transactions SET TrGrpRow=2, TrGrpMDay=4 WHERE TrRowId=7",
             "UPDATE Transactions SET TrGrpRow=3, TrGrpMDay=4 WHERE TrRowId=3",
             "UPDATE Transactions SET TrGrpRow=4, TrGrpMDay=4 WHERE TrRowId=4"},
            7);
        row("new deadline of a deleted client",
            create({.type = 1, .description = "d", .acId = 9, .value = some, .dates = {QDate(2024, 2, 1)}}), {}, 0);
        const auto edit = [](qint32 rowId, const DeadlineStore::DeadlineChanges &changes) {
            return Operation([=](auto cs, auto ch) {
                DeadlineStore store(cs);
                return store.updateDeadline(*store.readDeadline(rowId), changes, ch).outcome
                               == DeadlineStore::UpdateOutcome::Written ? -1 : -2;
            });
        };
        row("edit every column",
            edit(2, {.date = QDate(9999, 12, 31), .description = Texted, .acId = 1, .value = most, .notes = Noted, .done = true}),
            {"UPDATE Transactions SET TrDate = '9999-12-31', TrDescription = " + quoted(Texted)
             + ", TrAcId = 1, TrValue = 9223372036854775807, TrBalance = 9223372036854775807, TrNotes = " + quoted(Noted)
             + ", TrDone = 1 WHERE TrRowId = 2"});
        row("edit the amount only", edit(1, {.value = Currency::fromWhole(80)}),
            {"UPDATE Transactions SET TrValue = 800000, TrBalance = 800000 WHERE TrRowId = 1"});
        row("new sheet", [](auto cs, auto ch) { return SheetStore(cs).create("Casa d'Anna", ch); },
            {"INSERT INTO Dbs (DbId, DbName) VALUES (3, 'Casa d''Anna')"}, 3);
        row("rename a sheet", [](auto cs, auto ch) { SheetStore(cs).rename(1, "Home's", ch); return -1; },
            {"UPDATE Dbs SET DbName = 'Home''s' WHERE DbId = 1"});
        row("delete a sheet with its deadlines", [](auto cs, auto ch) { SheetStore(cs).remove(2, ch); return -1; },
            {remove + "TrDbId = 2", "DELETE FROM Dbs WHERE DbId = 2"}, -1,
            "undo: UPDATE Dbs SET DbName = 'x' WHERE DbId = 2");
    }

    // Each write gives the rows its statements give; the change it records, undone,
    // gives back every table exactly as before, ids included, and redone the rows after.
    void storeOperationsWriteTheExpectedRows()
    {
        QFETCH(Operation, operation);
        QFETCH(QStringList, sql);
        QFETCH(int, result);
        QFETCH(QString, meddle);
        fillRows(m_cs);
        QString expectedCs;
        if (onServer()) {
            const QString name = QUrl(m_cs).path().mid(1);
            Connection admin;   // on the maintenance database, which no register test keeps open
            admin.open(serverDatabase("postgres"));
            exec(admin, "DROP DATABASE IF EXISTS " + name + "_expected WITH (FORCE)");
            exec(admin, "CREATE DATABASE " + name + "_expected TEMPLATE " + name);
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
            // A file's SQL as the server's columns take it: Yes/No is a number there too.
            for (QString statement : sql)
                exec(c, onServer() ? statement.replace("NOT TrDone", "1 - TrDone") : statement);
        }
        const QStringList before = storedTables(m_cs);
        RowChange change;
        QCOMPARE(operation(m_cs, &change), result);
        const QStringList after = storedTables(expectedCs);
        QCOMPARE(storedTables(m_cs), after);

        QCOMPARE(change.isEmpty(), before == after);
        Connection c;
        c.open(m_cs);
        QCOMPARE(change.apply(c, RowChange::Direction::Undo), RowChange::Outcome::Done);
        QCOMPARE(storedTables(m_cs), before);
        QCOMPARE(change.apply(c, RowChange::Direction::Redo), RowChange::Outcome::Done);
        QCOMPARE(storedTables(m_cs), after);

        if (meddle.isEmpty())
            return;
        const bool undoFirst = meddle.startsWith("undo: ");
        if (undoFirst)
            QCOMPARE(change.apply(c, RowChange::Direction::Undo), RowChange::Outcome::Done);
        exec(c, meddle.remove("undo: "));
        const QStringList meddled = storedTables(m_cs);
        QCOMPARE(change.apply(c, undoFirst ? RowChange::Direction::Redo : RowChange::Direction::Undo),
                 RowChange::Outcome::Changed);
        QCOMPARE(storedTables(m_cs), meddled);
        QVERIFY(!c.inTransaction());
    }

};

QTEST_GUILESS_MAIN(tst_Connection)
#include "tst_Connection.moc"
