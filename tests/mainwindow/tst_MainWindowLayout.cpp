#include "mainwindow/DeadlineList.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/MainWindow.h"
#include "platform/DataGrid.h"

#include "../support/MainWindowSession.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTest>

#include <memory>

// What the main window keeps between runs, how it starts from what was kept, its
// captions and menus, and the geometry rules behind its columns and calendar.
class tst_MainWindowLayout final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutSurvivesCloseAndReopen();
    void layoutOffStartsPlainAndWritesDefaults();
    void storedValuesOutOfRangeFallBack_data();
    void storedValuesOutOfRangeFallBack();
    void windowStateAtClose_data();
    void windowStateAtClose();
    void storedSizeComesBack();
    void captionsOfMenusAndToolbars_data();
    void captionsOfMenusAndToolbars();
    void languageMenuMovesCheckMark();
    void changeDatabaseStoresFolder_data();
    void changeDatabaseStoresFolder();
    void listColumnWidths_data();
    void listColumnWidths();
    void calendarMonths_data();
    void calendarMonths();

private:
    std::unique_ptr<MainWindowSession> m_session;
};

void tst_MainWindowLayout::init()
{
    m_session = std::make_unique<MainWindowSession>(QDate(2024, 2, 29));
    QVERIFY(m_session->ok());
}

void tst_MainWindowLayout::cleanup()
{
    m_session.reset();
}

void tst_MainWindowLayout::layoutSurvivesCloseAndReopen()
{
    m_session->session().setLanguageChoice(5);
    {
        MainWindow window(m_session->session());
        window.show();
        window.findChild<QComboBox *>(QStringLiteral("viewCombo"))->setCurrentIndex(3);
        window.chooseLayout(2);
        window.list()->model()->setSortKeys({ { ListColumn::TrDescription, false } });
        window.close();
    }
    QCOMPARE(m_session->settings().integer(Setting::SelectedView.name, -1), 3);
    QCOMPARE(m_session->settings().integer(Setting::GroupOption.name, -1), 2);
    QCOMPARE(m_session->settings().integer(Setting::SortColumn.name, -1), ListColumn::TrDescription);
    QCOMPARE(m_session->settings().integer(Setting::SortAscending.name, -1), 0);
    QCOMPARE(m_session->settings().integer(Setting::LanguageChoice.name, -1), 5);
    // The totals switch belongs to the preferences.
    QCOMPARE(m_session->settings().integer(Setting::ShowGroupTotals.name, -1), -1);

    m_session->session().display().groupOption = 0;
    MainWindow again(m_session->session());
    QCOMPARE(again.currentView(), 3);
    QCOMPARE(m_session->session().display().groupOption, 2);
    QVERIFY(again.findChild<QAction *>(QStringLiteral("layoutAction2"))->isChecked());
    QVERIFY(again.findChild<QAction *>(QStringLiteral("layoutButton2"))->isChecked());
    const QList<GridSortKey> keys = again.list()->model()->sortKeys();
    QVERIFY(!keys.isEmpty());
    QCOMPARE(keys.first().column, ListColumn::TrDescription);
    QCOMPARE(keys.first().ascending, false);
}

void tst_MainWindowLayout::layoutOffStartsPlainAndWritesDefaults()
{
    m_session->settings().setInteger(Setting::SaveLayout, 0);
    m_session->settings().setInteger(Setting::SelectedView, 4);
    m_session->settings().setInteger(Setting::GroupOption, 3);
    m_session->settings().setInteger(Setting::SortColumn, 6);
    m_session->settings().setInteger(Setting::SortAscending, 0);
    m_session->settings().setInteger(Setting::ShowGroupTotals, 0);
    m_session->settings().setInteger(Setting::WindowWidth, 20000);
    {
        MainWindow window(m_session->session());
        QVERIFY(!m_session->session().display().saveLayout);
        QCOMPARE(window.currentView(), 0);
        QCOMPARE(m_session->session().display().groupOption, 0);
        const QList<GridSortKey> keys = window.list()->model()->sortKeys();
        QVERIFY(!keys.isEmpty());
        QCOMPARE(keys.first().column, ListColumn::TrDate);
        QCOMPARE(keys.first().ascending, true);

        window.findChild<QComboBox *>(QStringLiteral("viewCombo"))->setCurrentIndex(2);
        window.chooseLayout(1);
        window.close();
    }
    QCOMPARE(m_session->settings().integer(Setting::SelectedView.name, -1), 0);
    QCOMPARE(m_session->settings().integer(Setting::GroupOption.name, -1), 0);
    QCOMPARE(m_session->settings().integer(Setting::ShowGroupTotals.name, -1), 1);
    // Nothing else of the layout is touched.
    QCOMPARE(m_session->settings().integer(Setting::SortColumn.name, -1), 6);
    QCOMPARE(m_session->settings().integer(Setting::WindowWidth.name, -1), 20000);
    QCOMPARE(m_session->settings().integer(Setting::WindowState.name, -1), -1);
}

void tst_MainWindowLayout::storedValuesOutOfRangeFallBack_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("sortKey");
    QTest::addColumn<int>("sortAscending");
    QTest::addColumn<int>("expectedView");
    QTest::addColumn<int>("expectedLayout");
    QTest::addColumn<int>("expectedSortKey");
    QTest::addColumn<bool>("expectedAscending");

    QTest::newRow("all in range") << 7 << 3 << 8 << 0 << 7 << 3 << 8 << false;
    QTest::newRow("view past the list") << 8 << 1 << 5 << 1 << 0 << 1 << 5 << true;
    QTest::newRow("negative view") << -1 << 1 << 5 << 1 << 0 << 1 << 5 << true;
    QTest::newRow("unknown layout") << 2 << 4 << 5 << 1 << 2 << 0 << 5 << true;
    QTest::newRow("column beyond the grid") << 1 << 0 << 21 << 0 << 1 << 0 << 5 << false;
    QTest::newRow("column zero") << 1 << 0 << 0 << 1 << 1 << 0 << 5 << true;
    QTest::newRow("order neither up nor down") << 1 << 0 << 6 << 7 << 1 << 0 << 6 << true;
}

void tst_MainWindowLayout::storedValuesOutOfRangeFallBack()
{
    QFETCH(int, view);
    QFETCH(int, layout);
    QFETCH(int, sortKey);
    QFETCH(int, sortAscending);
    m_session->settings().setInteger(Setting::SelectedView, view);
    m_session->settings().setInteger(Setting::GroupOption, layout);
    m_session->settings().setInteger(Setting::SortColumn, sortKey);
    m_session->settings().setInteger(Setting::SortAscending, sortAscending);

    MainWindow window(m_session->session());
    QTEST(window.currentView(), "expectedView");
    QTEST(int(m_session->session().display().groupOption), "expectedLayout");
    const QList<GridSortKey> keys = window.list()->model()->sortKeys();
    QVERIFY(!keys.isEmpty());
    QTEST(keys.first().column, "expectedSortKey");
    QTEST(keys.first().ascending, "expectedAscending");
}

void tst_MainWindowLayout::windowStateAtClose_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("stored");
    QTest::newRow("normal") << int(Qt::WindowNoState) << 0;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << 2;
    QTest::newRow("minimised stores nothing") << int(Qt::WindowMinimized) << -1;
}

void tst_MainWindowLayout::windowStateAtClose()
{
    QFETCH(int, state);
    QFETCH(int, stored);
    m_session->settings().setInteger(Setting::WindowState, 0);
    int widthAtClose = 0;
    {
        MainWindow window(m_session->session());
        window.show();
        window.setWindowState(Qt::WindowState(state));
        QCoreApplication::processEvents();
        m_session->settings().setInteger(Setting::WindowState, -1);
        m_session->settings().setInteger(Setting::WindowWidth, -1);
        widthAtClose = window.width();
        window.close();
    }
    QCOMPARE(m_session->settings().integer(Setting::WindowState.name, -9), stored);
    if (stored == -1)
        QCOMPARE(m_session->settings().integer(Setting::WindowWidth.name, -9), -1);
    else
        QCOMPARE(m_session->settings().integer(Setting::WindowWidth.name, -9), widthAtClose);
}

void tst_MainWindowLayout::storedSizeComesBack()
{
    m_session->settings().setInteger(Setting::WindowState, 0);
    m_session->settings().setInteger(Setting::WindowWidth, 1080);
    m_session->settings().setInteger(Setting::WindowHeight, 600);
    MainWindow window(m_session->session());
    QCOMPARE(window.width(), 1080);
    QCOMPARE(window.height(), 600);
    QVERIFY(!window.windowState().testFlag(Qt::WindowMaximized));

    // A stored size below the minimum grows to it.
    m_session->settings().setInteger(Setting::WindowWidth, 200);
    m_session->settings().setInteger(Setting::WindowHeight, 133);
    MainWindow small(m_session->session());
    QCOMPARE(small.width(), MainWindowLayout::MinWidth);
    QCOMPARE(small.height(), MainWindowLayout::MinHeight);

    // Nothing stored: the window opens maximised.
    m_session->settings().setInteger(Setting::WindowState, 2);
    MainWindow maximised(m_session->session());
    QVERIFY(maximised.windowState().testFlag(Qt::WindowMaximized));
}

void tst_MainWindowLayout::captionsOfMenusAndToolbars_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QKeySequence>("key");

    // Shortcuts, texts composed with their key, a name that is never translated.
    QTest::newRow("print") << "printAction" << "Print" << QString() << QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F12);
    QTest::newRow("new") << "newAction" << "&New" << QString() << QKeySequence(Qt::Key_F5);
    QTest::newRow("close shows the space bar") << "toggleDoneAction" << "C&lose/Re-open\t[SPACE BAR]" << QString()
                                               << QKeySequence();
    QTest::newRow("find") << "findAction" << "Find" << QString() << QKeySequence(Qt::CTRL | Qt::Key_F);
    QTest::newRow("find next") << "findNextAction" << "Find Next" << QString() << QKeySequence(Qt::Key_F3);
    QTest::newRow("clients") << "counterpartiesAction" << "Cli&ents/Suppliers" << QString()
                             << QKeySequence(Qt::CTRL | Qt::Key_F5);
    QTest::newRow("layout shows its key") << "layoutAction3" << "Group by Client/Supplier\tCtrl+4" << QString()
                                          << QKeySequence();
    QTest::newRow("fixed language name") << "languageAction4" << "Español" << QString() << QKeySequence();
    QTest::newRow("new button") << "newButton" << QString() << "New Deadline" << QKeySequence();
    QTest::newRow("layout button") << "layoutButton1" << QString() << "Group by Date" << QKeySequence();
}

void tst_MainWindowLayout::captionsOfMenusAndToolbars()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QKeySequence, key);
    MainWindow window(m_session->session());
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvel 2"));
    auto *action = window.findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    if (!text.isEmpty())
        QCOMPARE(action->text(), text);
    if (!toolTip.isEmpty())
        QCOMPARE(action->toolTip(), toolTip);
    QCOMPARE(action->shortcut(), key);
}

void tst_MainWindowLayout::languageMenuMovesCheckMark()
{
    m_session->session().setLanguageChoice(3);
    MainWindow window(m_session->session());
    auto entry = [&](int i) { return window.findChild<QAction *>(QStringLiteral("languageAction") + QString::number(i)); };
    QVERIFY(entry(3)->isChecked());
    QVERIFY(entry(1)->isSeparator());

    entry(3)->trigger();   // already chosen: nothing
    QVERIFY(m_session->prompts().shown().isEmpty());
    QVERIFY(entry(3)->isChecked());

    entry(6)->trigger();
    QCOMPARE(m_session->session().languageChoice(), 6);
    QCOMPARE(m_session->settings().integer(Setting::LanguageChoice.name, -1), 6);
    QCOMPARE(m_session->prompts().shownTexts(), QStringList { Texts::text(1362) });
    for (int i : { 0, 2, 3, 4, 5 })
        QVERIFY(!entry(i)->isChecked());
    QVERIFY(entry(6)->isChecked());
}

void tst_MainWindowLayout::changeDatabaseStoresFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("chosen") << QStringLiteral("/data/elsewhere");
    QTest::newRow("cancelled") << QString();
}

void tst_MainWindowLayout::changeDatabaseStoresFolder()
{
    QFETCH(QString, folder);
    const QString before = m_session->connectionString();
    MainWindow window(m_session->session());
    m_session->prompts().queueFolder(folder);
    window.findChild<QAction *>(QStringLiteral("changeDatabaseAction"))->trigger();
    QCOMPARE(m_session->prompts().shown().first().kind, QStringLiteral("folder"));
    QCOMPARE(m_session->prompts().shown().first().text, Texts::text(506));
    QCOMPARE(m_session->settings().text(Setting::DatabaseFolder, QStringLiteral("unset")), folder.isEmpty() ? QStringLiteral("unset") : folder);
    QCOMPARE(m_session->prompts().shown().size(), folder.isEmpty() ? 1 : 2);
    if (!folder.isEmpty())
        QCOMPARE(m_session->prompts().shown().at(1).text, Texts::text(1362));
    // The database in use stays until the next start.
    QCOMPARE(m_session->connectionString(), before);
}

void tst_MainWindowLayout::listColumnWidths_data()
{
    QTest::addColumn<double>("gridWidth");
    QTest::addColumn<double>("scrollBar");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("description");
    QTest::addColumn<int>("counterparty");

    // W = 700 - 2*17 - 20*2/3 - 272 = 380.67
    QTest::newRow("wide grid") << 700.0 << 17.0 << 20 << 228 << 152;
    // W = 280 - 13.33 - 272 = -5.33: too narrow, widths kept
    QTest::newRow("too narrow") << 280.0 << 0.0 << 20 << -1 << -1;
    // W = 286.5 - 285.33 = 1.17: 0.6 of it rounds to 1, 0.4 to 0
    QTest::newRow("rounding") << 286.5 << 0.0 << 20 << 1 << 0;
}

void tst_MainWindowLayout::listColumnWidths()
{
    QFETCH(double, gridWidth);
    QFETCH(double, scrollBar);
    QFETCH(int, columns);
    const auto widths = MainWindowLayout::listColumnWidths(gridWidth, scrollBar, columns);
    QCOMPARE(widths.date, 117);
    QCOMPARE(widths.amount, 111);
    QTEST(widths.description.value_or(-1), "description");
    QTEST(widths.counterparty.value_or(-1), "counterparty");
}

void tst_MainWindowLayout::calendarMonths_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("across");
    QTest::addColumn<int>("down");
    QTest::newRow("smallest window") << 924.0 << 558.0 << 1 << 1;
    QTest::newRow("just wide enough for two") << 1267.0 << 933.0 << 2 << 1;
    QTest::newRow("just too narrow for three") << 1533.0 << 934.0 << 2 << 2;
    QTest::newRow("very wide") << 1534.0 << 1333.0 << 3 << 2;
}

void tst_MainWindowLayout::calendarMonths()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QTEST(MainWindowLayout::calendarMonthsAcross(width), "across");
    QTEST(MainWindowLayout::calendarMonthsDown(height), "down");
}

QTEST_MAIN(tst_MainWindowLayout)
#include "tst_MainWindowLayout.moc"
