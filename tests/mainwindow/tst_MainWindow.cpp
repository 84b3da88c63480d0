#include "deadlines/NewDeadlineWindow.h"
#include "mainwindow/CalendarColumn.h"
#include "mainwindow/DeadlineCommands.h"
#include "mainwindow/SearchBar.h"
#include "mainwindow/UpcomingPanel.h"
#include "store/Register.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/grid/GridView.h"
#include "store/Database.h"
#include "store/DeadlineStore.h"
#include "platform/MoneyFormatter.h"
#include "startup/Session.h"

#include "MainWindowFixture.h"
#include "../support/OtherProgram.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace {

// Answers Yes, and the first time runs what the user did while the question was up.
class ReenteringPrompts final : public Prompt::Prompts
{
public:
    std::function<void()> meanwhile;
    int asked = 0;
    Prompt::Answer answer = Prompt::Answer::Yes;
    QStringList texts;
    QList<Prompt::Buttons> buttons;

    Prompt::Answer message(const QString &text, const QString &, Prompt::Icon, Prompt::Buttons shown,
                           Prompt::Default) override
    {
        ++asked;
        texts.append(text);
        buttons.append(shown);
        if (auto run = std::exchange(meanwhile, {}))
            run();
        return answer;
    }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

} // namespace

// A layout chosen by Ctrl+digit, in the view box or else in the list: the column
// of its second group level (0 for none), the rows left collapsed, whether totals
// show, and the group captions expected.
struct LayoutCase
{
    int layout;
    bool inViewBox;
    int secondLevel;
    int rowsCollapsed;
    bool totals;
    QStringList expected;
};
Q_DECLARE_METATYPE(LayoutCase)

// The main window over a real database: the list of each view, the layouts and
// their captions, the row presentation, the keys of the list and the search.
class tst_MainWindow final : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        // The last day of a month: tomorrow already belongs to "next month onwards".
        start(QDate(2024, 1, 31));
        const int acme = addCounterparty(QStringLiteral("Acme"), QStringLiteral("Call before noon"));
        insert(1, 1, false, QDate(2024, 1, 15), QStringLiteral("Rent"), acme, 100, 0, 0, 0, QStringLiteral("First line\nSecond line"));
        insert(1, -1, false, QDate(2024, 2, 1), QStringLiteral("Phone"), 0, 40);
        insert(1, -2, false, QDate(2024, 3, 10), QStringLiteral("Dentist"), 0, 0);
        insert(1, 1, true, QDate(2023, 12, 1), QStringLiteral("Old invoice"), acme, 50);
        for (int k = 1; k <= 3; ++k)
            insert(1, -1, false, QDate(2024, k + 1, 15), QStringLiteral("Loan"), 0, 10, 7, k, 3);
        insert(2, 1, false, QDate(2024, 1, 20), QStringLiteral("Other sheet"), 0, 999);
    }
    void cleanup() { stop(); }

    void viewListsItsDeadlines()
    {
        // Which rows each view keeps is the list's rule, tested without a window; here the box
        // drives it, and only the calendar view follows a new selection.
        const auto sorted = [this] {
            QStringList descriptions = listedDescriptions();
            descriptions.sort();
            return descriptions;
        };
        open();
        QCOMPARE(m_window->listPanel()->currentView(), 0);
        MonthCalendar *calendar = m_window->calendarColumn()->calendar();
        const std::pair<int, QStringList> cases[] = {{4, {"Loan", "Loan", "Loan", "Phone"}}, {int(CalendarView), {"Loan"}}};
        for (const auto &[view, expected] : cases) {
            calendar->setCurrentDate(QDate(2024, 3, 15));
            views()->setCurrentIndex(view);
            QCOMPARE(sorted(), expected);
            calendar->setCurrentDate(QDate(2024, 2, 1));
            QCOMPARE(sorted(), view == CalendarView ? QStringList{"Phone"} : expected);
        }
        // A view that comes back from the settings, before the list is ready.
        m_window.reset();
        m_session->settings().setInteger(Setting::SelectedView, 6);
        open();
        QCOMPARE(m_window->listPanel()->currentView(), 6);
        QCOMPARE(sorted(), QStringList{"Old invoice"});
    }

    void layoutKeysCaptionsAndSpace_data()
    {
        QTest::addColumn<LayoutCase>("c");
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        auto total = [&](qint64 whole) { return " [" + formatMoney(Currency::fromWhole(whole), en) + "]"; };
        auto month = [&](int m, int year) { return " " + en.standaloneMonthName(m) + " " + QString::number(year); };
        const QString top = QStringLiteral("Deadlines - All Deadlines");
        const int key = ListColumn::GroupKey;
        const int party = ListColumn::AcName;
        // Collapsed, the sheet's row and the second level stay listed.
        QTest::newRow("plain") << LayoutCase{0, false, 0, 1, true, {top}};
        QTest::newRow("by due period") << LayoutCase{1, false, key, 3, true,
                                                     {top, " Until Today" + total(100), " Next month onwards" + total(-70)}};
        QTest::newRow("by month") << LayoutCase{2, false, key, 6, true,
                                                {top, month(12, 2023) + total(0), month(1, 2024) + total(100),
                                                 month(2, 2024) + total(-50), month(3, 2024) + total(-10),
                                                 month(4, 2024) + total(-10)}};
        QTest::newRow("by counterparty, keys in the view box")
            << LayoutCase{3, true, party, 3, true, {top + total(30), "(none)" + total(-70), "Acme" + total(100)}};
        // Without totals the counterparty groups keep the list's own caption.
        QTest::newRow("by counterparty without totals") << LayoutCase{3, false, party, 3, false, {top, QString(), "Acme"}};
    }

    void layoutKeysCaptionsAndSpace()
    {
        QFETCH(LayoutCase, c);
        const int layout = c.layout;
        QStringList expected = c.expected;
        const int secondLevel = c.secondLevel;
        m_session->settings().setInteger(Setting::ShowGroupTotals, c.totals ? 1 : 0);
        open();
        DataGrid *list = this->list();
        // Ctrl+1 to Ctrl+4 choose the layout, from another one; menu and toolbar follow.
        m_window->listPanel()->chooseLayout((layout + 2) % 4);
        list->setCurrentRow(2);
        QWidget *target = c.inViewBox ? static_cast<QWidget *>(views()) : static_cast<QWidget *>(list->view());
        QTest::keyClick(target, Qt::Key(Qt::Key_1 + layout), Qt::ControlModifier);
        QCOMPARE(m_session->session().display().groupOption, layout);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("layoutAction%1").arg(i))->isChecked(), i == layout);
            QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("layoutButton%1").arg(i))->isChecked(), i == layout);
        }
        QCOMPARE(list->model()->groups().size(), secondLevel ? 2 : 1);
        if (secondLevel)
            QCOMPARE(list->model()->groups().at(1).column, secondLevel);
        m_window->listPanel()->collapseAll();
        QCOMPARE(list->rowCount(), c.rowsCollapsed);
        m_window->listPanel()->expandAll();
        QVERIFY(list->rowCount() > 7);

        QStringList captions;
        for (int row = 1; row <= list->rowCount(); ++row)
            if (list->isGroupRow(row))
                captions << list->model()->groupCaption(row);
        QCOMPARE(captions.value(0), expected.value(0));
        captions.sort();
        expected.sort();
        QCOMPARE(captions, expected);

        // In the open view, Space closes the deadline and the one that followed it
        // becomes current, even across a group row; a second Space closes that one.
        views()->setCurrentIndex(1);
        m_window->listPanel()->expandAll();
        // Rent is the first open deadline; in the date layouts a group row follows it.
        list->setCurrentRow(rowOf(QStringLiteral("Rent")));
        const QVariant chosen = currentId();
        const QVariant follower = idsAroundCurrent().value(0);
        QTest::keyClick(list->view(), Qt::Key_Space);
        QCOMPARE(countRows(QStringLiteral("TrDone=True AND TrRowId=") + chosen.toString()), 1);
        QCOMPARE(currentId(), follower);
        QTest::keyClick(list->view(), Qt::Key_Space);
        QCOMPARE(countRows(QStringLiteral("TrDone=True AND TrRowId=") + follower.toString()), 1);
        QCOMPARE(countRows(QStringLiteral("TrDone=True AND TrDbId=1")), 3);

        // Space on a group row does nothing.
        list->setCurrentRow(1);
        QTest::keyClick(list->view(), Qt::Key_Space);
        QCOMPARE(countRows(QStringLiteral("TrDone=True")), 3);
        if (layout == 0) {
            // Closing the last row leaves the new last row current, ready for the next key.
            const int last = list->rowCount();
            list->setCurrentRow(last);
            QTest::keyClick(list->view(), Qt::Key_Space);
            QCOMPARE(countRows(QStringLiteral("TrDone=True")), 4);
            QCOMPARE(list->currentRow(), last - 1);
        }
    }

    void rowPresentation()
    {
        // The date cell's style, the recurrence picture, the counter and the amount of
        // each kind of row, with the counters on and then off.
        const struct { const char *description; int grpRow; bool expired; const char *shown; bool amountShown; } rows[] = {
            {"Rent", 0, true, "Rent", true},                      // an open credit past due
            {"Dentist", 0, false, "Dentist", false},              // an appointment far ahead has no amount
            {"Old invoice", 0, false, "Old invoice", true},       // closed and past is never expired
            {"Loan", 2, false, "Loan 2 of 3", true}};             // a group member shows its counter
        for (const bool counters : {true, false}) {
            m_session->settings().setInteger(Setting::ShowGroupCounters, counters ? 1 : 0);
            open();
            GridModel *model = list()->model();
            for (const auto &r : rows) {
                const int row = rowOf(QLatin1String(r.description), r.grpRow);
                QVERIFY(row > 0);
                auto role = [&](int column, int role) { return model->data(model->index(row - 1, column - 1), role); };
                QCOMPARE(role(ListColumn::TrDate, GridModel::StyleRole).toString() == QLatin1String("Expired"), r.expired);
                // A recurrence keeps its picture whether or not it shows its counter.
                QCOMPARE(role(ListColumn::TrDescription, GridModel::IconIndexRole).toInt(), r.grpRow ? 9 : -1);
                QCOMPARE(model->displayText(row, ListColumn::TrDescription),
                         QString::fromUtf8(counters ? r.shown : r.description));
                QCOMPARE(model->displayText(row, ListColumn::TrValue).isEmpty(), !r.amountShown);
            }
            m_window.reset();
        }
    }

    void searchAsTypedThenOnwards()
    {
        insert(1, 1, false, QDate(2024, 5, 1), QStringLiteral("Zebra crossing"), 0, 5);
        open();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *search = m_window->findChild<QLineEdit *>(QStringLiteral("searchBox"));
        auto *findNextButton = m_window->findChild<QAction *>(QStringLiteral("findNextButton"));
        DataGrid *list = m_window->listPanel()->list();
        list->setCurrentRow(rowOf(QStringLiteral("Rent")));
        const int before = list->currentRow();

        search->setText(QStringLiteral("stale"));
        search->setFocus();
        QCOMPARE(search->text(), QString());   // focus empties the box
        QVERIFY(!findNextButton->isEnabled());

        // Each key searches with the text as it was before the key: the first
        // searches nothing, the second finds "ze".
        QTest::keyClick(search, Qt::Key_Z);
        QCOMPARE(search->text(), QStringLiteral("z"));
        QCOMPARE(list->currentRow(), before);
        QVERIFY(!findNextButton->isEnabled());
        QTest::keyClick(search, Qt::Key_E);
        QCOMPARE(list->currentRow(), rowOf(QStringLiteral("Zebra crossing")));
        QVERIFY(findNextButton->isEnabled());
        QVERIFY(m_window->findChild<QAction *>(QStringLiteral("findNextAction"))->isEnabled());

        // Tab only leaves the box: no further search with the whole text moves the row.
        list->setCurrentRow(before);
        QTest::keyClick(search, Qt::Key_Tab);
        QVERIFY(!search->hasFocus());
        QCOMPARE(list->currentRow(), before);

        // Back in the list the search box empties and the find commands go grey.
        list->focusList();
        QCOMPARE(search->text(), QString());
        QVERIFY(!findNextButton->isEnabled());
        QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("statusHelp"))->text(), Texts::text(1056));

        // Find next and previous move between matches; a blank text never searches.
        list->setCurrentRow(1);
        m_window->searchBar()->findNext(QStringLiteral("loan"), 1);
        m_window->searchBar()->findNext(QStringLiteral("loan"), 1);
        const int second = list->currentRow();
        QCOMPARE(list->value(second, ListColumn::TrDescription).toString(), QStringLiteral("Loan"));
        m_window->searchBar()->findPrevious(QStringLiteral("loan"), 1);
        QVERIFY(list->currentRow() != second);
        QCOMPARE(list->value(list->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Loan"));
        const int current = list->currentRow();
        m_window->searchBar()->findNext(QStringLiteral("  "), 1);
        QCOMPARE(list->currentRow(), current);
    }

    void emptyListPanelOnEmptySheet()
    {
        m_session->session().setActiveSheet(5, QStringLiteral("Empty"));
        open();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        auto *panel = m_window->findChild<QFrame *>(QStringLiteral("emptyListPanel"));
        QVERIFY(panel->isVisible());

        insert(5, 1, false, QDate(2024, 2, 2), QStringLiteral("First"), 0, 1);
        emit m_session->session().deadlineRegister().deadlinesChanged(5);
        QVERIFY(!panel->isVisible());
    }

    void currentDeadlineKeptOnEveryReread()
    {
        // Whatever re-reads the list, the deadline the user chose stays current; when
        // the new view leaves it out, the nearest row that followed it does.
        open();
        DataGrid *list = m_window->listPanel()->list();
        auto *views = m_window->findChild<QComboBox *>(QStringLiteral("viewCombo"));
        // Round the four layouts: each is left and reached once, the deadline current throughout.
        for (const QVariant &id : listedIds()) {
            m_window->listPanel()->findDeadline(id.toInt());
            for (int to : {1, 3, 2, 0}) {
                m_window->listPanel()->chooseLayout(to);
                QVERIFY2(currentId() == id, qPrintable(QStringLiteral("layout %1, id %2").arg(to).arg(id.toInt())));
            }
        }
        for (int layout = 0; layout < 4; ++layout) {
            m_window->listPanel()->chooseLayout(layout);
            for (int view = 1; view < CalendarView; ++view) {
                views->setCurrentIndex(0);
                for (const QVariant &id : listedIds()) {
                    views->setCurrentIndex(0);
                    m_window->listPanel()->findDeadline(id.toInt());
                    const QVariantList around = idsAroundCurrent();
                    views->setCurrentIndex(view);
                    const QVariantList listed = listedIds();
                    QVariant expected;
                    if (listed.contains(id))
                        expected = id;
                    for (int i = 0; i < around.size() && !expected.isValid(); ++i)
                        if (listed.contains(around.at(i)))
                            expected = around.at(i);
                    if (!expected.isValid())
                        continue;   // nothing of the old list is left
                    QVERIFY2(currentId() == expected, qPrintable(QStringLiteral("layout %1, view %2, id %3")
                                                                     .arg(layout).arg(view).arg(id.toInt())));
                }
            }
        }
        // A sort by a header click keeps it too.
        m_window->listPanel()->chooseLayout(2);
        views->setCurrentIndex(0);
        list->setCurrentRow(rowOf(QStringLiteral("Rent")));
        const QVariant rent = currentId();
        QVERIFY(rent.isValid());
        list->model()->sortByHeader(ListColumn::TrDescription);
        QCOMPARE(currentId(), rent);
    }

    // Delete asks once per key and obeys the answer. Keys that reach the list while
    // the command still runs (here while its question is up) start nothing. A
    // member of a recurrence asks which members go: the user journey walks that.
    void deleteAsksOnceAndObeys()
    {
        open();
        DataGrid *list = m_window->listPanel()->list();
        list->setCurrentRow(rowOf(QStringLiteral("Dentist")));
        m_session->prompts().queueAnswer(Prompt::Answer::No);
        QTest::keyClick(list->view(), Qt::Key_Delete);
        QCOMPARE(m_session->prompts().shownTexts(), QStringList{Texts::text(1055)});
        QCOMPARE(m_session->prompts().shown().last().caption, QStringLiteral("Orvel 2"));
        QCOMPARE(countRows(QStringLiteral("TrDescription='Dentist'")), 1);
        QVERIFY(rowOf(QStringLiteral("Dentist")) > 0);
        QCOMPARE(countRows(QStringLiteral("True")), 8);

        ReenteringPrompts prompts;
        Prompt::install(&prompts);
        const auto restore = qScopeGuard([this] { Prompt::install(&m_session->prompts()); });
        list->setCurrentRow(rowOf(QStringLiteral("Dentist")));
        prompts.meanwhile = [&] {
            QTest::keyClick(list->view(), Qt::Key_Delete);
            QTest::keyClick(list->view(), Qt::Key_Space);
        };
        QTest::keyClick(list->view(), Qt::Key_Delete);
        QCOMPARE(prompts.texts, QStringList{Texts::text(1055)});
        QCOMPARE(countRows(QStringLiteral("TrDescription='Dentist'")), 0);
        QCOMPARE(rowOf(QStringLiteral("Dentist")), 0);
        QCOMPARE(countRows(QStringLiteral("True")), 7);
        QCOMPARE(countRows(QStringLiteral("TrDone=True")), 1);

        // Once it has ended, the next key is a new action and runs.
        QVERIFY(!currentId().isNull());
        QTest::keyClick(list->view(), Qt::Key_Space);
        QCOMPARE(countRows(QStringLiteral("TrDone=True")), list->value(list->currentRow(), ListColumn::TrDone).toBool() ? 2 : 0);
    }

    void lockedDatabaseIsToldAndRetried()
    {
        // Another program holds the file: the user reads which file and what to do,
        // and Retry, once that program has let go, does what was asked.
        open();
        DataGrid *list = m_window->listPanel()->list();
        const QString path = Database::dataSource(m_session->connectionString());
        OtherProgram other(path);
        QVERIFY(other.isOpen());
        ReenteringPrompts prompts;
        Prompt::install(&prompts);
        const auto restore = qScopeGuard([this] { Prompt::install(&m_session->prompts()); });
        prompts.answer = Prompt::Answer::Retry;

        // Space on a deadline.
        list->setCurrentRow(rowOf(QStringLiteral("Dentist")));
        QVERIFY(other.lock());
        prompts.meanwhile = [&other] { other.release(); };
        QTest::keyClick(list->view(), Qt::Key_Space);
        QCOMPARE(prompts.asked, 1);
        QCOMPARE(prompts.buttons.first(), Prompt::Buttons::RetryCancel);
        QVERIFY2(prompts.texts.first().contains(QDir::toNativeSeparators(path)), qPrintable(prompts.texts.first()));
        QVERIFY(!prompts.texts.first().contains(QStringLiteral("database is locked")));
        QCOMPARE(countRows(QStringLiteral("TrDone=True")), 2);

        // F5: the new-deadline window reads the clients/suppliers before it opens.
        QVERIFY(other.lock());
        prompts.meanwhile = [&other] { other.release(); };
        m_window->commands()->newDeadline(list->currentRow());
        QCOMPARE(prompts.asked, 2);
        QCOMPARE(prompts.buttons.last(), Prompt::Buttons::RetryCancel);
        auto *form = m_window->findChild<NewDeadlineWindow *>();
        QVERIFY(form && form->isVisible());
        QVERIFY(form->findChild<QComboBox *>(QStringLiteral("counterpartyCombo"))->findText(QStringLiteral("Acme")) > 0);
    }

    // What a screen reader meets: each control by its name, the notes areas on their
    // Tab stops following the current row, and the list read through its table.
    void screenReaderReadsTheWindow()
    {
        open();
        DataGrid *list = m_window->listPanel()->list();
        list->setCurrentRow(rowOf(QStringLiteral("Rent")));
        // Its own name, or on Linux for a combo box (named by its value) the label
        // that the screen reader reads through the relation; a grid through its table.
        const std::pair<const char *, const char *> controls[] = {
            {"list", "Deadlines"},         {"upcomingList", "Open deadlines of the selected days"},
            {"commandToolBar", "Commands"}, {"layoutToolBar", "View and layout"},
            {"findToolBar", "Find"},       {"searchIcon", "Find"},
            {"searchBox", "Find"},         {"viewCombo", "Show:"}};
        for (const auto &[control, name] : controls) {
            auto *widget = m_window->findChild<QWidget *>(QLatin1String(control));
            QVERIFY2(widget, control);
            if (auto *grid = qobject_cast<DataGrid *>(widget))
                widget = grid->view();
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            QStringList said{accessible->text(QAccessible::Name)};
            for (const auto &[label, relation] : accessible->relations(QAccessible::Label))
                said << label->text(QAccessible::Name);
            QVERIFY2(said.contains(QLatin1String(name)), qPrintable(said.join(u'|')));
        }

        auto spoken = [this](const char *area) {
            return QAccessible::queryAccessibleInterface(m_window->findChild<QWidget *>(QLatin1String(area)))
                ->text(QAccessible::Name);
        };
        QCOMPARE(spoken("deadlineNotesArea"), QStringLiteral("Notes: First line\nSecond line"));
        QCOMPARE(spoken("counterpartyNotesArea"), QStringLiteral("Client/Supplier Notes: Call before noon"));
        list->setCurrentRow(rowOf(QStringLiteral("Phone")));
        QCOMPARE(spoken("deadlineNotesArea"), QStringLiteral("Notes"));
        QCOMPARE(spoken("counterpartyNotesArea"), QStringLiteral("Client/Supplier Notes"));
        // A group row leaves the panel as it was.
        list->setCurrentRow(rowOf(QStringLiteral("Rent")));
        list->setCurrentRow(1);
        QCOMPARE(spoken("counterpartyNotesArea"), QStringLiteral("Client/Supplier Notes: Call before noon"));

        m_window->listPanel()->chooseLayout(3);
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(list->view());
        QVERIFY(table);
        QAccessibleTableInterface *cells = table->tableInterface();
        QVERIFY(cells);

        QStringList columns;
        for (int c = 0; c < cells->columnCount(); ++c)
            columns << cells->columnDescription(c);
        QCOMPARE(columns, (QStringList{"Type", "Date", "Description", "Amount", "Client/Supplier"}));
        QCOMPARE(cells->rowCount(), list->rowCount());

        // A group row is a row like any other, its caption in the first cell.
        QAccessibleInterface *group = cells->cellAt(0, 0);
        QVERIFY(group);
        QCOMPARE(group->text(QAccessible::Name), list->model()->groupCaption(1));
        QVERIFY(!group->state().invisible);
        QCOMPARE(group->tableCellInterface()->columnExtent(), 5);

        const int rent = rowOf(QStringLiteral("Rent")) - 1;
        QStringList cellNames;
        for (int c = 0; c < cells->columnCount(); ++c) {
            QAccessibleInterface *cell = cells->cellAt(rent, c);
            QVERIFY(!cell->state().invisible);
            cellNames << cell->text(QAccessible::Name);
        }
        const QString date = list->model()->displayText(rent + 1, ListColumn::TrDate);
        QVERIFY(!date.isEmpty());
        QCOMPARE(cellNames, (QStringList{"Credit", date, "Rent", "$100.00", "Acme"}));
        QCOMPARE(cells->cellAt(rowOf(QStringLiteral("Dentist")) - 1, 0)->text(QAccessible::Name), Texts::text(1043));
        QCOMPARE(cells->cellAt(rowOf(QStringLiteral("Phone")) - 1, 0)->text(QAccessible::Name), QStringLiteral("Debit"));
    }

    void keysDoWhatClicksDo()
    {
        // In the upcoming panel the keys make the deadline the list's current one, as a click does.
        const struct { bool inUpcomingPanel; QKeyCombination key; const char *outcome; } cases[] = {
            {true, QKeyCombination(Qt::Key_Return), "Dentist current"},
            {true, QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter), "Dentist current"},
            {true, QKeyCombination(Qt::Key_Space), "Dentist current"},
            {false, QKeyCombination(Qt::ControlModifier, Qt::Key_N), "new deadline"},
            {false, QKeyCombination(Qt::ControlModifier, Qt::Key_Q), "closed"}};
        for (const auto &c : cases) {
            open();
            QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
            DataGrid *target = list();
            if (c.inUpcomingPanel) {
                m_window->upcomingPanel()->showDays(QDate(2024, 2, 1), QDate(2024, 3, 31));
                target = m_window->upcomingPanel()->list();
                for (int row = 1; row <= target->rowCount(); ++row)
                    if (target->value(row, 1).toString() == QLatin1String("Dentist"))
                        target->setCurrentRow(row);
                target->view()->setFocus();
            }
            QTest::keyClick(target->view(), c.key.key(), c.key.keyboardModifiers());
            const QString outcome = QString::fromLatin1(c.outcome);
            auto *form = m_window->findChild<NewDeadlineWindow *>();
            QVERIFY2((form && form->isVisible()) == (outcome == u"new deadline"), c.outcome);
            QVERIFY2(m_window->isVisible() == (outcome != u"closed"), c.outcome);
            if (c.inUpcomingPanel) {
                QCOMPARE(list()->value(list()->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Dentist"));
                QCOMPARE(QApplication::focusWidget(), list()->view());
                QCOMPARE(countRows(QStringLiteral("TrDone=True")), 1);
            }
        }
    }

private:
    QVariant currentId() const
    {
        return list()->isGroupRow(list()->currentRow()) ? QVariant() : list()->value(list()->currentRow(), ListColumn::TrRowId);
    }
    // Row ids of the data rows listed after the current one, then those before it, nearest first.
    QVariantList idsAroundCurrent() const
    {
        QVariantList before = listedValues(list(), ListColumn::TrRowId, 1, qMax(0, list()->currentRow() - 1));
        std::reverse(before.begin(), before.end());
        return listedValues(list(), ListColumn::TrRowId, list()->currentRow() + 1) + before;
    }
    QVariantList listedIds() const { return listedValues(list(), ListColumn::TrRowId); }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
