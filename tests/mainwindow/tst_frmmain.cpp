#include "deadlines/frmGrpErase.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/frmMain.h"
#include "platform/grid/DataGrid.h"
#include "platform/grid/GridView.h"

#include "../support/MainWindowSession.h"
#include "../support/TestRows.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QSet>
#include <QTest>

#include <memory>

// The main window over a real database: the list of each view, the layouts and
// their captions, the row presentation, the keys of the grid and the search.
class tst_frmMain final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void viewListsItsDeadlines_data();
    void viewListsItsDeadlines();
    void calendarViewFollowsSelection();
    void groupCaptionsOfEachLayout_data();
    void groupCaptionsOfEachLayout();
    void rowPresentation_data();
    void rowPresentation();
    void countersFollowTheSwitch();
    void spaceTogglesDoneAndKeepsRow();
    void deleteAsksAndObeys_data();
    void deleteAsksAndObeys();
    void deleteGroupMemberFollowsChoice_data();
    void deleteGroupMemberFollowsChoice();
    void controlDigitChangesLayout();
    void collapseKeepsSecondLevelListed_data();
    void collapseKeepsSecondLevelListed();
    void incrementalSearchReadsTextBeforeKey();
    void findNextAndPrevious();
    void notesPanelFollowsCurrentRow();
    void startPanelOnEmptySheet();
    void viewChoiceWaitsForLoad();

private:
    int rowOf(const QString &description) const;
    QStringList groupCaptions() const;
    static int countRows(const QString &where);

    std::unique_ptr<MainWindowSession> m_session;
    std::unique_ptr<frmMain> m_window;
};

namespace {
void insert(int sheet, int type, bool done, const QDate &date, const QString &description, int acId, qint64 whole,
            const QString &notes = {}, int grpId = 0, int grpRow = 0, int grpSize = 0)
{
    insertDeadline(mainmod::ConnectionString, sheet, type, done, date, description, acId, Currency::fromWhole(whole),
                   notes, grpId, grpRow, grpSize);
}
} // namespace

int tst_frmMain::rowOf(const QString &description) const
{
    DataGrid *grid = m_window->grid();
    for (int row = 1; row <= grid->rowCount(); ++row)
        if (!grid->isGroupRow(row) && grid->value(row, ListColumn::TrDescription).toString() == description)
            return row;
    return 0;
}

QStringList tst_frmMain::groupCaptions() const
{
    QStringList captions;
    GridModel *model = m_window->grid()->model();
    for (int row = 1; row <= model->rowCount(); ++row)
        if (model->isGroupRow(row))
            captions << model->groupCaption(row);
    return captions;
}

int tst_frmMain::countRows(const QString &where)
{
    return firstValue(mainmod::ConnectionString, QStringLiteral("SELECT Count(TrRowId) AS N FROM Transactions WHERE ") + where)
        .toInt();
}

void tst_frmMain::init()
{
    // The last day of a month: tomorrow already belongs to "next month onwards".
    m_session = std::make_unique<MainWindowSession>(QDate(2024, 1, 31));
    QVERIFY(m_session->ok());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    runJet(mainmod::ConnectionString, QStringLiteral("INSERT INTO Accounts (AcName, AcNotes) VALUES ('Acme', 'Call before noon')"));
    const int acme = firstValue(mainmod::ConnectionString, QStringLiteral("SELECT AcId FROM Accounts WHERE AcName='Acme'")).toInt();
    insert(1, 1, false, QDate(2024, 1, 15), QStringLiteral("Rent"), acme, 100, QStringLiteral("First line\nSecond line"));
    insert(1, -1, false, QDate(2024, 2, 1), QStringLiteral("Phone"), 0, 40);
    insert(1, -2, false, QDate(2024, 3, 10), QStringLiteral("Dentist"), 0, 0);
    insert(1, 1, true, QDate(2023, 12, 1), QStringLiteral("Old invoice"), acme, 50);
    insert(1, -1, false, QDate(2024, 2, 15), QStringLiteral("Loan"), 0, 10, QString(), 7, 1, 3);
    insert(1, -1, false, QDate(2024, 3, 15), QStringLiteral("Loan"), 0, 10, QString(), 7, 2, 3);
    insert(1, -1, false, QDate(2024, 4, 15), QStringLiteral("Loan"), 0, 10, QString(), 7, 3, 3);
    insert(2, 1, false, QDate(2024, 1, 20), QStringLiteral("Other sheet"), 0, 999);
}

void tst_frmMain::cleanup()
{
    m_window.reset();
    m_session.reset();
}

void tst_frmMain::viewListsItsDeadlines_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QStringList>("expected");
    const QString loan = QStringLiteral("Loan");
    QTest::newRow("all") << 0
                         << QStringList { "Rent", "Phone", "Dentist", "Old invoice", loan, loan, loan };
    QTest::newRow("open") << 1 << QStringList { "Rent", "Phone", "Dentist", loan, loan, loan };
    QTest::newRow("open credits and debits") << 2 << QStringList { "Rent", "Phone", loan, loan, loan };
    QTest::newRow("open credits") << 3 << QStringList { "Rent" };
    QTest::newRow("open debits") << 4 << QStringList { "Phone", loan, loan, loan };
    QTest::newRow("open appointments") << 5 << QStringList { "Dentist" };
    QTest::newRow("closed") << 6 << QStringList { "Old invoice" };
}

void tst_frmMain::viewListsItsDeadlines()
{
    QFETCH(int, view);
    QFETCH(QStringList, expected);
    m_window = std::make_unique<frmMain>();
    m_window->findChild<QComboBox *>(QStringLiteral("cmbFilter"))->setCurrentIndex(view);

    QStringList listed;
    DataGrid *grid = m_window->grid();
    for (int row = 1; row <= grid->rowCount(); ++row)
        if (!grid->isGroupRow(row))
            listed << grid->value(row, ListColumn::TrDescription).toString();
    listed.sort();
    expected.sort();
    QCOMPARE(listed, expected);
}

void tst_frmMain::calendarViewFollowsSelection()
{
    m_window = std::make_unique<frmMain>();
    auto *calendar = m_window->findChild<QCalendarWidget *>(QStringLiteral("mv"));
    QVERIFY(calendar);
    m_window->findChild<QComboBox *>(QStringLiteral("cmbFilter"))->setCurrentIndex(CalendarView);
    calendar->setSelectedDate(QDate(2024, 3, 15));
    QCOMPARE(m_window->grid()->model()->dataRowCount(), 1);
    QCOMPARE(m_window->grid()->value(rowOf(QStringLiteral("Loan")), ListColumn::TrGrpRow).toInt(), 2);

    // Another view ignores the calendar.
    m_window->findChild<QComboBox *>(QStringLiteral("cmbFilter"))->setCurrentIndex(0);
    calendar->setSelectedDate(QDate(2024, 2, 1));
    QCOMPARE(m_window->grid()->model()->dataRowCount(), 7);
}

void tst_frmMain::groupCaptionsOfEachLayout_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("totals");
    QTest::addColumn<QStringList>("expected");
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    auto money = [&](qint64 whole) { return FormatCurrency(Currency::fromWhole(whole), en); };
    const QString top = QStringLiteral("Deadlines - All Deadlines");

    QTest::newRow("plain") << 0 << true << QStringList { top };
    QTest::newRow("by due period") << 1 << true
                                   << QStringList { top, " Until Today [" + money(100) + "]",
                                                    " Next month onwards [" + money(-70) + "]" };
    QTest::newRow("by month") << 2 << true
                              << QStringList { top, " December 2023 [" + money(0) + "]",
                                               " January 2024 [" + money(100) + "]",
                                               " February 2024 [" + money(-50) + "]",
                                               " March 2024 [" + money(-10) + "]",
                                               " April 2024 [" + money(-10) + "]" };
    QTest::newRow("by counterparty") << 3 << true
                                     << QStringList { top + " [" + money(30) + "]", "(none) [" + money(-70) + "]",
                                                      "Acme [" + money(100) + "]" };
    QTest::newRow("by counterparty without totals") << 3 << false << QStringList { top, QString(), "Acme" };
}

void tst_frmMain::groupCaptionsOfEachLayout()
{
    QFETCH(int, layout);
    QFETCH(bool, totals);
    QFETCH(QStringList, expected);
    SetSettingInt(SettingsKey::ShowGroupTotals, totals ? 1 : 0);
    m_window = std::make_unique<frmMain>();
    m_window->mnuGroupby_Click(layout);
    m_window->ExpandAll();

    QStringList captions = groupCaptions();
    QCOMPARE(captions.value(0), expected.value(0));
    if (layout == 3 && !totals) {
        // Without totals the counterparty groups keep the grid's own caption.
        QVERIFY(captions.contains(QStringLiteral("Acme")));
        QCOMPARE(captions.size(), 3);
        return;
    }
    captions.sort();
    expected.sort();
    QCOMPARE(captions, expected);
}

void tst_frmMain::rowPresentation_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("grpRow");
    QTest::addColumn<bool>("expired");
    QTest::addColumn<int>("typeIcon");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("amountShown");

    QTest::newRow("open credit past due") << "Rent" << 0 << true << 5 << "Rent" << true;
    QTest::newRow("debit due tomorrow, inside the warning days") << "Phone" << 0 << true << 6 << "Phone" << true;
    QTest::newRow("appointment far ahead has no amount") << "Dentist" << 0 << false << 7 << "Dentist" << false;
    QTest::newRow("closed and past is never expired") << "Old invoice" << 0 << false << 11 << "Old invoice" << true;
    QTest::newRow("group member shows its counter") << "Loan" << 2 << false << 6 << "Loan 2 of 3" << true;
}

void tst_frmMain::rowPresentation()
{
    QFETCH(QString, description);
    QFETCH(int, grpRow);
    QFETCH(bool, expired);
    QFETCH(int, typeIcon);
    QFETCH(QString, shown);
    QFETCH(bool, amountShown);

    m_window = std::make_unique<frmMain>();
    GridModel *model = m_window->grid()->model();
    int row = 0;
    for (int r = 1; r <= model->rowCount() && !row; ++r)
        if (!model->isGroupRow(r) && model->value(r, ListColumn::TrDescription).toString() == description
            && (grpRow == 0 || model->value(r, ListColumn::TrGrpRow).toInt() == grpRow))
            row = r;
    QVERIFY(row > 0);

    const QModelIndex anyCell = model->index(row - 1, ListColumn::TrDate - 1);
    QCOMPARE(model->data(anyCell, GridModel::StyleRole).toString() == QLatin1String("Expired"), expired);
    QCOMPARE(model->data(model->index(row - 1, ListColumn::TrType - 1), GridModel::IconIndexRole).toInt(), typeIcon);
    QCOMPARE(model->displayText(row, ListColumn::TrDescription), shown);
    QCOMPARE(model->displayText(row, ListColumn::TrValue).isEmpty(), !amountShown);
}

void tst_frmMain::countersFollowTheSwitch()
{
    SetSettingInt(SettingsKey::ShowGroupCounters, 0);
    m_window = std::make_unique<frmMain>();
    GridModel *model = m_window->grid()->model();
    const int row = rowOf(QStringLiteral("Loan"));
    QCOMPARE(model->displayText(row, ListColumn::TrDescription), QStringLiteral("Loan"));
    // The recurrence keeps its picture.
    QCOMPARE(model->data(model->index(row - 1, ListColumn::TrDescription - 1), GridModel::IconIndexRole).toInt(),
             DescriptionIconIndex(7, false));
}

void tst_frmMain::spaceTogglesDoneAndKeepsRow()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    auto *combo = m_window->findChild<QComboBox *>(QStringLiteral("cmbFilter"));
    combo->setCurrentIndex(1);   // open deadlines only
    DataGrid *grid = m_window->grid();
    const int row = rowOf(QStringLiteral("Phone"));
    QVERIFY(row > 0);
    grid->setCurrentRow(row);
    const QVariant next = grid->value(row + 1, ListColumn::TrRowId);

    QTest::keyClick(grid->view(), Qt::Key_Space);
    QCOMPARE(countRows(QStringLiteral("TrDescription='Phone' AND TrDone=True")), 1);
    QCOMPARE(rowOf(QStringLiteral("Phone")), 0);
    // The row that followed the closed deadline is current now.
    QCOMPARE(grid->currentRow(), row);
    QCOMPARE(grid->value(row, ListColumn::TrRowId), next);

    // Space on the group row does nothing.
    grid->setCurrentRow(1);
    QTest::keyClick(grid->view(), Qt::Key_Space);
    QCOMPARE(countRows(QStringLiteral("TrDone=True")), 2);

    // Closing the last row leaves the new last row current, ready for the next key.
    const int last = grid->rowCount();
    grid->setCurrentRow(last);
    QTest::keyClick(grid->view(), Qt::Key_Space);
    QCOMPARE(countRows(QStringLiteral("TrDone=True")), 3);
    QCOMPARE(grid->rowCount(), last - 1);
    QCOMPARE(grid->currentRow(), last - 1);
}

void tst_frmMain::deleteAsksAndObeys_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes deletes") << true;
    QTest::newRow("no keeps") << false;
}

void tst_frmMain::deleteAsksAndObeys()
{
    QFETCH(bool, yes);
    m_window = std::make_unique<frmMain>();
    m_window->show();
    DataGrid *grid = m_window->grid();
    grid->setCurrentRow(rowOf(QStringLiteral("Dentist")));
    m_session->prompts().queueAnswer(yes ? Prompt::Answer::Yes : Prompt::Answer::No);

    QTest::keyClick(grid->view(), Qt::Key_Delete);
    QCOMPARE(m_session->prompts().shown().size(), 1);
    QCOMPARE(m_session->prompts().shown().first().text, ResourceText(1055));
    QCOMPARE(m_session->prompts().shown().first().caption, QStringLiteral("Orvel"));
    QCOMPARE(m_session->prompts().shown().first().buttons, Prompt::Buttons::YesNo);
    QCOMPARE(countRows(QStringLiteral("TrDescription='Dentist'")), yes ? 0 : 1);
    QCOMPARE(rowOf(QStringLiteral("Dentist")) == 0, yes);
    QCOMPARE(countRows(QStringLiteral("True")), yes ? 7 : 8);
}

void tst_frmMain::deleteGroupMemberFollowsChoice_data()
{
    QTest::addColumn<QString>("button");      // what the user presses in the group question
    QTest::addColumn<QList<int>>("remaining"); // TrGrpMDay of each remaining member, in date order
    QTest::newRow("only the selected one") << "opt0" << QList<int> { 2, 2 };
    QTest::newRow("the whole group") << "opt1" << QList<int> {};
    QTest::newRow("cancelled") << "cmdCancel" << QList<int> { 3, 3, 3 };
}

void tst_frmMain::deleteGroupMemberFollowsChoice()
{
    QFETCH(QString, button);
    QFETCH(QList<int>, remaining);
    m_window = std::make_unique<frmMain>();
    m_window->show();
    DataGrid *grid = m_window->grid();
    int middle = 0;
    for (int row = 1; row <= grid->rowCount(); ++row)
        if (!grid->isGroupRow(row) && grid->value(row, ListColumn::TrGrpRow).toInt() == 2)
            middle = row;
    QVERIFY(middle > 0);

    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmGrpErase *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answered = true;
        if (button.startsWith(QLatin1String("opt"))) {
            dialog->findChild<QRadioButton *>(button)->setChecked(true);
            dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        } else {
            dialog->findChild<QPushButton *>(button)->click();
        }
    });
    m_window->DeleteDeadline(middle);
    QVERIFY(answered);
    QVERIFY(m_session->prompts().shown().isEmpty());

    Connection c;
    c.open(mainmod::ConnectionString);
    Recordset rs;
    rs.open(QStringLiteral("SELECT TrGrpRow, TrGrpMDay, TrDate FROM Transactions WHERE TrGrpId=7 ORDER BY TrDate"), c);
    QList<int> mdays;
    int expectedRow = 1;
    while (!rs.eof()) {
        QCOMPARE(rs.field(0).toInt(), expectedRow++);
        mdays << rs.field(1).toInt();
        rs.moveNext();
    }
    QCOMPARE(mdays, remaining);
    // The list shows what is left.
    int listed = 0;
    for (int row = 1; row <= grid->rowCount(); ++row)
        listed += !grid->isGroupRow(row) && grid->value(row, ListColumn::TrGrpId).toInt() == 7;
    QCOMPARE(listed, int(remaining.size()));
}

void tst_frmMain::controlDigitChangesLayout()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    DataGrid *grid = m_window->grid();
    grid->setCurrentRow(2);
    QTest::keyClick(grid->view(), Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(mainmod::GroupOption, 1);
    QVERIFY(m_window->findChild<QAction *>(QStringLiteral("mnuGroupby1"))->isChecked());
    QVERIFY(!m_window->findChild<QAction *>(QStringLiteral("mnuGroupby0"))->isChecked());
    QVERIFY(m_window->findChild<QAction *>(QStringLiteral("tbLayout7"))->isChecked());
    QVERIFY(!m_window->findChild<QAction *>(QStringLiteral("tbLayout6"))->isChecked());
    QCOMPARE(grid->model()->groups().size(), 2);
    QCOMPARE(grid->model()->groups().at(1).column, ListColumn::GroupKey);

    // The view box takes the same keys.
    auto *combo = m_window->findChild<QComboBox *>(QStringLiteral("cmbFilter"));
    QTest::keyClick(combo, Qt::Key_4, Qt::ControlModifier);
    QCOMPARE(mainmod::GroupOption, 3);
    QCOMPARE(grid->model()->groups().at(1).column, ListColumn::AcName);
}

void tst_frmMain::collapseKeepsSecondLevelListed_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("rowsAfterCollapse");
    QTest::newRow("plain: only the sheet row") << 0 << 1;
    QTest::newRow("by due period: sheet and two periods") << 1 << 3;
    QTest::newRow("by counterparty: sheet and two groups") << 3 << 3;
}

void tst_frmMain::collapseKeepsSecondLevelListed()
{
    QFETCH(int, layout);
    QFETCH(int, rowsAfterCollapse);
    m_window = std::make_unique<frmMain>();
    m_window->mnuGroupby_Click(layout);
    m_window->CollapseAll();
    QCOMPARE(m_window->grid()->rowCount(), rowsAfterCollapse);
    m_window->ExpandAll();
    QVERIFY(m_window->grid()->rowCount() > 7);
}

void tst_frmMain::incrementalSearchReadsTextBeforeKey()
{
    insert(1, 1, false, QDate(2024, 5, 1), QStringLiteral("Zebra crossing"), 0, 5);
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto *find = m_window->findChild<QLineEdit *>(QStringLiteral("txtFind"));
    DataGrid *grid = m_window->grid();
    grid->setCurrentRow(rowOf(QStringLiteral("Rent")));
    const int before = grid->currentRow();

    find->setText(QStringLiteral("stale"));
    find->setFocus();
    QCOMPARE(find->text(), QString());   // focus empties the box
    auto *findNext = m_window->findChild<QAction *>(QStringLiteral("txtFindToolbar3"));
    QVERIFY(!findNext->isEnabled());

    QTest::keyClick(find, Qt::Key_Z);
    // The first key searched with the empty box: nothing moved.
    QCOMPARE(find->text(), QStringLiteral("z"));
    QCOMPARE(grid->currentRow(), before);
    QVERIFY(!findNext->isEnabled());

    QTest::keyClick(find, Qt::Key_E);
    QCOMPARE(grid->currentRow(), rowOf(QStringLiteral("Zebra crossing")));
    QVERIFY(findNext->isEnabled());
    QVERIFY(m_window->findChild<QAction *>(QStringLiteral("mnuRecord7"))->isEnabled());

    // Back in the grid the search box empties and the find commands go grey.
    grid->focusList();
    QCOMPARE(find->text(), QString());
    QVERIFY(!findNext->isEnabled());
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("sbPanel1"))->text(), ResourceText(1056));
}

void tst_frmMain::findNextAndPrevious()
{
    m_window = std::make_unique<frmMain>();
    DataGrid *grid = m_window->grid();
    grid->setCurrentRow(1);
    QSet<int> seen;
    for (int i = 0; i < 3; ++i) {
        m_window->FindNext(QStringLiteral("loan"), 1);
        QCOMPARE(grid->value(grid->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Loan"));
        seen.insert(grid->value(grid->currentRow(), ListColumn::TrGrpRow).toInt());
    }
    QCOMPARE(seen, (QSet<int> { 1, 2, 3 }));
    const int third = grid->currentRow();
    m_window->FindPrevious(QStringLiteral("loan"), 1);
    QVERIFY(grid->currentRow() != third);
    QCOMPARE(grid->value(grid->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Loan"));

    // A blank text never searches.
    const int current = grid->currentRow();
    m_window->FindNext(QStringLiteral("  "), 1);
    QCOMPARE(grid->currentRow(), current);
}

void tst_frmMain::notesPanelFollowsCurrentRow()
{
    m_window = std::make_unique<frmMain>();
    auto *deadlineNotes = m_window->findChild<QLabel *>(QStringLiteral("lblDeadlineNotes"));
    auto *accountNotes = m_window->findChild<QLabel *>(QStringLiteral("lblAccNotes"));
    DataGrid *grid = m_window->grid();

    grid->setCurrentRow(rowOf(QStringLiteral("Rent")));
    QCOMPARE(deadlineNotes->text(), QStringLiteral("First line\nSecond line"));
    QVERIFY(deadlineNotes->wordWrap());
    QCOMPARE(accountNotes->text(), QStringLiteral("Call before noon"));

    grid->setCurrentRow(rowOf(QStringLiteral("Phone")));
    QCOMPARE(deadlineNotes->text(), QString());
    QCOMPARE(accountNotes->text(), QString());

    // A group row leaves the panel as it was.
    grid->setCurrentRow(rowOf(QStringLiteral("Rent")));
    grid->setCurrentRow(1);
    QCOMPARE(accountNotes->text(), QStringLiteral("Call before noon"));
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("lblNotes"))->text(), ResourceText(1012));
}

void tst_frmMain::startPanelOnEmptySheet()
{
    mainmod::ActiveSheetId = 5;
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto *start = m_window->findChild<QFrame *>(QStringLiteral("picStart"));
    QVERIFY(start->isVisible());
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("lblStart"))->text(), QStringLiteral("ORVEL 2"));
    const QRect grid = m_window->grid()->geometry();
    QVERIFY(qAbs(start->geometry().center().x() - grid.center().x()) <= 1);
    QVERIFY(qAbs(start->geometry().center().y() - grid.center().y()) <= 1);

    insert(5, 1, false, QDate(2024, 2, 2), QStringLiteral("First"), 0, 1);
    m_window->gexUpdate(m_window->currentView());
    m_window->picStartVisible();
    QVERIFY(!start->isVisible());
}

void tst_frmMain::viewChoiceWaitsForLoad()
{
    // A stored view comes back before the list is ready; the list then shows it.
    SetSettingInt(SettingsKey::SelectedView, 6);
    m_window = std::make_unique<frmMain>();
    QVERIFY(m_window->isListReady());
    QCOMPARE(m_window->currentView(), 6);
    QCOMPARE(m_window->grid()->model()->dataRowCount(), 1);
    QVERIFY(rowOf(QStringLiteral("Old invoice")) > 0);
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
