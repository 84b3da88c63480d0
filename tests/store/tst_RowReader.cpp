#include "mainwindow/DeadlineList.h"
#include "store/Database.h"
#include "store/JetSql.h"
#include "store/RowReader.h"

#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include <QTemporaryDir>
#include <QTest>

// The list's direct reader gives every value exactly as a record set of the
// store does (same type, same value), binds its parameters as values, and
// reports a failing statement as a database error.
class tst_RowReader final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_connectionString = copyTemplateTo(m_dir.path());
        QVERIFY(!m_connectionString.isEmpty());
        runJet(m_connectionString, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'Call')"));
        const int acme = firstValue(m_connectionString, QStringLiteral("SELECT AcId FROM Accounts")).toInt();
        insertDeadline(m_connectionString, 1, 1, false, QDate(2024, 1, 15), QStringLiteral("Rent"), acme,
                       Currency::fromUnits(1234567), QStringLiteral("line one\nline two"));
        insertDeadline(m_connectionString, 1, -1, true, QDate(1999, 12, 31), QStringLiteral("Loan"), 0,
                       Currency::fromUnits(-1), QString(), 7, 2, 3);
        insertDeadline(m_connectionString, 1, -2, false, QDate(2100, 2, 28), QStringLiteral("Dentist"), 0, Currency());
    }

    void readsWhatARecordsetReads()
    {
        const QString jet = listQueryText(0, 0, 1, QDate(), QDate());
        Connection connection;
        connection.open(m_connectionString);
        const TranslatedSql translated = translateJetStatement(jet, connection.schema());
        Recordset expected;
        expected.open(jet, connection);

        RowReader reader(connection, translated.text, translated.parameters);
        reader.setKinds(resultColumnKinds(reader.columnNames(), translated, connection.schema()));
        QCOMPARE(reader.columnNames(), expected.fieldNames());
        int rows = 0;
        while (reader.next()) {
            QVERIFY(!expected.eof());
            for (int c = 0; c < reader.columnCount(); ++c) {
                const QVariant mine = reader.value(c);
                const QVariant theirs = expected.field(c);
                const QString where = QStringLiteral("row %1, %2").arg(rows).arg(reader.columnNames().at(c));
                QVERIFY2(mine.metaType() == theirs.metaType(), qPrintable(where + u' ' + mine.metaType().name()));
                QVERIFY2(mine == theirs, qPrintable(where + u' ' + mine.toString() + u'/' + theirs.toString()));
            }
            expected.moveNext();
            ++rows;
        }
        QVERIFY(expected.eof());
        QCOMPARE(rows, 3);
    }

    void bindsValuesAndReportsFailures()
    {
        const QString odd = QStringLiteral("It's \"odd\" % _ # \\ ; --");
        runJet(m_connectionString, QStringLiteral("UPDATE Transactions SET TrDescription='%1' WHERE TrType=1")
                                       .arg(QString(odd).replace(u'\'', QStringLiteral("''"))));
        Connection connection;
        connection.open(m_connectionString);
        RowReader reader(connection, QStringLiteral("SELECT TrDescription, TrType FROM Transactions "
                                                    "WHERE TrDescription = ? AND TrType > ?"),
                         {odd, -3});
        QVERIFY(reader.next());
        QCOMPARE(reader.value(0).toString(), odd);
        QVERIFY(!reader.next());

        // A failing statement is a database error, and the connection stays usable.
        QVERIFY_THROWS_EXCEPTION(DbError, RowReader(connection, QStringLiteral("SELECT Nothing FROM Nowhere")));
        RowReader count(connection, QStringLiteral("SELECT Count(*) FROM Transactions"));
        QVERIFY(count.next());
        QCOMPARE(count.value(0).toLongLong(), 3);
    }

private:
    QTemporaryDir m_dir;
    QString m_connectionString;
};

QTEST_GUILESS_MAIN(tst_RowReader)
#include "tst_RowReader.moc"
