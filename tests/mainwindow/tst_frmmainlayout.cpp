#include "mainwindow/DeadlineList.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/frmMain.h"
#include "platform/grid/DataGrid.h"

#include "../support/MainWindowSession.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTest>

#include <memory>

// What the main window keeps between runs, how it starts from what was kept, its
// captions and menus, and the geometry rules behind its columns and calendar.
class tst_frmMainLayout final : public QObject
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
    void sizeComesBackThroughScreenResolution();
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

void tst_frmMainLayout::init()
{
    m_session = std::make_unique<MainWindowSession>(QDate(2024, 2, 29));
    QVERIFY(m_session->ok());
}

void tst_frmMainLayout::cleanup()
{
    m_session.reset();
}

void tst_frmMainLayout::layoutSurvivesCloseAndReopen()
{
    mainmod::LanguageChoice = 5;
    {
        frmMain window;
        window.show();
        window.findChild<QComboBox *>(QStringLiteral("cmbFilter"))->setCurrentIndex(3);
        window.mnuGroupby_Click(2);
        window.grid()->model()->setSortKeys({ { ListColumn::TrDescription, false } });
        window.close();
    }
    QCOMPARE(SettingInt(SettingsKey::SelectedView, -1), 3);
    QCOMPARE(SettingInt(SettingsKey::GroupOpt, -1), 2);
    QCOMPARE(SettingInt(SettingsKey::SortKeyIdx, -1), ListColumn::TrDescription);
    QCOMPARE(SettingInt(SettingsKey::SortKeyAsc, -1), 0);
    QCOMPARE(SettingInt(SettingsKey::IntLang, -1), 5);
    // The totals switch belongs to the preferences.
    QCOMPARE(SettingInt(SettingsKey::ShowGroupTotals, -1), -1);

    mainmod::GroupOption = 0;
    frmMain again;
    QCOMPARE(again.currentView(), 3);
    QCOMPARE(mainmod::GroupOption, 2);
    QVERIFY(again.findChild<QAction *>(QStringLiteral("mnuGroupby2"))->isChecked());
    QVERIFY(again.findChild<QAction *>(QStringLiteral("tbLayout8"))->isChecked());
    const QList<GridSortKey> keys = again.grid()->model()->sortKeys();
    QVERIFY(!keys.isEmpty());
    QCOMPARE(keys.first().column, ListColumn::TrDescription);
    QCOMPARE(keys.first().ascending, false);
}

void tst_frmMainLayout::layoutOffStartsPlainAndWritesDefaults()
{
    SetSettingInt(SettingsKey::SaveIntSettings, 0);
    SetSettingInt(SettingsKey::SelectedView, 4);
    SetSettingInt(SettingsKey::GroupOpt, 3);
    SetSettingInt(SettingsKey::SortKeyIdx, 6);
    SetSettingInt(SettingsKey::SortKeyAsc, 0);
    SetSettingInt(SettingsKey::ShowGroupTotals, 0);
    SetSettingInt(SettingsKey::Width, 20000);
    {
        frmMain window;
        QVERIFY(!mainmod::SaveLayoutSettings);
        QCOMPARE(window.currentView(), 0);
        QCOMPARE(mainmod::GroupOption, 0);
        const QList<GridSortKey> keys = window.grid()->model()->sortKeys();
        QVERIFY(!keys.isEmpty());
        QCOMPARE(keys.first().column, ListColumn::TrDate);
        QCOMPARE(keys.first().ascending, true);

        window.findChild<QComboBox *>(QStringLiteral("cmbFilter"))->setCurrentIndex(2);
        window.mnuGroupby_Click(1);
        window.close();
    }
    QCOMPARE(SettingInt(SettingsKey::SelectedView, -1), 0);
    QCOMPARE(SettingInt(SettingsKey::GroupOpt, -1), 0);
    QCOMPARE(SettingInt(SettingsKey::ShowGroupTotals, -1), 1);
    // Nothing else of the layout is touched.
    QCOMPARE(SettingInt(SettingsKey::SortKeyIdx, -1), 6);
    QCOMPARE(SettingInt(SettingsKey::Width, -1), 20000);
    QCOMPARE(SettingInt(SettingsKey::Maximized, -1), -1);
}

void tst_frmMainLayout::storedValuesOutOfRangeFallBack_data()
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

void tst_frmMainLayout::storedValuesOutOfRangeFallBack()
{
    QFETCH(int, view);
    QFETCH(int, layout);
    QFETCH(int, sortKey);
    QFETCH(int, sortAscending);
    SetSettingInt(SettingsKey::SelectedView, view);
    SetSettingInt(SettingsKey::GroupOpt, layout);
    SetSettingInt(SettingsKey::SortKeyIdx, sortKey);
    SetSettingInt(SettingsKey::SortKeyAsc, sortAscending);

    frmMain window;
    QTEST(window.currentView(), "expectedView");
    QTEST(int(mainmod::GroupOption), "expectedLayout");
    const QList<GridSortKey> keys = window.grid()->model()->sortKeys();
    QVERIFY(!keys.isEmpty());
    QTEST(keys.first().column, "expectedSortKey");
    QTEST(keys.first().ascending, "expectedAscending");
}

void tst_frmMainLayout::windowStateAtClose_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("stored");
    QTest::newRow("normal") << int(Qt::WindowNoState) << 0;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << 2;
    QTest::newRow("minimised stores nothing") << int(Qt::WindowMinimized) << -1;
}

void tst_frmMainLayout::windowStateAtClose()
{
    QFETCH(int, state);
    QFETCH(int, stored);
    SetSettingInt(SettingsKey::Maximized, 0);
    int widthAtClose = 0;
    {
        frmMain window;
        window.show();
        window.setWindowState(Qt::WindowState(state));
        QCoreApplication::processEvents();
        SetSettingInt(SettingsKey::Maximized, -1);
        SetSettingInt(SettingsKey::Width, -1);
        widthAtClose = MainWindowLayout::PixelsToTwips(window.width(), window.logicalDpiX());
        window.close();
    }
    QCOMPARE(SettingInt(SettingsKey::Maximized, -9), stored);
    if (stored == -1)
        QCOMPARE(SettingInt(SettingsKey::Width, -9), -1);
    else
        QCOMPARE(SettingInt(SettingsKey::Width, -9), widthAtClose);
}

void tst_frmMainLayout::sizeComesBackThroughScreenResolution()
{
    SetSettingInt(SettingsKey::Maximized, 0);
    SetSettingInt(SettingsKey::Width, 16200);
    SetSettingInt(SettingsKey::Height, 9000);
    frmMain window;
    const double dpi = window.logicalDpiX();
    QCOMPARE(window.width(), MainWindowLayout::TwipsToPixels(16200, dpi));
    QCOMPARE(window.height(), MainWindowLayout::TwipsToPixels(9000, dpi));
    QVERIFY(!window.windowState().testFlag(Qt::WindowMaximized));

    // A stored size below the minimum grows to it.
    SetSettingInt(SettingsKey::Width, 3000);
    SetSettingInt(SettingsKey::Height, 2000);
    frmMain small;
    QCOMPARE(small.width(), MainWindowLayout::TwipsToPixels(MainWindowLayout::MinWidthTwips, dpi));
    QCOMPARE(small.height(), MainWindowLayout::TwipsToPixels(MainWindowLayout::MinHeightTwips, dpi));

    // Nothing stored: the window opens maximised.
    SetSettingInt(SettingsKey::Maximized, 2);
    frmMain maximised;
    QVERIFY(maximised.windowState().testFlag(Qt::WindowMaximized));
}

void tst_frmMainLayout::captionsOfMenusAndToolbars_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QKeySequence>("key");

    // Shortcuts, texts composed with their key, a name that is never translated.
    QTest::newRow("print") << "mnuFile2" << "Print" << QString() << QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F12);
    QTest::newRow("new") << "mnuRecord0" << "&New" << QString() << QKeySequence(Qt::Key_F5);
    QTest::newRow("close shows the space bar") << "mnuRecord2" << "C&lose/Re-open\t[SPACE BAR]" << QString()
                                               << QKeySequence();
    QTest::newRow("find") << "mnuRecord5" << "Find" << QString() << QKeySequence(Qt::CTRL | Qt::Key_F);
    QTest::newRow("find next") << "mnuRecord7" << "Find Next" << QString() << QKeySequence(Qt::Key_F3);
    QTest::newRow("clients") << "mnuView0" << "Cli&ents/Suppliers" << QString()
                             << QKeySequence(Qt::CTRL | Qt::Key_F5);
    QTest::newRow("layout shows its key") << "mnuGroupby3" << "Group by Client/Supplier\tCtrl+4" << QString()
                                          << QKeySequence();
    QTest::newRow("fixed language name") << "mnuLangs4" << "Español" << QString() << QKeySequence();
    QTest::newRow("new button") << "tb1" << QString() << "New Deadline" << QKeySequence();
    QTest::newRow("layout button") << "tbLayout7" << QString() << "Group by Date" << QKeySequence();
}

void tst_frmMainLayout::captionsOfMenusAndToolbars()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QKeySequence, key);
    frmMain window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvel 2"));
    auto *action = window.findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    if (!text.isEmpty())
        QCOMPARE(action->text(), text);
    if (!toolTip.isEmpty())
        QCOMPARE(action->toolTip(), toolTip);
    QCOMPARE(action->shortcut(), key);
}

void tst_frmMainLayout::languageMenuMovesCheckMark()
{
    mainmod::LanguageChoice = 3;
    frmMain window;
    auto entry = [&](int i) { return window.findChild<QAction *>(QStringLiteral("mnuLangs") + QString::number(i)); };
    QVERIFY(entry(3)->isChecked());
    QVERIFY(entry(1)->isSeparator());

    entry(3)->trigger();   // already chosen: nothing
    QVERIFY(m_session->prompts().shown().isEmpty());
    QVERIFY(entry(3)->isChecked());

    entry(6)->trigger();
    QCOMPARE(mainmod::LanguageChoice, 6);
    QCOMPARE(SettingInt(SettingsKey::IntLang, -1), 6);
    QCOMPARE(m_session->prompts().shownTexts(), QStringList { ResourceText(1362) });
    for (int i : { 0, 2, 3, 4, 5 })
        QVERIFY(!entry(i)->isChecked());
    QVERIFY(entry(6)->isChecked());
}

void tst_frmMainLayout::changeDatabaseStoresFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("chosen") << QStringLiteral("/data/elsewhere");
    QTest::newRow("cancelled") << QString();
}

void tst_frmMainLayout::changeDatabaseStoresFolder()
{
    QFETCH(QString, folder);
    const QString before = mainmod::ConnectionString;
    frmMain window;
    m_session->prompts().queueFolder(folder);
    window.findChild<QAction *>(QStringLiteral("mnuTools4"))->trigger();
    QCOMPARE(m_session->prompts().shown().first().kind, QStringLiteral("folder"));
    QCOMPARE(m_session->prompts().shown().first().text, ResourceText(506));
    QCOMPARE(SettingText(SettingsKey::CurDb, QStringLiteral("unset")), folder.isEmpty() ? QStringLiteral("unset") : folder);
    QCOMPARE(m_session->prompts().shown().size(), folder.isEmpty() ? 1 : 2);
    if (!folder.isEmpty())
        QCOMPARE(m_session->prompts().shown().at(1).text, ResourceText(1362));
    // The database in use stays until the next start.
    QCOMPARE(mainmod::ConnectionString, before);
}

void tst_frmMainLayout::listColumnWidths_data()
{
    QTest::addColumn<double>("gridWidth");
    QTest::addColumn<double>("scrollBar");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("description");
    QTest::addColumn<int>("counterparty");

    // W = 10000 - 2*255 - 200 - 3520 - 660 + 100 = 5210
    QTest::newRow("wide grid") << 10000.0 << 255.0 << 20 << 3126 << 2084;
    // W = 4180 - 200 - 3520 - 660 + 100 + 0 = -100: too narrow, widths kept
    QTest::newRow("too narrow") << 4180.0 << 0.0 << 20 << -1 << -1;
    // W = 4281 - 4280 = 1: 0.6 rounds to 1, 0.4 to 0
    QTest::newRow("rounding") << 4281.0 << 0.0 << 20 << 1 << 0;
}

void tst_frmMainLayout::listColumnWidths()
{
    QFETCH(double, gridWidth);
    QFETCH(double, scrollBar);
    QFETCH(int, columns);
    const auto widths = MainWindowLayout::ListColumnWidthsFor(gridWidth, scrollBar, columns);
    QCOMPARE(widths.date, 1760);
    QCOMPARE(widths.amount, 1660);
    QTEST(widths.description.value_or(-1), "description");
    QTEST(widths.counterparty.value_or(-1), "counterparty");
}

void tst_frmMainLayout::calendarMonths_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("across");
    QTest::addColumn<int>("down");
    QTest::newRow("designed size") << 13860.0 << 8370.0 << 1 << 1;
    QTest::newRow("just above 19000") << 19001.0 << 14000.0 << 2 << 1;
    QTest::newRow("exactly 23000") << 23000.0 << 14001.0 << 2 << 2;
    QTest::newRow("very wide") << 23001.0 << 20000.0 << 3 << 2;
}

void tst_frmMainLayout::calendarMonths()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QTEST(MainWindowLayout::CalendarMonthsAcross(width), "across");
    QTEST(MainWindowLayout::CalendarMonthsDown(height), "down");
}

QTEST_MAIN(tst_frmMainLayout)
#include "tst_frmmainlayout.moc"
