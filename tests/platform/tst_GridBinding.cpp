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

namespace {

// The listed deadlines' descriptions, in order, group rows left out.
QStringList listed(const GridModel &m)
{
    QStringList texts;
    for (int row = 1; row <= m.rowCount(); ++row)
        if (!m.isGroupRow(row))
            texts << m.value(row, ListColumn::TrDescription).toString();
    return texts;
}

GridModel::Layout openOnly()
{
    return {[](const GridRow &row) {
                return row.field(ListColumn::TrRowId).isValid() && !row.field(ListColumn::TrDone).toBool();
            },
            {{ListColumn::TrDbId, true}}};
}

} // namespace

void tst_GridBinding::readsTheSheetIntoTheGridByEitherPlan()
{
    // Sheet 3 holds most of the table (a pass over the table), sheet 1 a small
    // share (the sheet's index): both give their rows in date order.
    for (int i = 0; i < 10; ++i)
        insertDeadline(m_connectionString, 3, 1, false, QDate(2024, 1, 1).addDays(-i), QString::number(i), 0,
                       Currency::fromWhole(i));
    DeadlineStore store(m_connectionString);
    GridModel m;
    BalancePresenter presenter;
    m.setPresenter(&presenter);
    SheetDeadlines sheet;
    m.setRecords(sheet.load(store, 3));
    QCOMPARE(listed(m), (QStringList{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));

    m.setRecords(sheet.load(store, 1));
    QCOMPARE(m.fieldCount(), ListColumn::Fields);
    QCOMPARE(m.addComputedColumn(), ListColumn::GroupKey);
    QCOMPARE(m.addComputedColumn(), ListColumn::OpenBalance);
    QCOMPARE(m.columnOfField(QStringLiteral("AcName")), ListColumn::AcName);
    m.setRecords(sheet.load(store, 1));
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE((QVariantList{m.value(1, 6), m.value(1, 5), m.value(1, 4), m.value(1, 9)}),
             (QVariantList{"Power", QDate(2024, 2, 29), true, QVariant::fromValue(Currency::fromUnits(-32500))}));
    QVERIFY(!m.value(1, ListColumn::AcName).isValid());   // no counterparty: Null, shown as "(none)"
    QCOMPARE(m.value(2, ListColumn::AcName).toString(), QStringLiteral("Acme"));
    QCOMPARE(m.value(1, ListColumn::OpenBalance).value<Currency>().units(), qint64(0));
    QCOMPARE(m.value(2, ListColumn::OpenBalance).value<Currency>().units(), qint64(105000));

    // A view leaves rows out without a read: not listed, not added up, not found.
    m.setLayout(openOnly());
    QCOMPARE(listed(m), QStringList{"Rent"});
    QCOMPARE(m.dataRowCount(), 1);
    QCOMPARE(qint64(m.groupSum(1, ListColumn::OpenBalance).units()), qint64(105000));
    auto mentions = [](const QString &text) {
        return [text](const GridRow &row) {
            using namespace ListColumn;
            return searchText(row.field(TrDescription).toString(), row.field(AcName).toString(),
                              row.field(TrNotes).toString(), row.field(AcNotes).toString())
                .contains(text, Qt::CaseInsensitive);
        };
    };
    QCOMPARE(m.find(mentions(QStringLiteral("ACME MARCH")), 0, 1), 2);
    QCOMPARE(m.find(mentions(QStringLiteral("power")), 0, 1), 0);
    m.setLayout({});
    QCOMPARE(m.find(mentions(QStringLiteral("power")), 0, 1), 1);
}

void tst_GridBinding::rereadsOnlyTheRowsAWriteNamed()
{
    DeadlineStore store(m_connectionString);
    SheetDeadlines sheet;
    // The list is always sorted: a row new to the sheet is held last but listed in its place.
    GridModel m;
    m.setKeyColumn(ListColumn::TrRowId);
    m.addSortKey(ListColumn::TrDate);
    m.setRecords(sheet.load(store, 1), openOnly());
    const qint32 rent = firstValue(m_connectionString, QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDescription = 'Rent'")).toInt();
    const qint32 power = firstValue(m_connectionString, QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDescription = 'Power'")).toInt();
    QCOMPARE(listed(m), QStringList{"Rent"});
    // A second list ordered on a text, its group closed by the user.
    SheetDeadlines byTextRows;
    GridModel byText;
    byText.addSortKey(ListColumn::TrDescription, false);
    byText.setRecords(byTextRows.load(store, 1), openOnly());
    byText.setExpanded(1, false);

    // Power opens again and Rent leaves; a new row joins, another sheet's row
    // named by mistake stays out, and the current row follows Rent's successor.
    store.toggleDone(power);
    store.deleteDeadline(rent);
    insertDeadline(m_connectionString, 1, -2, false, QDate(2024, 1, 1), QStringLiteral("Dentist"), 0, Currency());
    const qint32 added = firstValue(m_connectionString, QStringLiteral("SELECT Max(TrRowId) FROM Transactions")).toInt();
    const qint32 otherSheet = 3;
    SheetDeadlines::Changes changes = sheet.reread(store, {rent, power, added, otherSheet});
    m.changeRows(changes.bookmarks, std::move(changes.rows), openOnly());
    QCOMPARE(listed(m), (QStringList{"Dentist", "Power"}));
    QCOMPARE(m.dataRowCount(), 2);
    // Only the named rows move; the closed group stays closed.
    SheetDeadlines::Changes textChanges = byTextRows.reread(store, {rent, power, added});
    byText.changeRows(textChanges.bookmarks, std::move(textChanges.rows), openOnly());
    QVERIFY(!byText.isExpanded(1));
    QCOMPARE((QStringList{byText.orderedDataRow(0).field(ListColumn::TrDescription).toString(),
                          byText.orderedDataRow(1).field(ListColumn::TrDescription).toString()}),
             (QStringList{"Power", "Dentist"}));

    // What it holds is what a whole read gives; a failed read throws and changes nothing.
    GridModel whole;
    whole.addSortKey(ListColumn::TrDate);
    SheetDeadlines fresh;
    whole.setRecords(fresh.load(store, 1), openOnly());
    QCOMPARE(listed(whole), listed(m));
    QFile::remove(m_dir.filePath(QStringLiteral("orvel2.mdb")));
    QVERIFY_THROWS_EXCEPTION(DbError, {
        DeadlineStore gone(m_connectionString);
        sheet.reread(gone, {power});
    });
    QCOMPARE(sheet.sheetId(), 1);
}

QTEST_GUILESS_MAIN(tst_GridBinding)
#include "tst_GridBinding.moc"
