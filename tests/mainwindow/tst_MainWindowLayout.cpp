#include "about/HelpWindow.h"
#include "mainwindow/DeadlineList.h"
#include "mainwindow/ListPanel.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowLayout.h"
#include "platform/grid/DataGrid.h"

#include "../support/MainWindowSession.h"
#include "../support/TestDatabase.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>

#include <QScopeGuard>

#include <memory>

// What the main window keeps between runs, how it starts from what was kept, its
// menus and toolbars, and the widths of the list's columns.
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
    void windowSizeAndState_data();
    void windowSizeAndState();
    void menusInEveryLanguage_data();
    void menusInEveryLanguage();
    void helpWindowIsAWindowThatKeysClose_data();
    void helpWindowIsAWindowThatKeysClose();
    void changeDatabaseStoresFolder_data();
    void changeDatabaseStoresFolder();

private:
    int stored(const SettingsStore::Integer &setting) { return m_session->settings().integer(setting.name, -1); }
    void store(const SettingsStore::Integer &setting, int value) { m_session->settings().setInteger(setting, value); }

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
    Session &session = m_session->session();
    session.setLanguageChoice(5);
    {
        MainWindow window(session);
        window.show();
        window.findChild<QComboBox *>(QStringLiteral("viewCombo"))->setCurrentIndex(3);
        window.listPanel()->chooseLayout(2);
        window.listPanel()->list()->model()->setSortKeys({{ListColumn::TrDescription, false}});
        window.close();
    }
    // The totals switch belongs to the preferences: not written here.
    QCOMPARE((QList<int>{stored(Setting::SelectedView), stored(Setting::GroupOption), stored(Setting::SortColumn),
                         stored(Setting::SortAscending), stored(Setting::LanguageChoice), stored(Setting::ShowGroupTotals)}),
             (QList<int>{3, 2, ListColumn::TrDescription, 0, 5, -1}));

    session.display().groupOption = 0;
    MainWindow again(session);
    QCOMPARE(again.listPanel()->currentView(), 3);
    QCOMPARE(session.display().groupOption, 2);   // menu and toolbar follow it, as the main window's test shows
    const QList<GridSortKey> keys = again.listPanel()->list()->model()->sortKeys();
    QVERIFY(!keys.isEmpty());
    QCOMPARE(keys.first().column, ListColumn::TrDescription);
    QCOMPARE(keys.first().ascending, false);

    // A settings file that cannot be written loses the layout with a word, not silently.
    const QString file = session.settings().fileName();
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkdir(file));
    again.show();
    again.close();
    QCOMPARE(m_session->prompts().shownTexts(),
             QStringList{Texts::text(2711).arg(QDir::toNativeSeparators(file))});
}

void tst_MainWindowLayout::layoutOffStartsPlainAndWritesDefaults()
{
    store(Setting::SaveLayout, 0);
    store(Setting::SelectedView, 4);
    store(Setting::GroupOption, 3);
    store(Setting::SortColumn, 6);
    store(Setting::ShowGroupTotals, 0);
    store(Setting::WindowWidth, 1333);
    {
        MainWindow window(m_session->session());
        QVERIFY(!m_session->session().display().saveLayout);
        QCOMPARE(window.listPanel()->currentView(), 0);
        QCOMPARE(m_session->session().display().groupOption, 0);
        const QList<GridSortKey> keys = window.listPanel()->list()->model()->sortKeys();
        QVERIFY(!keys.isEmpty());
        QCOMPARE(keys.first().column, ListColumn::TrDate);
        QCOMPARE(keys.first().ascending, true);

        window.findChild<QComboBox *>(QStringLiteral("viewCombo"))->setCurrentIndex(2);
        window.listPanel()->chooseLayout(1);
        window.close();
    }
    // View, layout and totals go back to their defaults; nothing else of the layout is touched.
    QCOMPARE((QList<int>{stored(Setting::SelectedView), stored(Setting::GroupOption), stored(Setting::ShowGroupTotals),
                         stored(Setting::SortColumn), stored(Setting::WindowWidth), stored(Setting::WindowState)}),
             (QList<int>{0, 0, 1, 6, 1333, -1}));
}

void tst_MainWindowLayout::storedValuesOutOfRangeFallBack_data()
{
    QTest::addColumn<QList<int>>("storedValues");   // view, layout, sort column, sort order
    QTest::addColumn<QList<int>>("started");        // the same as the window starts with them

    QTest::newRow("view past the list") << QList<int>{8, 1, 5, 1} << QList<int>{0, 1, 5, 1};
    QTest::newRow("unknown layout") << QList<int>{2, 4, 5, 1} << QList<int>{2, 0, 5, 1};
    QTest::newRow("column beyond the list") << QList<int>{1, 0, 21, 0} << QList<int>{1, 0, 5, 0};
    QTest::newRow("order neither up nor down") << QList<int>{1, 0, 6, 7} << QList<int>{1, 0, 6, 1};
}

void tst_MainWindowLayout::storedValuesOutOfRangeFallBack()
{
    QFETCH(QList<int>, storedValues);
    QFETCH(QList<int>, started);
    store(Setting::SelectedView, storedValues[0]);
    store(Setting::GroupOption, storedValues[1]);
    store(Setting::SortColumn, storedValues[2]);
    store(Setting::SortAscending, storedValues[3]);

    MainWindow window(m_session->session());
    const QList<GridSortKey> keys = window.listPanel()->list()->model()->sortKeys();
    QVERIFY(!keys.isEmpty());
    QCOMPARE((QList<int>{window.listPanel()->currentView(), m_session->session().display().groupOption, keys.first().column,
                         keys.first().ascending ? 1 : 0}),
             started);
}

void tst_MainWindowLayout::windowSizeAndState_data()
{
    QTest::addColumn<int>("storedState");
    QTest::addColumn<QSize>("storedSize");
    QTest::addColumn<QSize>("opened");       // invalid: maximised
    QTest::addColumn<int>("closedState");
    QTest::addColumn<int>("writtenState");   // -1: nothing written

    QTest::newRow("normal") << 0 << QSize(1080, 600) << QSize(1080, 600) << int(Qt::WindowNoState) << 0;
    QTest::newRow("below the minimum grows to it")
        << 0 << QSize(200, 133) << QSize(MainWindowLayout::MinWidth, MainWindowLayout::MinHeight)
        << int(Qt::WindowMaximized) << 2;
    QTest::newRow("maximised, closed minimised stores nothing") << 2 << QSize(1080, 600) << QSize()
                                                                << int(Qt::WindowMinimized) << -1;
}

void tst_MainWindowLayout::windowSizeAndState()
{
    QFETCH(int, storedState);
    QFETCH(QSize, storedSize);
    QFETCH(QSize, opened);
    QFETCH(int, closedState);
    QFETCH(int, writtenState);
    store(Setting::WindowState, storedState);
    store(Setting::WindowWidth, storedSize.width());
    store(Setting::WindowHeight, storedSize.height());
    int widthAtClose = 0;
    {
        MainWindow window(m_session->session());
        QCOMPARE(window.windowState().testFlag(Qt::WindowMaximized), !opened.isValid());
        if (opened.isValid())
            QCOMPARE(window.size(), opened);
        window.show();
        window.setWindowState(Qt::WindowState(closedState));
        QCoreApplication::processEvents();
        store(Setting::WindowState, -1);
        store(Setting::WindowWidth, -1);
        widthAtClose = window.width();
        window.close();
    }
    QCOMPARE(stored(Setting::WindowState), writtenState);
    QCOMPARE(stored(Setting::WindowWidth), writtenState == -1 ? -1 : widthAtClose);
}

void tst_MainWindowLayout::menusInEveryLanguage_data()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("Italian") << Language::Italian;
    QTest::newRow("English") << Language::English;
    QTest::newRow("French") << Language::French;
    QTest::newRow("Spanish") << Language::Spanish;
    QTest::newRow("German") << Language::German;
}

void tst_MainWindowLayout::menusInEveryLanguage()
{
    // Every entry of every menu, the menu bar and the submenus included, can be
    // reached by its own letter.
    QFETCH(Language, language);
    Texts::setLanguage(language);
    const auto restore = qScopeGuard([] { Texts::setLanguage(Language::English); });
    m_session->session().setLanguageChoice(3);
    MainWindow window(m_session->session());
    QList<QWidget *> menus{window.menuBar()};
    for (QMenu *menu : window.findChildren<QMenu *>())
        menus.append(menu);
    int entries = 0;
    for (QWidget *menu : menus) {
        QHash<QKeySequence, QString> taken;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            ++entries;
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            QVERIFY2(!key.isEmpty(), qPrintable(action->text()));
            QVERIFY2(!taken.contains(key), qPrintable(taken.value(key) + QStringLiteral(" / ") + action->text()));
            taken.insert(key, action->text());
        }
    }
    QVERIFY(entries > 30);

    // The language menu's tick follows the choice; what the choice stores and
    // says is the language menu's own, tested beside it.
    auto entry = [&](int i) { return window.findChild<QAction *>(QStringLiteral("languageAction%1").arg(i)); };
    QVERIFY(entry(3)->isChecked());
    entry(6)->trigger();
    QCOMPARE(m_session->session().languageChoice(), 6);
    for (int i : {0, 2, 3, 4, 5, 6})
        QCOMPARE(entry(i)->isChecked(), i == 6);
}

void tst_MainWindowLayout::helpWindowIsAWindowThatKeysClose_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::newRow("Esc") << QKeyCombination(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeyCombination(Qt::ControlModifier, Qt::Key_W);
}

void tst_MainWindowLayout::helpWindowIsAWindowThatKeysClose()
{
    QFETCH(QKeyCombination, key);
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("help.html"));
    QVERIFY(writeFile(page, "<html><head><title>Orvel 2 help</title></head><body>Help</body></html>"));
    MainWindow window(m_session->session());
    window.show();
    HelpWindow help(&window);
    help.showPage(page);
    QVERIFY(QTest::qWaitForWindowActive(&help));

    // A screen reader meets a window of its own, with a title.
    QVERIFY(help.isWindow());
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&help);
    QVERIFY(accessible->role() == QAccessible::Dialog || accessible->role() == QAccessible::Window);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Orvel 2 help"));

    QTest::keyClick(help.browser(), key.key(), key.keyboardModifiers());
    QVERIFY(!help.isVisible());
    QVERIFY(window.isVisible());
}

void tst_MainWindowLayout::changeDatabaseStoresFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("chosen") << QStringLiteral("/media/Dati condivisi");
    QTest::newRow("cancelled") << QString();
}

void tst_MainWindowLayout::changeDatabaseStoresFolder()
{
    QFETCH(QString, folder);
    const QString before = m_session->connectionString();
    const QString server = QStringLiteral("postgresql://db.office.lan/orvel?sslmode=prefer");
    m_session->settings().setText(Setting::ServerRegister, server);
    MainWindow window(m_session->session());
    // A folder on this computer, not a server.
    m_session->prompts().queueChoice(0);
    m_session->prompts().queueFolder(folder);
    window.findChild<QAction *>(QStringLiteral("changeDatabaseAction"))->trigger();
    const auto shown = m_session->prompts().shown();
    QCOMPARE(shown.first().kind, QStringLiteral("choice"));
    QCOMPARE(shown.value(1).kind, QStringLiteral("folder"));
    QCOMPARE(m_session->settings().text(Setting::DatabaseFolder, QStringLiteral("unset")),
             folder.isEmpty() ? QStringLiteral("unset") : folder);
    // A chosen folder ends the use of the server; a cancelled chooser changes nothing.
    QCOMPARE(m_session->settings().text(Setting::ServerRegister), folder.isEmpty() ? server : QString());
    QCOMPARE(shown.size(), folder.isEmpty() ? 2 : 3);
    if (!folder.isEmpty())
        QCOMPARE(shown.at(2).text, Texts::text(1362));
    // The database in use stays until the next start.
    QCOMPARE(m_session->connectionString(), before);
}

QTEST_MAIN(tst_MainWindowLayout)
#include "tst_MainWindowLayout.moc"
