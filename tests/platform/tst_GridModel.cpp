#include "platform/grid/GridModel.h"
#include "platform/grid/GridPresenter.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <limits>

namespace {

enum Col { Id = 1, Team, Date, Amount, Note };

Currency money(qint64 units)
{
    return Currency::fromUnits(units);
}

QVariant cur(qint64 units)
{
    return QVariant::fromValue(money(units));
}

// Six rows whose ties and Null make the ordering rules visible.
void fill(GridModel &m)
{
    const QStringList fields{"Id", "Team", "Date", "Amount", "Note"};
    std::vector<QVariantList> rows{
        {1, "Blue", QDate(2024, 3, 5), cur(105000), "alpha rent"},
        {2, "Red", QDate(2024, 1, 10), cur(-32500), "Beta"},
        {3, "Blue", QDate(2024, 1, 10), cur(1), "gamma"},
        {4, QVariant(), QDate(2024, 2, 29), cur(70000), "Rent office"},
        {5, "Red", QDate(2024, 3, 5), cur(1000000), "delta RENT"},
        {6, "Blue", QDate(2024, 1, 10), cur(20000), "epsilon"},
    };
    m.setRows(fields, rows);
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

// "2" or "2-,3": columns with an optional '-' for descending.
QList<GridSortKey> keys(const QString &columns)
{
    QList<GridSortKey> out;
    for (QString part : columns.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const bool descending = part.endsWith(QLatin1Char('-'));
        part.remove(QLatin1Char('-'));
        out.append({part.toInt(), !descending});
    }
    return out;
}

void applyGroups(GridModel &m, const QString &columns)
{
    for (const GridSortKey &k : keys(columns))
        m.addGroup(k.column, k.ascending);
}

class TeamPresenter final : public GridPresenter
{
public:
    int computedColumn = 0;
    int computedAsks = 0;

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
        return row.field(Date).toDate() < QDate(2024, 2, 1) ? QStringLiteral("Expired") : QString();
    }
    QString groupCaption(const GridGroup &group, const QString &defaultCaption) override
    {
        return defaultCaption + QStringLiteral(" [") + group.sum(computedColumn).toPlainText()
            + QStringLiteral("] ") + QString::number(group.dataRowCount());
    }
    bool isSortable(int column) override { return column != Note; }
};

} // namespace

class tst_GridModel final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void satisfiesTheItemModelContract();
    void listsGroupRowsAndDataRowsInScreenOrder_data();
    void listsGroupRowsAndDataRowsInScreenOrder();
    void sortsWithinGroupsKeepingTies_data();
    void sortsWithinGroupsKeepingTies();
    void headerClickMakesTheColumnTheFirstKey();
    void sumsGroupsExactly_data();
    void sumsGroupsExactly();
    void findsForwardAndBackwardWithWrap_data();
    void findsForwardAndBackwardWithWrap();
    void findOpensGroupsAndCollapseAllClosesThem();
    void findFromTheCurrentRowAndMissLeavesItAlone();
    void currentRowFollowsItsRowThroughRegrouping();
    void navigatorTextJoinsLabelPositionAndTotal_data();
    void navigatorTextJoinsLabelPositionAndTotal();
    void formatsValuesByColumnFormat_data();
    void formatsValuesByColumnFormat();
    void presenterSuppliesComputedValuesTextsIconsStylesAndCaptions();
    void replacedGroupCaptionIsReadBack();
    void valueOfAGroupRowIsItsGroupValue();
};

void tst_GridModel::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_GridModel::satisfiesTheItemModelContract()
{
    GridModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TeamPresenter presenter;
    m.setPresenter(&presenter);
    fill(m);
    presenter.computedColumn = 6;
    QCOMPARE(m.addComputedColumn(QStringLiteral("Open")), 6);
    m.addGroup(Team);
    m.addGroup(Date);
    m.addSortKey(Amount, false);
    m.setExpanded(3, false);
    m.setExpanded(3, true);
    m.setExpanded(1, false);
    m.collapseAll();
    m.expandAll();
    m.find(Note, QStringLiteral("delta"), GridModel::FindMode::Contains, 0, 1);
    m.collapseAll();
    m.find(Id, 3, GridModel::FindMode::Equal, 0, -1);
    m.sortByHeader(Date);
    m.setColumnFormat(Amount, QStringLiteral("Currency"));
    m.appendRow({7, "Green", QDate(2024, 5, 1), cur(5), "zeta"});
    m.clearGroups();
    m.refreshPresentation();
    QCOMPARE(m.rowCount(), 7);
}

void tst_GridModel::listsGroupRowsAndDataRowsInScreenOrder_data()
{
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("toggles");   // "c5" collapses listed row 5, "e4" expands row 4
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain list") << "" << "" << "1|2|3|4|5|6";
    QTest::newRow("one level, Null first") << "2" << "" << "[]|4|[Blue]|1|3|6|[Red]|2|5";
    QTest::newRow("one level descending") << "2-" << "" << "[Red]|2|5|[Blue]|1|3|6|[]|4";
    QTest::newRow("two levels")
        << "2,3" << ""
        << "[]|[2024-02-29]|4|[Blue]|[2024-01-10]|3|6|[2024-03-05]|1|[Red]|[2024-01-10]|2|[2024-03-05]|5";
    QTest::newRow("collapsed group hides its rows") << "2" << "c3" << "[]|4|[Blue]|[Red]|2|5";
    QTest::newRow("collapsing shifts the numbering") << "2" << "c3 c4" << "[]|4|[Blue]|[Red]";
    QTest::newRow("inner group collapsed")
        << "2,3" << "c5"
        << "[]|[2024-02-29]|4|[Blue]|[2024-01-10]|[2024-03-05]|1|[Red]|[2024-01-10]|2|[2024-03-05]|5";
    QTest::newRow("outer collapse hides inner groups")
        << "2,3" << "c5 c4" << "[]|[2024-02-29]|4|[Blue]|[Red]|[2024-01-10]|2|[2024-03-05]|5";
    QTest::newRow("re-expanding keeps inner state")
        << "2,3" << "c5 c4 e4"
        << "[]|[2024-02-29]|4|[Blue]|[2024-01-10]|[2024-03-05]|1|[Red]|[2024-01-10]|2|[2024-03-05]|5";
    QTest::newRow("toggling a data row does nothing") << "2" << "c2" << "[]|4|[Blue]|1|3|6|[Red]|2|5";
}

void tst_GridModel::listsGroupRowsAndDataRowsInScreenOrder()
{
    QFETCH(QString, groups);
    QFETCH(QString, toggles);
    QFETCH(QString, expected);

    GridModel m;
    fill(m);
    applyGroups(m, groups);
    for (const QString &t : toggles.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        m.setExpanded(t.mid(1).toInt(), t.at(0) == QLatin1Char('e'));

    QCOMPARE(listing(m), expected);
    QCOMPARE(m.rowCount(), int(expected.count(QLatin1Char('|')) + 1));
    QCOMPARE(m.rowCount(QModelIndex()), m.rowCount());
    QCOMPARE(m.dataRowCount(), 6);
    for (int r = 1; r <= m.rowCount(); ++r)
        QCOMPARE(m.data(m.index(r - 1, 0), GridModel::IsGroupRole).toBool(), m.isGroupRow(r));
    QVERIFY(!m.isGroupRow(0));
    QVERIFY(!m.isGroupRow(m.rowCount() + 1));
}

void tst_GridModel::sortsWithinGroupsKeepingTies_data()
{
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("sortKeys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("date ascending, ties in record order") << "" << "3" << "2|3|6|4|1|5";
    QTest::newRow("date descending, ties in record order") << "" << "3-" << "1|5|4|2|3|6";
    QTest::newRow("money descending within groups") << "2" << "4-" << "[]|4|[Blue]|1|6|3|[Red]|5|2";
    QTest::newRow("second key breaks ties") << "2" << "3,4-" << "[]|4|[Blue]|6|3|1|[Red]|2|5";
    QTest::newRow("text ignores case") << "" << "5" << "1|2|5|6|3|4";
    QTest::newRow("Null text sorts first") << "" << "2" << "4|1|3|6|2|5";
    QTest::newRow("groups stay ascending under a descending sort")
        << "2" << "1-" << "[]|4|[Blue]|6|3|1|[Red]|5|2";
}

void tst_GridModel::sortsWithinGroupsKeepingTies()
{
    QFETCH(QString, groups);
    QFETCH(QString, sortKeys);
    QFETCH(QString, expected);

    GridModel m;
    fill(m);
    applyGroups(m, groups);
    for (const GridSortKey &k : keys(sortKeys))
        m.addSortKey(k.column, k.ascending);
    QCOMPARE(listing(m), expected);
    QCOMPARE(m.sortKeys(), keys(sortKeys));

    // The same order whether keys come before or after the rows.
    GridModel late;
    applyGroups(late, groups);
    late.setSortKeys(keys(sortKeys));
    fill(late);
    QCOMPARE(listing(late), expected);
}

void tst_GridModel::headerClickMakesTheColumnTheFirstKey()
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
    QVERIFY(m.sortKeys().isEmpty());
    QCOMPARE(listing(m), QStringLiteral("1|2|3|4|5|6"));
}

void tst_GridModel::sumsGroupsExactly_data()
{
    QTest::addColumn<QVariantList>("amounts");
    QTest::addColumn<qint64>("expectedUnits");

    QTest::newRow("ten-thousandths") << QVariantList{cur(1), cur(2), cur(3)} << qint64(6);
    QTest::newRow("beyond double precision")
        << QVariantList{cur(4503599627370497), cur(4503599627370497), cur(1)} << qint64(9007199254740995);
    QTest::newRow("credits minus debits") << QVariantList{cur(105000), cur(-32500), cur(-72500)} << qint64(0);
    QTest::newRow("Null counts as nothing") << QVariantList{cur(5), QVariant(), cur(-1)} << qint64(4);
    QTest::newRow("whole numbers") << QVariantList{3, qlonglong(4), 5} << qint64(120000);
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    QTest::newRow("largest amounts past the range keep their sign")
        << QVariantList{cur(largest), cur(largest), cur(1)} << largest;
    QTest::newRow("largest debits past the range keep their sign")
        << QVariantList{cur(-largest), cur(-largest)} << std::numeric_limits<qint64>::min();
    QTest::newRow("back within the range after passing it")
        << QVariantList{cur(largest), cur(largest), cur(-largest)} << largest;
}

void tst_GridModel::sumsGroupsExactly()
{
    QFETCH(QVariantList, amounts);
    QFETCH(qint64, expectedUnits);

    GridModel m;
    std::vector<QVariantList> rows;
    for (const QVariant &a : amounts)
        rows.push_back({QStringLiteral("g"), a});
    rows.push_back({QStringLiteral("other"), cur(999)});
    m.setRows({"Key", "Value"}, rows);
    m.addGroup(1);
    QCOMPARE(listing(m).count(QLatin1Char('[')), 2);
    QCOMPARE(m.value(1, 1).toString(), QStringLiteral("g"));
    QCOMPARE(m.groupSum(1, 2).units(), expectedUnits);
    QCOMPARE(m.group(1).sum(2).units(), expectedUnits);
    QCOMPARE(m.groupSum(m.rowCount() - 1, 2).units(), qint64(999));
    QCOMPARE(m.groupSum(2, 2).units(), qint64(0));   // a data row has no sum
}

void tst_GridModel::findsForwardAndBackwardWithWrap_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("contains");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("expected");

    // Listed: 1 [] 2 id4 3 [Blue] 4 id1 5 id3 6 id6 7 [Red] 8 id2 9 id5
    QTest::newRow("equal from nothing") << int(Id) << QVariant(3) << false << 0 << 1 << 5;
    QTest::newRow("only match is the start row itself") << int(Id) << QVariant(3) << false << 5 << 1 << 5;
    QTest::newRow("equal across integer types") << int(Id) << QVariant(qlonglong(2)) << false << 0 << 1 << 8;
    QTest::newRow("equal money") << int(Amount) << cur(70000) << false << 9 << 1 << 2;
    QTest::newRow("equal text ignores case") << int(Team) << QVariant("RED") << false << 0 << 1 << 8;
    QTest::newRow("contains, first") << int(Note) << QVariant("rent") << true << 0 << 1 << 2;
    QTest::newRow("contains, after row 4") << int(Note) << QVariant("RENT") << true << 4 << 1 << 9;
    QTest::newRow("contains wraps forward") << int(Note) << QVariant("rent") << true << 9 << 1 << 2;
    QTest::newRow("contains wraps backward") << int(Note) << QVariant("rent") << true << 2 << -1 << 9;
    QTest::newRow("backward") << int(Note) << QVariant("rent") << true << 9 << -1 << 4;
    QTest::newRow("backward from nothing starts at the end") << int(Note) << QVariant("e") << true << 0 << -1 << 9;
    QTest::newRow("forward from a group row enters it") << int(Note) << QVariant("rent") << true << 3 << 1 << 4;
    QTest::newRow("backward from a group row leaves it") << int(Note) << QVariant("rent") << true << 3 << -1 << 2;
    QTest::newRow("no match") << int(Note) << QVariant("zzz") << true << 4 << 1 << 0;
}

void tst_GridModel::findsForwardAndBackwardWithWrap()
{
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(bool, contains);
    QFETCH(int, fromRow);
    QFETCH(int, direction);
    QFETCH(int, expected);

    GridModel m;
    fill(m);
    m.addGroup(Team);
    m.setCurrentRow(7);
    const int found = m.find(column, value, contains ? GridModel::FindMode::Contains : GridModel::FindMode::Equal,
                             fromRow, direction);
    QCOMPARE(found, expected);
    QCOMPARE(m.currentRow(), expected ? expected : 7);
}

void tst_GridModel::findOpensGroupsAndCollapseAllClosesThem()
{
    GridModel m;
    fill(m);
    m.addGroup(Team);
    m.addGroup(Date);
    m.collapseAll();
    QCOMPARE(listing(m), QStringLiteral("[]|[Blue]|[Red]"));
    QSignalSpy current(&m, &GridModel::currentRowChanged);

    // The found row comes into view: the groups over it open.
    QCOMPARE(m.find(Id, 5, GridModel::FindMode::Equal, 0, 1), 6);
    QCOMPARE(listing(m), QStringLiteral("[]|[Blue]|[Red]|[2024-01-10]|[2024-03-05]|5"));
    QCOMPARE(m.currentRow(), 6);
    QCOMPARE(current.last().first().toInt(), 6);
    QCOMPARE(m.value(6, Id).toInt(), 5);

    // Collapsing again leaves the outer groups; the current row moves to its own.
    m.collapseAll();
    QCOMPARE(m.currentRow(), 3);
    QVERIFY(!m.isExpanded(3));
    m.setExpanded(1, true);
    QCOMPARE(listing(m), QStringLiteral("[]|[2024-02-29]|[Blue]|[Red]"));
    QCOMPARE(m.currentRow(), 4);
    m.expandAll();
    QCOMPARE(m.rowCount(), 14);
    QCOMPARE(m.currentRow(), 10);
    QVERIFY(m.isExpanded(10));
}

void tst_GridModel::findFromTheCurrentRowAndMissLeavesItAlone()
{
    GridModel m;
    fill(m);
    m.setCurrentRow(2);
    QCOMPARE(m.find(Note, QStringLiteral("a"), GridModel::FindMode::Contains), 3);
    QCOMPARE(m.find(Note, QStringLiteral("a"), GridModel::FindMode::Contains), 5);
    QCOMPARE(m.find(Note, QStringLiteral("a"), GridModel::FindMode::Contains, -1, -1), 3);
    QCOMPARE(m.find(Note, QStringLiteral("q"), GridModel::FindMode::Contains), 0);
    QCOMPARE(m.currentRow(), 3);
    QCOMPARE(m.find(Note, QString(), GridModel::FindMode::Contains), 0);
}

void tst_GridModel::currentRowFollowsItsRowThroughRegrouping()
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
    QCOMPARE(m.value(m.currentRow(), Id).toInt(), 6);
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
    QCOMPARE(m.value(m.currentRow(), Id).toInt(), 5);

    m.setCurrentRow(99);
    QCOMPARE(m.currentRow(), 0);
    QCOMPARE(m.bookmark(0), -1);
}

void tst_GridModel::navigatorTextJoinsLabelPositionAndTotal_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("expected");

    QTest::newRow("other language") << "Scadenza|/" << 9 << "Scadenza 9 / 9";
    QTest::newRow("no current row") << "Deadline|of" << 0 << "Deadline 0 of 9";
}

void tst_GridModel::navigatorTextJoinsLabelPositionAndTotal()
{
    QFETCH(QString, pattern);
    QFETCH(int, current);
    QFETCH(QString, expected);

    GridModel m;
    fill(m);
    m.addGroup(Team);
    m.setNavigatorTemplate(pattern);
    m.setCurrentRow(current);
    QCOMPARE(m.navigatorText(), expected);
}

void tst_GridModel::formatsValuesByColumnFormat_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    // The year is always written in full: a deadline in 2124 must not read as 2024.
    QTest::newRow("short date") << QVariant(QDate(2024, 2, 29)) << "Short Date" << "2/29/2024";
    QTest::newRow("far short date") << QVariant(QDate(2124, 4, 6)) << "Short Date" << "4/6/2124";
    QTest::newRow("currency beyond double precision") << cur(123456789012345678) << "Currency"
                                                      << "$12,345,678,901,234.57";
    QTest::newRow("negative currency rounds away from zero") << cur(-50) << "Currency" << "($0.01)";
    QTest::newRow("tiny negative shows as zero") << cur(-49) << "Currency" << "$0.00";
    QTest::newRow("whole number as currency") << QVariant(-7) << "Currency" << "($7.00)";
    QTest::newRow("Null is empty") << QVariant() << "Currency" << "";
    QTest::newRow("money without format") << cur(-125000) << "" << "-12.5";
    QTest::newRow("text") << QVariant("x") << "" << "x";
}

void tst_GridModel::formatsValuesByColumnFormat()
{
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);

    QCOMPARE(GridModel::formatValue(value, format), expected);

    GridModel m;
    m.setRows({"V"}, {{value}});
    m.setColumnFormat(1, format);
    m.setColumnEmptyText(1, QStringLiteral("(none)"));
    QCOMPARE(m.displayText(1, 1), expected.isEmpty() ? QStringLiteral("(none)") : expected);
    QCOMPARE(m.data(m.index(0, 0)).toString(), m.displayText(1, 1));
}

void tst_GridModel::presenterSuppliesComputedValuesTextsIconsStylesAndCaptions()
{
    GridModel m;
    TeamPresenter presenter;
    m.setPresenter(&presenter);
    fill(m);
    presenter.computedColumn = m.columnTotal() + 1;
    QCOMPARE(m.addComputedColumn(), 6);
    QVERIFY(m.isComputedColumn(6));
    QVERIFY(!m.isComputedColumn(5));
    QCOMPARE(m.columnTotal(), 6);
    QCOMPARE(m.fieldName(4), QStringLiteral("Amount"));
    QCOMPARE(m.columnOfField(QStringLiteral("NOTE")), int(Note));

    m.addGroup(Team);   // [] 4 [Blue] 1 3 6 [Red] 2 5
    // Computed once per row and kept: reading cells asks no more.
    const int asks = presenter.computedAsks;
    QCOMPARE(m.value(4, 6).value<Currency>().units(), qint64(105000));
    QCOMPARE(m.value(5, 6).value<Currency>().units(), qint64(0));
    QCOMPARE(presenter.computedAsks, asks);

    QCOMPARE(m.groupCaption(3), QStringLiteral("Blue [10.5] 3"));
    QCOMPARE(m.groupCaption(7), QStringLiteral("Red [100] 2"));
    QCOMPARE(m.data(m.index(2, 0), GridModel::CaptionRole).toString(), QStringLiteral("Blue [10.5] 3"));
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
    QCOMPARE(data.level, 1);
    QCOMPARE(data.style, QStringLiteral("Expired"));
    QCOMPARE(data.texts.size(), 6);
    QCOMPARE(data.texts.at(Note - 1), QStringLiteral("Beta #1"));
    QCOMPARE(data.icons.at(Id - 1), 6);
    const GridListedRow group = m.listedRow(7);
    QVERIFY(group.isGroup);
    QCOMPARE(group.caption, QStringLiteral("Red [100] 2"));
    QCOMPARE(group.style, QStringLiteral("RowGroup"));
}

void tst_GridModel::replacedGroupCaptionIsReadBack()
{
    GridModel m;
    fill(m);
    m.addGroup(Date);
    m.setColumnFormat(Date, QStringLiteral("Short Date"));
    QCOMPARE(m.groupCaption(1), QStringLiteral("1/10/2024"));
    m.setGroupCaption(1, QStringLiteral(" Until Today"));
    QCOMPARE(m.groupCaption(1), QStringLiteral(" Until Today"));
    QCOMPARE(m.data(m.index(0, 0)).toString(), QStringLiteral(" Until Today"));
    QCOMPARE(m.groupCaption(2), QString());   // a data row has no caption
}

void tst_GridModel::valueOfAGroupRowIsItsGroupValue()
{
    GridModel m;
    fill(m);
    m.addGroup(Team);
    m.addGroup(Date);
    QCOMPARE(m.groupLevel(4), 1);
    QCOMPARE(m.groupColumn(4), int(Team));
    QCOMPARE(m.value(4, Team).toString(), QStringLiteral("Blue"));
    QVERIFY(!m.value(4, Id).isValid());
    QCOMPARE(m.groupLevel(5), 2);
    QCOMPARE(m.value(5, Date).toDate(), QDate(2024, 1, 10));
    QCOMPARE(m.groupLevel(6), 0);
    QCOMPARE(m.value(6, Team).toString(), QStringLiteral("Blue"));
}

QTEST_GUILESS_MAIN(tst_GridModel)
#include "tst_GridModel.moc"
