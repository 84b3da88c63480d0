#include "store/Connection.h"
#include "store/DbError.h"
#include "store/DeadlineStore.h"

#include "../support/TestDatabase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// The list's direct reader takes each stored value as the list shows it: what
// other tools may have written (a time after the date, an amount as a real or
// as text, Null beside empty text) included, and what is no amount said so.
class tst_RowReader final : public QObject
{
    Q_OBJECT

private slots:
    void readsStoredValuesAsTheListShowsThem_data();
    void readsStoredValuesAsTheListShowsThem();
    void reportsAFailingReadAsADatabaseError();

private:
    QTemporaryDir m_dir;
};

void tst_RowReader::readsStoredValuesAsTheListShowsThem_data()
{
    QTest::addColumn<QString>("date");          // as stored, SQL literal
    QTest::addColumn<QString>("value");         // as stored, SQL literal
    QTest::addColumn<QString>("description");   // as stored, SQL literal
    QTest::addColumn<QDate>("readDate");
    QTest::addColumn<qint64>("units");          // -1: no amount
    QTest::addColumn<QString>("readDescription");
    QTest::addColumn<bool>("descriptionNull");

    QTest::newRow("plain") << "'2024-01-15'" << "12345678" << "'It''s \"odd\"\t%_'" << QDate(2024, 1, 15)
                           << qint64(12345678) << "It's \"odd\"\t%_" << false;
    QTest::newRow("time after the date") << "'2100-02-28 13:45:00'" << "NULL" << "''" << QDate(2100, 2, 28)
                                         << qint64(0) << "" << false;
    QTest::newRow("real amount, null text") << "'1999-12-31'" << "2.5e4" << "NULL" << QDate(1999, 12, 31)
                                            << qint64(25000) << "" << true;
    QTest::newRow("amount past the range") << "'2024-01-01'" << "1e30" << "'x'" << QDate(2024, 1, 1) << qint64(-1)
                                           << "x" << false;
    QTest::newRow("no date") << "'someday'" << "7" << "'y'" << QDate() << qint64(7)
                                             << "y" << false;
    QTest::newRow("text that is no amount") << "NULL" << "'a lot'" << "'z'" << QDate() << qint64(-1) << "z" << false;
}

void tst_RowReader::readsStoredValuesAsTheListShowsThem()
{
    QFETCH(QString, date);
    QFETCH(QString, value);
    QFETCH(QString, description);
    const QString connectionString = copyTemplateTo(m_dir.path());
    QVERIFY(!connectionString.isEmpty());
    Connection connection;
    connection.open(connectionString);
    QSqlQuery insert(connection.database());
    QVERIFY(insert.exec(QStringLiteral("INSERT INTO Transactions (TrDbId, TrType, TrDone, TrDate, TrDescription, "
                                       "TrValue, TrBalance) VALUES (1, 1, 0, %1, %3, %2, %2)")
                            .arg(date, value, description)));
    const qint32 id = insert.lastInsertId().toInt();

    const DeadlineColumns rows = DeadlineStore(connection).rowsById({id, id + 1});
    QCOMPARE(rows.size(), 1);
    QFETCH(QDate, readDate);
    QCOMPARE(rows.day[0], readDate.isValid() ? qint32(readDate.toJulianDay()) : DeadlineColumns::NoDay);
    QFETCH(qint64, units);
    QCOMPARE(rows.amount[0], units >= 0 ? units : DeadlineColumns::Unreadable);
    QTEST(rows.description.at(0), "readDescription");
    QTEST(rows.description.at(0).isNull(), "descriptionNull");
    QVERIFY(rows.notes.at(0).isNull());
    QCOMPARE(rows.counterpartyId[0], 0);
}

void tst_RowReader::reportsAFailingReadAsADatabaseError()
{
    const QString connectionString = copyTemplateTo(m_dir.path());
    Connection connection;
    connection.open(connectionString);
    QSqlQuery(connection.database()).exec(QStringLiteral("DROP TABLE Accounts"));
    QVERIFY_THROWS_EXCEPTION(DbError, DeadlineStore(connection).sheetRows(1));
    // The connection stays usable.
    QCOMPARE(DeadlineStore(connection).countClosedUpTo(1, QDate(2100, 1, 1)), 0);
}

QTEST_GUILESS_MAIN(tst_RowReader)
#include "tst_RowReader.moc"
