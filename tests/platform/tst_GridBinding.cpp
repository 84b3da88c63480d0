#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "mainwindow/DeadlineList.h"
#include "platform/grid/GridModel.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Open balance as the main list computes it: nothing once closed.
class BalancePresenter final : public GridPresenter
{
public:
    QVariant computedValue(int, const GridRow &row) override
    {
        return row.field(4).toBool() ? QVariant::fromValue(Currency()) : row.field(QStringLiteral("TrBalance"));
    }
};

} // namespace

class tst_GridBinding final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsTheRecordSourceWithTheStoreConventions();
    void requeryReadsChangesKeepsSettingsOrFailsWithoutHarm();

private:
    QTemporaryDir m_dir;
    QString m_connectionString;
};

void tst_GridBinding::init()
{
    QVERIFY(m_dir.isValid());
    m_connectionString = copyTemplateTo(m_dir.path());
    QVERIFY2(!m_connectionString.isEmpty(), "template database missing");
    runJet(m_connectionString, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'pays late')"));
    insertDeadline(m_connectionString, 1, 1, false, QDate(2024, 3, 5), QStringLiteral("Rent"), 1, Currency::fromUnits(105000),
                   QStringLiteral("march"));
    insertDeadline(m_connectionString, 1, -1, true, QDate(2024, 2, 29), QStringLiteral("Power"), 0, Currency::fromUnits(32500));
    insertDeadline(m_connectionString, 2, 1, false, QDate(2024, 1, 1), QStringLiteral("Other sheet"), 0, Currency::fromWhole(1));
}

void tst_GridBinding::readsTheRecordSourceWithTheStoreConventions()
{
    GridModel m;
    BalancePresenter presenter;
    m.setPresenter(&presenter);
    m.setConnectionString(m_connectionString);
    m.setRecordSource(baseListQuery() + QStringLiteral("Where TrDbId=0"));
    m.requery();
    QCOMPARE(m.fieldCount(), 18);
    QCOMPARE(m.rowCount(), 0);
    QCOMPARE(m.addComputedColumn(), 19);
    QCOMPARE(m.addComputedColumn(), 20);
    QCOMPARE(m.columnOfField(QStringLiteral("AcName")), 16);

    m.setRecordSource(baseListQuery() + QStringLiteral("Where TrDbId=1 AND (True )"));
    m.requery();
    m.addSortKey(5);
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE((QVariantList{m.value(1, 6), m.value(1, 5), m.value(1, 4), m.value(1, 9)}),
             (QVariantList{"Power", QDate(2024, 2, 29), true, QVariant::fromValue(Currency::fromUnits(-32500))}));
    QVERIFY(!m.value(1, 16).isValid());                     // no counterparty: Null
    QCOMPARE(m.value(2, 16).toString(), QStringLiteral("Acme"));
    QCOMPARE(m.value(2, 18).toString(), QStringLiteral("Rent Acme march pays late"));
    QCOMPARE(m.value(1, 20).value<Currency>().units(), qint64(0));
    QCOMPARE(m.value(2, 20).value<Currency>().units(), qint64(105000));

    m.addGroup(2);
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(qint64(m.groupSum(1, 20).units()), qint64(105000));
    QCOMPARE(m.find(18, QStringLiteral("ACME"), GridModel::FindMode::Contains, 0, 1), 3);
    QCOMPARE(m.find(1, m.value(2, 1), GridModel::FindMode::Equal, 0, 1), 2);
}

void tst_GridBinding::requeryReadsChangesKeepsSettingsOrFailsWithoutHarm()
{
    GridModel m;
    m.setConnectionString(m_connectionString);
    m.setRecordSource(QStringLiteral("Transactions"));   // a table name reads the whole table
    m.requery();
    QCOMPARE(m.rowCount(), 3);
    m.setColumnVisible(1, false);
    m.setCurrentRow(2);

    runJet(m_connectionString, QStringLiteral("UPDATE Transactions SET Transactions.TrDone = Not [TrDone] WHERE Transactions.TrRowId=1"));
    m.requery();
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(m.value(1, 4).toBool(), true);
    QVERIFY(!m.isColumnVisible(1));
    QCOMPARE(m.currentRow(), 2);

    // A failed read leaves the list as it was.
    m.setRecordSource(QStringLiteral("SELECT * FROM NoSuchTable"));
    QVERIFY_THROWS_EXCEPTION(DbError, m.requery());
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(m.fieldCount(), 14);
}

QTEST_GUILESS_MAIN(tst_GridBinding)
#include "tst_GridBinding.moc"
