#include "../support/TestDatabase.h"
#include "../support/TestRows.h"
#include "GridTestRows.h"

#include "mainwindow/DeadlineList.h"
#include "mainwindow/SheetDeadlines.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/GridPresenter.h"
#include "platform/grid/GridRecords.h"
#include "store/DeadlineStore.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The sample rows, with the model watched by Qt's item-model tester from then
// on, so every change a test makes is also checked against the model contract.
void fill(GridModel &m)
{
    if (!m.findChild<QAbstractItemModelTester *>())
        new QAbstractItemModelTester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest, &m);
    m.setRows(fields(), rows());
}

// The list as shown: "[value]" for a group row, the Id for a data row.
QString listing(const GridModel &m)
{
    QStringList out;
    for (int r = 1; r <= m.rowCount(); ++r) {
        if (m.isGroupRow(r))
            out << QLatin1Char('[') + m.value(r, m.groupColumn(r)).toString() + QLatin1Char(']');
        else
            out << m.value(r, Id).toString();
    }
    return out.join(QLatin1Char('|'));
}

class TeamPresenter final : public GridPresenter
{
public:
    int computedColumn = 0;
    int computedAsks = 0;
    int styleAsks = 0;

    QVariant computedValue(int column, const GridRow &row) override
    {
        ++computedAsks;
        if (column != computedColumn)
            return {};
        // Rows whose note mentions rent count; the others add nothing.
        return row.field(Note).toString().contains(QLatin1String("rent"), Qt::CaseInsensitive)
            ? row.field(QStringLiteral("amount"))
            : QVariant::fromValue(Currency());
    }
    bool displayText(int column, const GridRow &row, QString &text) override
    {
        if (column == Note) {
            text = row.field(Note).toString() + QStringLiteral(" #") + QString::number(row.bookmark());
            return true;
        }
        if (column == Amount && row.field(Id).toInt() == 2) {
            text.clear();
            return true;
        }
        return false;
    }
    int iconIndex(int column, const GridRow &row) override
    {
        return column == Id ? row.field(Id).toInt() + 4 : -1;
    }
    QString rowStyle(const GridRow &row) override
    {
        ++styleAsks;
        return row.field(Date).toDate() < QDate(2024, 2, 1) ? QStringLiteral("Expired") : QString();
    }
    QString groupCaption(const GridGroup &group, const QString &defaultCaption) override
    {
        return defaultCaption + QStringLiteral(" [") + group.sum(computedColumn).toCurrency().value_or(Currency()).toPlainText()
            + QStringLiteral("] ") + QString::number(group.dataRowCount());
    }
    bool isSortable(int column) override { return column != Note; }
};


// Open balance as the main list computes it: nothing once closed.
class BalancePresenter final : public GridPresenter
{
public:
    QVariant computedValue(int, const GridRow &row) override
    {
        return row.field(4).toBool() ? QVariant::fromValue(Currency()) : row.field(QStringLiteral("TrBalance"));
    }
};

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

// A copy of the template with the deadlines the binding tests read: two of
// sheet 1, one of them with a client, and one of sheet 2.
QString sheetDatabase(const QTemporaryDir &dir)
{
    const QString connection = copyTemplateTo(dir.path());
    if (connection.isEmpty())
        return connection;
    runSql(connection, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'pays late')"));
    insertDeadline(connection, 1, 1, false, QDate(2024, 3, 5), QStringLiteral("Rent"), 1, Currency::fromUnits(105000),
                   QStringLiteral("march"));
    insertDeadline(connection, 1, -1, true, QDate(2024, 2, 29), QStringLiteral("Power"), 0, Currency::fromUnits(32500));
    insertDeadline(connection, 2, 1, false, QDate(2024, 1, 1), QStringLiteral("Other sheet"), 0, Currency::fromWhole(1));
    return connection;
}

} // namespace

// The grid model, and the main list's rows read into it from a real database.
class tst_GridModel final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void listsGroupRowsAndDataRowsInScreenOrder_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("toggles");   // "c5" collapses listed row 5, "e4" expands row 4
        QTest::addColumn<QString>("expected");

        QTest::newRow("collapsed group hides its rows") << "2" << "c3" << "[]|4|[Blue]|[Red]|2|5";
        QTest::newRow("collapsing shifts the numbering") << "2" << "c3 c4" << "[]|4|[Blue]|[Red]";
        QTest::newRow("outer collapse hides inner groups")
            << "2,3" << "c5 c4" << "[]|[2024-02-29]|4|[Blue]|[Red]|[2024-01-10]|2|[2024-03-05]|5";
        QTest::newRow("re-expanding keeps inner state")
            << "2,3" << "c5 c4 e4"
            << "[]|[2024-02-29]|4|[Blue]|[2024-01-10]|[2024-03-05]|1|[Red]|[2024-01-10]|2|[2024-03-05]|5";
        QTest::newRow("toggling a data row does nothing") << "2" << "c2" << "[]|4|[Blue]|1|3|6|[Red]|2|5";
    }

    void listsGroupRowsAndDataRowsInScreenOrder()
    {
        QFETCH(QString, groups);
        QFETCH(QString, toggles);
        QFETCH(QString, expected);

        GridModel m;
        fill(m);
        for (const GridSortKey &k : keys(groups))
            m.addGroup(k.column, k.ascending);
        for (const QString &t : toggles.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            m.setExpanded(t.mid(1).toInt(), t.at(0) == QLatin1Char('e'));

        QCOMPARE(listing(m), expected);
        QCOMPARE(m.dataRowCount(), 6);
        for (int r = 1; r <= m.rowCount(); ++r) {
            QCOMPARE(m.data(m.index(r - 1, 0), GridModel::IsGroupRole).toBool(), m.isGroupRow(r));
            if (m.isGroupRow(r)) {
                QVERIFY(!m.value(r, Id).isValid());   // only the grouped column has a value
            } else {
                // Data rows are indented below every level.
                QCOMPARE(m.data(m.index(r - 1, 0), GridModel::LevelRole).toInt(), int(m.groups().size()));
                QCOMPARE(m.rowOfBookmark(m.bookmark(r)), r);
            }
        }
        QVERIFY(!m.isGroupRow(0));
        QVERIFY(!m.isGroupRow(m.rowCount() + 1));
    }

    void sortKeysFromCallsAndHeaderClicks()
    {
        GridModel m;
        fill(m);
        QSignalSpy changed(&m, &GridModel::sortKeysChanged);

        m.sortByHeader(Date);
        QCOMPARE(m.sortKeys(), keys("3"));
        QCOMPARE(listing(m), QStringLiteral("2|3|6|4|1|5"));
        m.sortByHeader(Date);
        QCOMPARE(m.sortKeys(), keys("3-"));
        QCOMPARE(listing(m), QStringLiteral("1|5|4|2|3|6"));
        m.sortByHeader(Amount);
        QCOMPARE(m.sortKeys(), keys("4,3-"));
        m.sortByHeader(Date);
        QCOMPARE(m.sortKeys(), keys("3,4"));
        QCOMPARE(changed.count(), 4);

        TeamPresenter presenter;
        m.setPresenter(&presenter);
        m.sortByHeader(Note);   // not sortable
        QCOMPARE(m.sortKeys(), keys("3,4"));
        m.clearSortKeys();
        QCOMPARE(listing(m), QStringLiteral("1|2|3|4|5|6"));

        // Keys and groups set before the rows apply to them, and rows read again
        // are ordered by their new values, not the old ones.
        GridModel late;
        late.addGroup(Team);
        late.setSortKeys(keys("4-"));
        fill(late);
        QCOMPARE(listing(late), QStringLiteral("[]|4|[Blue]|1|6|3|[Red]|5|2"));
        late.setRows({"Id", "Team", "Date", "Amount"}, {{1, "Blue", QDate(), money(1)}, {3, "Blue", QDate(), money(3)}});
        QCOMPARE(listing(late), QStringLiteral("[Blue]|3|1"));
    }

    void currentRowFollowsItsRowThroughRegrouping()
    {
        GridModel m;
        fill(m);
        QSignalSpy current(&m, &GridModel::currentRowChanged);
        m.setCurrentRow(6);   // id 6
        QCOMPARE(current.count(), 1);
        m.setCurrentRow(6);
        QCOMPARE(current.count(), 1);

        m.addSortKey(Amount, false);          // 5 1 4 6 3 2
        QCOMPARE(m.currentRow(), 4);
        m.addGroup(Team);                     // [] 4 [Blue] 1 6 3 [Red] 5 2
        QCOMPARE(m.currentRow(), 5);
        QCOMPARE(m.currentValue(Id).toInt(), 6);

        m.setExpanded(1, false);              // [] [Blue] 1 6 3 [Red] 5 2
        QCOMPARE(m.currentRow(), 4);
        m.setExpanded(2, false);              // the current row's group closes over it
        QCOMPARE(m.currentRow(), 2);
        QVERIFY(m.isCurrentGroupRow());
        m.setExpanded(2, true);
        QCOMPARE(m.currentRow(), 2);
        m.setCurrentRow(7);                   // id 5 under Red
        m.setExpanded(2, false);              // a group above it closes
        QCOMPARE(m.currentValue(Id).toInt(), 5);

        m.setCurrentRow(3);                   // [Red]
        m.clearGroups();                      // the group is gone: the row number stays
        QCOMPARE(m.currentRow(), 3);

        m.setCurrentRow(99);
        QCOMPARE(m.currentRow(), 0);
        QCOMPARE(m.bookmark(0), -1);
    }

    void findsFromTheCurrentOrAGroupRowAndOpensGroups()
    {

        GridModel m;
        fill(m);
        m.setCurrentRow(2);
        using Mode = GridModel::FindMode;
        QCOMPARE(m.find(Note, QStringLiteral("a"), Mode::Contains), 3);          // from the current row
        QCOMPARE(m.find(Note, QStringLiteral("a"), Mode::Contains), 5);
        QCOMPARE(m.find(Note, QStringLiteral("a"), Mode::Contains, -1, -1), 3);
        QCOMPARE(m.find(Note, QStringLiteral("q"), Mode::Contains), 0);
        QCOMPARE(m.currentRow(), 3);                                             // a miss leaves it

        m.addGroup(Team);   // 1 [] 2 id4 3 [Blue] 4 id1 5 id3 6 id6 7 [Red] 8 id2 9 id5
        QCOMPARE(m.find(Note, QStringLiteral("rent"), Mode::Contains, 3, 1), 4);     // into the group
        QCOMPARE(m.find(Note, QStringLiteral("rent"), Mode::Contains, 3, -1), 2);    // out of it
        QCOMPARE(m.find(Note, QStringLiteral("e"), Mode::Contains, 0, -1), 9);       // no row: from the end
        QCOMPARE(m.find(Amount, money(70000), Mode::Equal, 9, 1), 2);

        m.addGroup(Date);
        m.collapseAll();
        QCOMPARE(listing(m), QStringLiteral("[]|[Blue]|[Red]"));
        QCOMPARE(m.currentRow(), 1);   // the current row (id 4) passes to its outer group
        QSignalSpy current(&m, &GridModel::currentRowChanged);

        // The found row comes into view: the groups over it open.
        QCOMPARE(m.find(Id, 5, Mode::Equal, 0, 1), 6);
        QCOMPARE(listing(m), QStringLiteral("[]|[Blue]|[Red]|[2024-01-10]|[2024-03-05]|5"));
        QCOMPARE(current.last().first().toInt(), 6);

        m.collapseAll();
        QCOMPARE(m.currentRow(), 3);
        m.setExpanded(1, true);
        QCOMPARE(listing(m), QStringLiteral("[]|[2024-02-29]|[Blue]|[Red]"));
        QCOMPARE(m.currentRow(), 4);
        m.expandAll();
        QCOMPARE(m.rowCount(), 14);
        QCOMPARE(m.currentRow(), 10);
        QVERIFY(m.isExpanded(10));
    }

    void presenterSuppliesComputedValuesTextsIconsStylesAndCaptions()
    {
        GridModel m;
        TeamPresenter presenter;
        m.setPresenter(&presenter);
        fill(m);
        presenter.computedColumn = m.columnTotal() + 1;
        QCOMPARE(m.addComputedColumn(), 6);
        QVERIFY(m.isComputedColumn(6));
        QVERIFY(!m.isComputedColumn(5));
        QCOMPARE(m.columnOfField(QStringLiteral("NOTE")), int(Note));

        m.addGroup(Team);   // [] 4 [Blue] 1 3 6 [Red] 2 5
        // Computed once per row and kept: reading cells asks no more.
        const int asks = presenter.computedAsks;
        QCOMPARE(m.value(4, 6).value<Currency>().units(), qint64(105000));
        QCOMPARE(m.value(5, 6).value<Currency>().units(), qint64(0));
        QCOMPARE(presenter.computedAsks, asks);

        QCOMPARE(m.groupCaption(3), QStringLiteral("Blue [10.5] 3"));
        QCOMPARE(qint64(m.groupSum(7, 6).units()), qint64(1000000));
        QCOMPARE(qint64(m.groupSum(8, 6).units()), qint64(0));   // a data row has no sum
        QCOMPARE(m.data(m.index(2, 0), GridModel::StyleRole).toString(), QStringLiteral("RowGroup"));

        QCOMPARE(m.displayText(8, Note), QStringLiteral("Beta #1"));
        QCOMPARE(m.displayText(8, Amount), QString());           // emptied by the presenter
        QCOMPARE(m.value(8, Amount).value<Currency>().units(), qint64(-32500));
        QCOMPARE(m.data(m.index(3, 0), GridModel::IconIndexRole).toInt(), 5);
        QCOMPARE(m.data(m.index(3, 1), GridModel::IconIndexRole).toInt(), -1);
        QCOMPARE(m.data(m.index(4, 2), GridModel::StyleRole).toString(), QStringLiteral("Expired"));
        QCOMPARE(m.data(m.index(3, 2), GridModel::StyleRole).toString(), QString());

        const GridListedRow data = m.listedRow(8);
        QVERIFY(!data.isGroup);
        QCOMPARE(data.style, QStringLiteral("Expired"));
        QCOMPARE(data.texts.at(Note - 1), QStringLiteral("Beta #1"));
        QCOMPARE(data.icons.at(Id - 1), 6);
        const GridListedRow group = m.listedRow(7);
        QVERIFY(group.isGroup);
        QCOMPARE(group.caption, QStringLiteral("Red [100] 2"));

        // A caption the window sets stays through a refresh; other answers are asked again.
        m.setGroupCaption(3, QStringLiteral(" Until Today"));
        QCOMPARE(m.data(m.index(2, 0)).toString(), QStringLiteral(" Until Today"));
        QCOMPARE(m.groupCaption(2), QString());   // a data row has no caption
        const int styleAsks = presenter.styleAsks;
        m.data(m.index(3, 2), GridModel::StyleRole);
        QCOMPARE(presenter.styleAsks, styleAsks);   // kept, not asked again
        presenter.computedColumn = Amount;          // captions now total the amounts
        m.refreshPresentation();
        QCOMPARE(m.groupCaption(3), QStringLiteral(" Until Today"));
        QCOMPARE(m.groupCaption(7), QStringLiteral("Red [96.75] 2"));
        m.data(m.index(3, 2), GridModel::StyleRole);
        QCOMPARE(presenter.styleAsks, styleAsks + 1);
    }

    void columnChangesAndAddedRowsReachTheViews()
    {
        GridModel m;
        fill(m);
        m.addGroup(Team);
        QSignalSpy cells(&m, &GridModel::dataChanged);
        QSignalSpy columns(&m, &GridModel::columnsChanged);

        m.setColumnWidth(Date, 80);
        QCOMPARE(cells.count(), 0);             // a width changes no cell
        m.setColumnFormat(Amount, QStringLiteral("Currency"));
        QCOMPARE(cells.count(), 1);
        QCOMPARE(cells.last().at(0).value<QModelIndex>().column(), Amount - 1);
        QCOMPARE(m.displayText(4, Amount), QStringLiteral("$10.50"));
        m.setColumnFormat(Amount, QStringLiteral("Currency"));   // no change, no signal
        QCOMPARE(columns.count(), 2);

        m.setCurrentRow(5);   // id 3
        m.changeRows({-1}, GridRecords::fromRows(fields(), {{7, "Blue", QDate(2024, 5, 1), money(5)}}), {{}, m.groups()});
        QCOMPARE(listing(m), QStringLiteral("[]|4|[Blue]|1|3|6|7|[Red]|2|5"));
        QCOMPARE(m.currentRow(), 5);            // the number stays
        QVERIFY(!m.value(7, Note).isValid());   // a short row is padded with Null
        m.setColumnEmptyText(Note, QStringLiteral("(none)"));
        QCOMPARE(m.data(m.index(6, Note - 1)).toString(), QStringLiteral("(none)"));

        // Every value reads as the program's other texts do: the year in full (2124
        // is not 2024), money exact, the digits past the currency's own kept.
        QCOMPARE(GridModel::formatValue(QDate(2124, 4, 6), QStringLiteral("Short Date")), QStringLiteral("4/6/2124"));
        QCOMPARE(GridModel::formatValue(money(123456789012345678), QStringLiteral("Currency")),
                 QStringLiteral("$12,345,678,901,234.5678"));
        QCOMPARE(GridModel::formatValue(money(-49), QStringLiteral("Currency")), QStringLiteral("($0.0049)"));
        QCOMPARE(GridModel::formatValue(-7, QStringLiteral("Currency")), QStringLiteral("($7.00)"));
    }

    void rereadKeepsCurrentRowByKey()
    {
        // Rows known by an id: a re-read finds the current one again wherever it now
        // stands; when it is gone, the first survivor of those listed after it, and
        // when none follows, the nearest before it. Never "the same number".
        const QStringList names{"Id", "Team"};
        auto rowsOf = [](const QList<int> &ids) {
            std::vector<QVariantList> out;
            for (int id : ids)
                out.push_back({id, id % 2 ? QStringLiteral("Odd") : QStringLiteral("Even")});
            return out;
        };
        auto currentId = [](const GridModel &m) { return m.value(m.currentRow(), 1).toInt(); };
        GridModel m;
        new QAbstractItemModelTester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest, &m);
        m.setKeyColumn(1);
        m.setRows(names, rowsOf({1, 2, 3, 4, 5}));
        m.setGroups({{2, true}});   // [Even] 2 4 [Odd] 1 3 5
        QCOMPARE(m.rowCount(), 7);
        m.setCurrentRow(3);         // id 4
        QCOMPARE(currentId(m), 4);

        m.setRows(names, rowsOf({5, 4, 3, 2, 1}));
        QCOMPARE(currentId(m), 4);
        m.setRows(names, rowsOf({1, 2, 3, 4, 5}));
        QCOMPARE(currentId(m), 4);
        // 4 leaves: 1 followed it, across the group row.
        m.setRows(names, rowsOf({1, 2, 3, 5}));
        QCOMPARE(currentId(m), 1);
        QVERIFY(!m.isCurrentGroupRow());
        // Nothing after 5 survives: the nearest before it.
        m.setCurrentRow(m.rowCount());
        QCOMPARE(currentId(m), 5);
        m.setRows(names, rowsOf({2, 3}));
        QCOMPARE(currentId(m), 3);

        // Regrouping in one call lists exactly what level by level would.
        GridModel levelByLevel;
        levelByLevel.setRows(names, rowsOf({1, 2, 3, 4, 5}));
        levelByLevel.addGroup(2, false);
        levelByLevel.addGroup(1, true);
        GridModel atOnce;
        atOnce.setRows(names, rowsOf({9}));
        atOnce.setGroups({{2, true}});
        atOnce.setCurrentRow(2);
        atOnce.collapseAll();
        atOnce.setRows(names, rowsOf({1, 2, 3, 4, 5}));
        atOnce.setGroups({{2, false}, {1, true}});
        QCOMPARE(atOnce.rowCount(), levelByLevel.rowCount());
        for (int row = 1; row <= atOnce.rowCount(); ++row) {
            QCOMPARE(atOnce.isGroupRow(row), levelByLevel.isGroupRow(row));
            QCOMPARE(atOnce.value(row, 1), levelByLevel.value(row, 1));
        }

        // Without a key the current row keeps its number.
        GridModel plain;
        plain.setRows(names, rowsOf({1, 2, 3}));
        plain.setCurrentRow(2);
        plain.setRows(names, rowsOf({3, 1}));
        QCOMPARE(plain.currentRow(), 2);
        QCOMPARE(currentId(plain), 1);
    }

    void readsTheSheetAndRereadsOnlyTheRowsAWriteNamed()
    {
        QTemporaryDir dir;
        const QString connection = sheetDatabase(dir);
        QVERIFY2(!connection.isEmpty(), "template database missing");
        // Sheet 3 holds most of the table (a pass over the table), sheet 1 a small
        // share (the sheet's index): both list their rows by date, the list's tie.
        // Its "0" names Acme, its "1" a client no longer in the file.
        for (int i = 0; i < 10; ++i)
            insertDeadline(connection, 3, 1, false, QDate(2024, 1, 1).addDays(-i), QString::number(i),
                           i == 0 ? 1 : i == 1 ? 99 : 0, Currency::fromWhole(i));
        DeadlineStore store(connection);
        {
            GridModel m;
            BalancePresenter presenter;
            m.setPresenter(&presenter);
            SheetDeadlines sheet;
            GridModel::Layout byDate;
            byDate.ties = {{ListColumn::TrDate, true}};
            m.setRecords(sheet.load(store, 3), byDate);
            QCOMPARE(listed(m), (QStringList{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
            using namespace ListColumn;
            QCOMPARE((QVariantList{m.value(10, AcId), m.value(10, AcName), m.value(10, AcNotes)}),
                     (QVariantList{1, "Acme", "pays late"}));
            QCOMPARE((QVariantList{m.value(9, TrAcId), m.value(9, AcId), m.value(9, AcName), m.value(9, AcNotes)}),
                     (QVariantList{99, QVariant(), QVariant(), QVariant()}));

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
            m.setLayout(byDate);
            QCOMPARE(m.find(mentions(QStringLiteral("power")), 0, 1), 1);
        }

        // Then a write names the rows it changed, and only those are read again.
        SheetDeadlines sheet;
        // The list is always sorted: a row new to the sheet is held last but listed in its place.
        GridModel m;
        m.setKeyColumn(ListColumn::TrRowId);
        m.addSortKey(ListColumn::TrDate);
        m.setRecords(sheet.load(store, 1), openOnly());
        const qint32 rent = firstValue(connection, QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDescription = 'Rent'")).toInt();
        const qint32 power = firstValue(connection, QStringLiteral("SELECT TrRowId FROM Transactions WHERE TrDescription = 'Power'")).toInt();
        QCOMPARE(listed(m), QStringList{"Rent"});
        // A second list ordered on a text, its group closed by the user.
        SheetDeadlines byTextRows;
        GridModel byText;
        byText.addSortKey(ListColumn::TrDescription, false);
        byText.setRecords(byTextRows.load(store, 1), openOnly());
        byText.setExpanded(1, false);
        // A third ordered on a computed column: Power, open again, weighs its balance.
        BalancePresenter balances;
        SheetDeadlines byOpenRows;
        GridModel byOpen;
        byOpen.setPresenter(&balances);
        byOpen.setRecords(byOpenRows.load(store, 1));
        byOpen.addComputedColumn();
        byOpen.addComputedColumn();
        byOpen.addSortKey(ListColumn::OpenBalance, false);
        byOpen.setLayout(openOnly());

        // Power opens again and Rent leaves; a new row joins, another sheet's row
        // named by mistake stays out, and the current row follows Rent's successor.
        store.toggleDone(power);
        store.deleteDeadline(rent);
        insertDeadline(connection, 1, -2, false, QDate(2024, 1, 1), QStringLiteral("Dentist"), 0, Currency());
        const qint32 added = firstValue(connection, QStringLiteral("SELECT Max(TrRowId) FROM Transactions")).toInt();
        const qint32 otherSheet = 3;
        SheetDeadlines::Changes changes = sheet.reread(store, {rent, power, added, otherSheet});
        m.changeRows(changes.bookmarks, std::move(changes.rows), openOnly());
        QCOMPARE(listed(m), (QStringList{"Dentist", "Power"}));
        QCOMPARE(m.dataRowCount(), 2);
        // Only the named rows move; the closed group stays closed.
        SheetDeadlines::Changes textChanges = byTextRows.reread(store, {rent, power, added});
        byText.changeRows(textChanges.bookmarks, std::move(textChanges.rows), openOnly());
        QVERIFY(!byText.isExpanded(1));
        SheetDeadlines::Changes openChanges = byOpenRows.reread(store, {rent, power, added});
        byOpen.changeRows(openChanges.bookmarks, std::move(openChanges.rows), openOnly());
        QCOMPARE(listed(byOpen), (QStringList{"Dentist", "Power"}));
        QCOMPARE((QStringList{byText.orderedDataRow(0).field(ListColumn::TrDescription).toString(),
                              byText.orderedDataRow(1).field(ListColumn::TrDescription).toString()}),
                 (QStringList{"Power", "Dentist"}));

        // What it holds is what a whole read gives; a failed read throws and changes nothing.
        GridModel whole;
        whole.addSortKey(ListColumn::TrDate);
        SheetDeadlines fresh;
        whole.setRecords(fresh.load(store, 1), openOnly());
        QCOMPARE(listed(whole), listed(m));
        QFile::remove(dir.filePath(QStringLiteral("orvel2.mdb")));
        QVERIFY_THROWS_EXCEPTION(DbError, {
            DeadlineStore gone(connection);
            sheet.reread(gone, {power});
        });
        QCOMPARE(sheet.sheetId(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_GridModel)
#include "tst_GridModel.moc"