#include "deadlines/DeleteFromGroupDialog.h"
#include "deadlines/NewDeadlineWindow.h"
#include "mainwindow/MainWindowLayout.h"
#include "platform/DateBox.h"
#include "platform/grid/GridView.h"
#include "store/Database.h"

#include "MainWindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <memory>

// What the main window keeps between runs, how it starts from what was kept, its
// menus and the help window; and one user's journey through the real windows.
class tst_MainWindowLayout final : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        start(QDate(2024, 2, 29));
    }

    void cleanup()
    {
        stop();
    }

    void layoutSurvivesCloseAndReopen()
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

    void layoutOffStartsPlainAndWritesDefaults()
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

    void storedValuesOutOfRangeFallBack()
    {
        // Stored view, layout, sort column and sort order, and the same as the window starts with them.
        const std::pair<QList<int>, QList<int>> cases[] = {
            {{8, 1, 5, 1}, {0, 1, 5, 1}},    // a view past the list
            {{2, 4, 5, 1}, {2, 0, 5, 1}},    // an unknown layout
            {{1, 0, 21, 0}, {1, 0, 5, 0}},   // a column beyond the list
            {{1, 0, 6, 7}, {1, 0, 6, 1}}};   // an order neither up nor down
        for (const auto &[storedValues, started] : cases) {
            store(Setting::SelectedView, storedValues[0]);
            store(Setting::GroupOption, storedValues[1]);
            store(Setting::SortColumn, storedValues[2]);
            store(Setting::SortAscending, storedValues[3]);
            MainWindow window(m_session->session());
            const QList<GridSortKey> keys = window.listPanel()->list()->model()->sortKeys();
            QVERIFY(!keys.isEmpty());
            QCOMPARE((QList<int>{window.listPanel()->currentView(), m_session->session().display().groupOption,
                                 keys.first().column, keys.first().ascending ? 1 : 0}),
                     started);
        }
    }

    void windowSizeAndState()
    {
        // Stored state and size; the size it opens at (invalid: maximised); the state
        // it is closed in, and the state then written (-1: nothing).
        const struct { int storedState; QSize storedSize, opened; Qt::WindowState closedState; int writtenState; } cases[] = {
            {0, QSize(1080, 600), QSize(1080, 600), Qt::WindowNoState, 0},
            // Below the minimum it grows to it.
            {0, QSize(200, 133), QSize(MainWindowLayout::MinWidth, MainWindowLayout::MinHeight), Qt::WindowMaximized, 2},
            // Maximised, then closed minimised: nothing stored.
            {2, QSize(1080, 600), QSize(), Qt::WindowMinimized, -1}};
        for (const auto &c : cases) {
            store(Setting::WindowState, c.storedState);
            store(Setting::WindowWidth, c.storedSize.width());
            store(Setting::WindowHeight, c.storedSize.height());
            int widthAtClose = 0;
            {
                MainWindow window(m_session->session());
                QCOMPARE(window.windowState().testFlag(Qt::WindowMaximized), !c.opened.isValid());
                if (c.opened.isValid())
                    QCOMPARE(window.size(), c.opened);
                window.show();
                window.setWindowState(c.closedState);
                QCoreApplication::processEvents();
                store(Setting::WindowState, -1);
                store(Setting::WindowWidth, -1);
                widthAtClose = window.width();
                window.close();
            }
            QCOMPARE(stored(Setting::WindowState), c.writtenState);
            QCOMPARE(stored(Setting::WindowWidth), c.writtenState == -1 ? -1 : widthAtClose);
        }
    }

    void menusInEveryLanguage()
    {
        // Every entry of every menu, the menu bar and the submenus included, can be
        // reached by its own letter: a clash is a fault of one language's texts.
        const auto restore = qScopeGuard([] { Texts::setLanguage(Language::English); });
        m_session->session().setLanguageChoice(3);
        for (Language language : {Language::Italian, Language::English, Language::French, Language::Spanish, Language::German}) {
            Texts::setLanguage(language);
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
        }

        // The language menu's tick follows the choice; what the choice stores and
        // says is the language menu's own, tested beside it.
        MainWindow window(m_session->session());
        auto entry = [&](int i) { return window.findChild<QAction *>(QStringLiteral("languageAction%1").arg(i)); };
        QVERIFY(entry(3)->isChecked());
        entry(6)->trigger();
        QCOMPARE(m_session->session().languageChoice(), 6);
        for (int i : {0, 2, 3, 4, 5, 6})
            QCOMPARE(entry(i)->isChecked(), i == 6);
    }

    void changeDatabaseStoresFolder()
    {
        // Cancelled, then chosen.
        const QString before = m_session->connectionString();
        const QString server = QStringLiteral("postgresql://db.office.lan/orvel?sslmode=prefer");
        for (const QString &folder : {QString(), QStringLiteral("/media/Dati condivisi")}) {
            m_session->settings().setText(Setting::ServerRegister, server);
            m_session->prompts().clear();
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
    }

    // One user's morning, through the real windows and keys: a monthly rent of
    // twelve is created, shows up grouped with its counters, one
    // payment is closed, one is deleted and the rest renumbered, and finally the whole
    // run is deleted.
    void monthlyRentFromCreationToDeletion()
    {
        m_session->session().setActiveSheet(1, QStringLiteral("Home"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        open();
        GridView *view = list()->view();
        const auto shown = [this] {
            QStringList out;
            for (int row = 1; row <= list()->rowCount(); ++row)
                if (!list()->isGroupRow(row))
                    out << list()->model()->displayText(row, ListColumn::TrDescription);
            return out;
        };
        const auto pressOnRow = [this, view](int row, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            list()->setCurrentRow(row);
            QTest::keyClick(view, key, modifiers);
        };
        // "place/size/done" of every stored member, by date.
        const auto storedMembers = [this] {
            return firstValue(cs(), QStringLiteral("SELECT group_concat(TrGrpRow || '/' || TrGrpMDay || '/' || TrDone, ' ') "
                                                   "FROM (SELECT * FROM Transactions ORDER BY TrDate)")).toString();
        };
        // Answers the modal group question that the next key opens: an option and Delete, or Cancel.
        const auto answerGroupErase = [this](const QString &control) {
            QTimer::singleShot(0, this, [control] {
                auto *dialog = qobject_cast<DeleteFromGroupDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                if (auto *option = dialog->findChild<QRadioButton *>(control)) {
                    option->setChecked(true);
                    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("confirmButton")), Qt::LeftButton);
                } else {
                    QTest::mouseClick(dialog->findChild<QPushButton *>(control), Qt::LeftButton);
                }
            });
        };
        // F5 in the empty list opens the new-deadline window.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F5);
        auto *form = m_window->findChild<NewDeadlineWindow *>();
        QVERIFY(form && form->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(form));
        const auto typeInto = [form](const char *box, const QString &text) {
            auto *field = form->findChild<QLineEdit *>(QLatin1String(box));
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, text);
        };
        auto *type = form->findChild<QComboBox *>(QStringLiteral("typeCombo"));
        type->setFocus();
        QTest::keyClick(type, Qt::Key_End);   // credit
        typeInto("descriptionBox", QStringLiteral("Rent"));
        typeInto("amountBox", QStringLiteral("850.5"));
        QTest::mouseClick(form->findChild<QRadioButton *>(QStringLiteral("recurringOption")), Qt::LeftButton);
        form->findChild<DateBox *>(QStringLiteral("firstDate"))->setDate(QDate(2027, 1, 31));
        typeInto("countBox", QStringLiteral("12"));
        auto *cadence = form->findChild<QComboBox *>(QStringLiteral("cadenceCombo"));
        cadence->setCurrentIndex(cadence->findText(Texts::text(1153)));   // monthly
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("saveButton")), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QVERIFY(m_session->prompts().shown().isEmpty());

        // Twelve members, month ends kept (28/02, 30/04), numbered by date.
        QStringList expected, members;
        for (int k = 1; k <= 12; ++k) {
            expected << QStringLiteral("Rent %1 of 12").arg(k);
            members << QStringLiteral("%1/12/%2").arg(k).arg(k == 3 ? 1 : 0);
        }
        QCOMPARE(shown(), expected);
        // The first member is the list's current row, ready for Enter.
        QCOMPARE(list()->currentRow(), rowOf(QStringLiteral("Rent"), 1));
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT Min(TrDate) FROM Transactions")).toDate(), QDate(2027, 1, 31));
        QCOMPARE(firstValue(cs(), QStringLiteral("SELECT TrBalance FROM Transactions WHERE TrDate='2027-02-28'")).toLongLong(),
                 qlonglong(8505000));

        // Ctrl+3: grouped by month, each month totalled.
        pressOnRow(2, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(m_session->session().display().groupOption, 2);
        QStringList monthCaptions;
        for (int row = 1; row <= list()->rowCount(); ++row)
            if (list()->isGroupRow(row) && list()->model()->groupLevel(row) == 2)
                monthCaptions << list()->model()->groupCaption(row);
        QCOMPARE(monthCaptions.size(), 12);
        QVERIFY2(monthCaptions.first().startsWith(QStringLiteral(" January 2027 [")), qPrintable(monthCaptions.first()));

        // Space closes the third payment; Del on the fifth, cancelled, leaves all twelve.
        pressOnRow(rowOf(QStringLiteral("Rent"), 3), Qt::Key_Space);
        answerGroupErase(QStringLiteral("cancelButton"));
        pressOnRow(rowOf(QStringLiteral("Rent"), 5), Qt::Key_Delete);
        QCOMPARE(storedMembers(), members.join(u' '));

        // Del on the fifth, "only this one": eleven left, renumbered 1 to 11.
        answerGroupErase(QStringLiteral("firstOption"));
        pressOnRow(rowOf(QStringLiteral("Rent"), 5), Qt::Key_Delete);
        members.clear();
        for (int k = 1; k <= 11; ++k)
            members << QStringLiteral("%1/11/%2").arg(k).arg(k == 3 ? 1 : 0);
        QCOMPARE(storedMembers(), members.join(u' '));
        QVERIFY(shown().contains(QStringLiteral("Rent 11 of 11")));
        QVERIFY(!shown().contains(QStringLiteral("Rent 12 of 12")));

        // Del again, "the whole group": nothing is left and the start panel returns.
        answerGroupErase(QStringLiteral("secondOption"));
        pressOnRow(rowOf(QStringLiteral("Rent"), 2), Qt::Key_Delete);
        QCOMPARE(storedMembers(), QString());
        QCOMPARE(list()->rowCount(), 0);
    }

private:
    int stored(const SettingsStore::Integer &setting) { return m_session->settings().integer(setting.name, -1); }
    void store(const SettingsStore::Integer &setting, int value) { m_session->settings().setInteger(setting, value); }
};


QTEST_MAIN(tst_MainWindowLayout)
#include "tst_MainWindowLayout.moc"
