#include "../support/TestDatabase.h"
#include "../support/TestRows.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/SheetDeadlines.h"
#include "platform/grid/GridModel.h"
#include "store/DeadlineStore.h"

#include <QFile>
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
    void readsTheSheetIntoTheGridByEitherPlan();
    void rereadsOnlyTheRowsAWriteNamed();

private:
    QTemporaryDir m_dir;
    QString m_connectionString;
};

void tst_GridBinding::init()
{
    QVERIFY(m_dir.isValid());
    m_connectionString = copyTemplateTo(m_dir.path());
    QVERIFY2(!m_connectionString.isEmpty(), "template database missing");
    runSql(m_connectionString, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'pays late')"));
    insertDeadline(m_connectionString, 1, 1, false, QDate(2024, 3, 5), QStringLiteral("Rent"), 1, Currency::fromUnits(105000),
                   QStringLiteral("march"));
    insertDeadline(m_connectionString, 1, -1, true, QDate(2024, 2, 29), QStringLiteral("Power"), 0, Currency::fromUnits(32500));
    insertDeadline(m_connectionString, 2, 1, false, QDate(2024, 1, 1), QStringLiteral("Other sheet"), 0, Currency::fromWhole(1));
}

void tst_GridBinding::readsTheSheetIntoTheGridByEitherPlan()
{
    // Sheet 3 holds most of the table (a pass over the table), sheet 1 a small
    // share (the sheet's index): both give the same rows, in date order.
    for (int i = 0; i < 10; ++i)
        insertDeadline(m_connectionString, 3, 1, false, QDate(2024, 1, 1).addDays(-i), QStringLiteral("Bulk"), 0,
                       Currency::fromWhole(i));
    DeadlineStore store(m_connectionString);
    SheetDeadlines bulk;
    bulk.load(store, 3);
    QCOMPARE(int(bulk.rows().size()), 10);
    QCOMPARE(bulk.rows().front().date, QDate(2023, 12, 23));
    QCOMPARE(bulk.rows().back().date, QDate(2024, 1, 1));

    SheetDeadlines sheet;
    sheet.load(store, 1);
    GridModel m;
    BalancePresenter presenter;
    m.setPresenter(&presenter);
    m.setRecords(sheet.records([](const DeadlineRow &) { return true; }));
    QCOMPARE(m.fieldCount(), ListColumn::Fields);
    QCOMPARE(m.addComputedColumn(), ListColumn::GroupKey);
    QCOMPARE(m.addComputedColumn(), ListColumn::OpenBalance);
    QCOMPARE(m.columnOfField(QStringLiteral("AcName")), ListColumn::AcName);
    m.setRecords(sheet.records([](const DeadlineRow &) { return true; }));
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE((QVariantList{m.value(1, 6), m.value(1, 5), m.value(1, 4), m.value(1, 9)}),
             (QVariantList{"Power", QDate(2024, 2, 29), true, QVariant::fromValue(Currency::fromUnits(-32500))}));
    QVERIFY(!m.value(1, ListColumn::AcName).isValid());   // no counterparty: Null, shown as "(none)"
    QCOMPARE(m.value(2, ListColumn::AcName).toString(), QStringLiteral("Acme"));
    QCOMPARE(m.value(1, ListColumn::OpenBalance).value<Currency>().units(), qint64(0));
    QCOMPARE(m.value(2, ListColumn::OpenBalance).value<Currency>().units(), qint64(105000));

    m.addGroup(ListColumn::TrDbId);
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(qint64(m.groupSum(1, ListColumn::OpenBalance).units()), qint64(105000));
    auto mentions = [](const QString &text) {
        return [text](const GridRow &row) {
            using namespace ListColumn;
            return searchText(row.field(TrDescription).toString(), row.field(AcName).toString(),
                              row.field(TrNotes).toString(), row.field(AcNotes).toString())
                .contains(text, Qt::CaseInsensitive);
        };
    };
    QCOMPARE(m.find(mentions(QStringLiteral("ACME MARCH")), 0, 1), 3);
    QCOMPARE(m.find(mentions(QStringLiteral("nobody")), 0, 1), 0);
}

void tst_GridBinding::rereadsOnlyTheRowsAWriteNamed()
{
    DeadlineStore store(m_connectionString);
    SheetDeadlines sheet;
    sheet.load(store, 1);
    auto ids = [&sheet] {
        QList<qint32> list;
        for (const DeadlineRow &row : sheet.rows())
            list << row.rowId;
        return list;
    };
    const QList<qint32> before = ids();   // Power (Feb), Rent (Mar)
    QCOMPARE(before.size(), 2);

    // Rent moves before Power, Power leaves, a new row joins, another sheet's row
    // named by mistake stays out.
    runSql(m_connectionString, QStringLiteral("UPDATE Transactions SET TrDate = '2024-01-15' WHERE TrRowId = %1")
                                   .arg(before.at(1)));
    store.deleteDeadline(before.at(0));
    insertDeadline(m_connectionString, 1, -2, false, QDate(2024, 6, 1), QStringLiteral("Dentist"), 0, Currency());
    const qint32 added = firstValue(m_connectionString, QStringLiteral("SELECT Max(TrRowId) FROM Transactions")).toInt();
    const qint32 otherSheet = 3;
    sheet.reread(store, {before.at(0), before.at(1), added, otherSheet});
    QCOMPARE(ids(), (QList<qint32>{before.at(1), added}));
    QCOMPARE(sheet.rows().front().date, QDate(2024, 1, 15));

    // What it holds is what a whole read gives; a failed read keeps it.
    SheetDeadlines fresh;
    fresh.load(store, 1);
    QCOMPARE(fresh.rows().size(), sheet.rows().size());
    QCOMPARE(fresh.rows().back().description, QStringLiteral("Dentist"));
    QFile::remove(m_dir.filePath(QStringLiteral("orvel2.mdb")));
    QVERIFY_THROWS_EXCEPTION(DbError, {
        DeadlineStore gone(m_connectionString);
        sheet.load(gone, 1);
    });
    QCOMPARE(ids(), (QList<qint32>{before.at(1), added}));
}

QTEST_GUILESS_MAIN(tst_GridBinding)
#include "tst_GridBinding.moc"
