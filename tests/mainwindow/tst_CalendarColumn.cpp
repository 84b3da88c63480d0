#include "about/AboutDialog.h"
#include "about/HelpWindow.h"
#include "mainwindow/CalendarColumn.h"
#include "mainwindow/UpcomingPanel.h"
#include "platform/DesktopUrls.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/grid/GridView.h"

#include "MainWindowFixture.h"
#include "../support/HeardEvents.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextBrowser>

#include <memory>

// The main window's calendar column over a real database: the bold days, the
// range that fills the upcoming panel and view 7, the panel's click, the status
// bar's due picture, the calendar's keys; and help and about, which leave the
// program through the desktop.
class tst_CalendarColumn final : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        // A Wednesday, in a locale whose weeks start on Monday.
        start(QDate(2024, 3, 13), QLocale(QLocale::English, QLocale::UnitedKingdom));
        m_session->session().setHelpFile(QDir(programFolder()).filePath(QStringLiteral("eng_help.html")));
        m_opened.clear();
        m_desktopOpens = true;
        DesktopUrls::setOpener([this](const QUrl &url) {
            m_opened << url;
            return m_desktopOpens;
        });

        add(1, false, QDate(2024, 3, 11), QStringLiteral("Monday"));
        add(1, false, QDate(2024, 3, 15), QStringLiteral("Rent"), 4, 3, 12);
        add(1, false, QDate(2024, 3, 17), QStringLiteral("Sunday"));
        add(1, true, QDate(2024, 3, 14), QStringLiteral("Closed"));
        add(2, false, QDate(2024, 3, 12), QStringLiteral("Other sheet"));
        add(1, false, QDate(2024, 2, 27), QStringLiteral("February"));
        add(1, false, QDate(2024, 3, 18), QStringLiteral("Next week"));
    }

    void cleanup()
    {
        stop();
        DesktopUrls::setOpener({});
        QLocale::setDefault(QLocale::c());
    }

    void busyDaysAreOpenDeadlinesOfTheSheet()
    {
        open();
        MonthCalendar *calendar = m_window->calendarColumn()->calendar();
        // Which days are busy is the query's, tested beside it; the window asks it for every day on show.
        QVERIFY(calendar->isDayBusy(QDate(2024, 2, 27)));
        QVERIFY(calendar->isDayBusy(QDate(2024, 3, 11)));

        // A deadline saved elsewhere shows after the refresh, and so does a closed one's day going plain.
        add(1, false, QDate(2024, 3, 20), QStringLiteral("Added"));
        runSql(cs(), QStringLiteral("UPDATE Transactions SET TrDone=1 WHERE TrDescription='Monday'"));
        m_window->calendarColumn()->markBusyDays();
        QVERIFY(calendar->isDayBusy(QDate(2024, 3, 20)));
        QVERIFY(!calendar->isDayBusy(QDate(2024, 3, 11)));

        // Paging to other months asks the window for their days.
        add(1, false, QDate(2025, 1, 9), QStringLiteral("Next year"));
        calendar->showMonth(QDate(2025, 1, 1));
        QVERIFY(calendar->isDayBusy(QDate(2025, 1, 9)));
        QVERIFY(!calendar->isDayBusy(QDate(2025, 1, 10)));
    }

    void rangeFillsPanelAndViewAndItsClickChooses()
    {
        // How a drag or a shift+click makes a range is the calendar's own, tested beside it.
        open();
        views()->setCurrentIndex(CalendarView);
        QCOMPARE(upcoming(), QStringList());   // today has nothing open
        MonthCalendar *calendar = m_window->calendarColumn()->calendar();
        QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->dayRect(QDate(2024, 3, 17)).center());
        QTest::mouseClick(calendar, Qt::LeftButton, Qt::ShiftModifier, calendar->dayRect(QDate(2024, 3, 11)).center());
        QCOMPARE(m_window->calendarColumn()->selectionStart(), QDate(2024, 3, 11));
        QCOMPARE(m_window->calendarColumn()->selectionEnd(), QDate(2024, 3, 17));
        // Latest first; a recurring deadline carries its place, with a bare slash.
        QCOMPARE(upcoming(), (QStringList {"Sunday", "Rent 3/12", "Monday"}));
        QStringList listed = listedDescriptions();
        listed.sort();
        QCOMPARE(listed, (QStringList {"Closed", "Monday", "Rent", "Sunday"}));

        // Without counters the description stands alone.
        m_session->session().display().showGroupCounters = false;
        m_window->upcomingPanel()->showDays(m_window->calendarColumn()->selectionStart(), m_window->calendarColumn()->selectionEnd());
        QCOMPARE(upcoming(), (QStringList {"Sunday", "Rent", "Monday"}));

        // A click in the panel makes that deadline the list's current one.
        auto *view = m_window->upcomingPanel()->list()->findChild<QAbstractItemView *>();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
        DataGrid *list = m_window->listPanel()->list();
        QCOMPARE(list->value(list->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Rent"));
        QVERIFY(list->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == list);

        // An empty panel only hands the focus to the list.
        views()->setCurrentIndex(0);
        calendar->setCurrentDate(QDate(2024, 3, 13));
        calendar->setFocus();
        list->setCurrentRow(1);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(list->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == list);
    }

    void duePictureFollowsTheWarningDays()
    {
        const struct { const char *row; int warnDays; bool overdue; QString state; } cases[] = {
            {"off, whatever is overdue", 999, true, QString()},
            {"two days ahead reach Friday", 2, false, QStringLiteral("due")},
            {"today only, nothing today", 0, false, QStringLiteral("none")},
        };
        for (const auto &[row, warnDays, overdue, state] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            cleanup();   // each row on a fresh database
            init();
            runSql(cs(),
                   QStringLiteral("UPDATE Transactions SET TrDone=1 WHERE TrDate<'2024-03-13' AND TrDbId=1"));
            if (overdue)
                add(1, false, QDate(2024, 3, 1), QStringLiteral("Overdue"));
            m_session->settings().setInteger(Setting::WarnDays, warnDays);
            open();
            auto *picture = m_window->findChild<QLabel *>(QStringLiteral("statusDue"));
            QCOMPARE(picture->property("dueState").toString(), state);
            QCOMPARE(picture->pixmap().isNull(), state.isEmpty());
        }
    }

    void calendarKeysAndFocusTexts()
    {
        open();
        MonthCalendar *calendar = m_window->calendarColumn()->calendar();
        auto *help = m_window->findChild<QLabel *>(QStringLiteral("statusHelp"));
        calendar->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(help->text(), QStringLiteral("Use mouse to select period."));
        QTest::keyClick(calendar, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(m_session->session().display().groupOption, 1);
        QTest::keyClick(calendar, Qt::Key_4, Qt::ControlModifier);
        QCOMPARE(m_session->session().display().groupOption, 3);
        // Shift and the arrows still grow the range.
        QTest::keyClick(calendar, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(calendar, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(m_window->calendarColumn()->selectionEnd(), QDate(2024, 3, 15));
        QCOMPARE(upcoming(), QStringList {"Rent 3/12"});
        m_window->listPanel()->list()->focusList();
        QTRY_VERIFY(help->text() != QStringLiteral("Use mouse to select period."));
    }

    // How the list's focus follows the keys is the grid's own; here, what the main
    // list says of a row's state, read in every cell and again after Space closes it.
    void listReadsTheCurrentRowAndItsState()
    {
        open();
        views()->setCurrentIndex(0);   // every deadline
        m_window->listPanel()->chooseLayout(2);
        DataGrid *list = this->list();
        list->focusList();
        HeardEvents heard;
        list->setCurrentRow(rowOf(QStringLiteral("Rent")));
        QVERIFY(HeardEvents::last(QAccessible::Focus).description.endsWith(QStringLiteral(", 3 of 12")));
        list->setCurrentRow(rowOf(QStringLiteral("Monday")));
        QCOMPARE(HeardEvents::last(QAccessible::Focus).description, QStringLiteral("Debit, overdue"));
        HeardEvents::events().clear();
        QTest::keyClick(list->view(), Qt::Key_Space);
        QCOMPARE(list->value(list->currentRow(), ListColumn::TrDescription).toString(), QStringLiteral("Monday"));
        const HeardEvents::Heard changed = HeardEvents::last(QAccessible::NameChanged);
        QCOMPARE(changed.row, list->currentRow() - 1);
        QCOMPARE(changed.description, QStringLiteral("Debit, closed"));
        QCOMPARE(HeardEvents::last(QAccessible::DescriptionChanged).description, QStringLiteral("Debit, closed"));
        QCOMPARE(HeardEvents::warnings(), QStringList());
    }

    void helpAndAboutLeaveThroughTheDesktop()
    {
        open();
        auto *helpAction = m_window->findChild<QAction *>(QStringLiteral("helpAction"));
        helpAction->trigger();
        QCOMPARE(m_opened, QList<QUrl> {QUrl::fromLocalFile(m_session->session().helpFile())});
        QVERIFY(!m_window->findChild<HelpWindow *>());

        m_desktopOpens = false;
        helpAction->trigger();
        auto *window = m_window->findChild<HelpWindow *>();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->browser()->source(), QUrl::fromLocalFile(m_session->session().helpFile()));
        QVERIFY(!window->browser()->toPlainText().trimmed().isEmpty());
        // A screen reader meets a window of its own, titled by the page; Esc and
        // Ctrl+W close it and leave the main window open.
        QVERIFY(window->isWindow());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(window);
        QVERIFY(accessible->role() == QAccessible::Dialog || accessible->role() == QAccessible::Window);
        QCOMPARE(accessible->text(QAccessible::Name), window->browser()->documentTitle());
        QVERIFY(window->browser()->documentTitle().contains(QLatin1String("Help")));
        for (const QKeyCombination key : {QKeyCombination(Qt::ControlModifier, Qt::Key_W), QKeyCombination(Qt::Key_Escape)}) {
            window->show();
            window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), window);
            QTest::keyClick(window->browser(), key.key(), key.keyboardModifiers());
            QVERIFY2(!window->isVisible(), qPrintable(QKeySequence(key).toString()));
            QVERIFY(m_window->isVisible());
        }

        // The about window's addresses go to the desktop too.
        m_opened.clear();
        m_desktopOpens = true;
        m_window->findChild<QAction *>(QStringLiteral("aboutAction"))->trigger();
        auto *about = m_window->findChild<AboutDialog *>();
        QVERIFY(about && about->isVisible());
        emit about->findChild<QLabel *>(QStringLiteral("aboutWeb"))->linkActivated(AboutDialog::WebAddress);
        emit about->findChild<QLabel *>(QStringLiteral("aboutSupport"))->linkActivated(AboutDialog::SupportAddress);
        QCOMPARE(m_opened, (QList<QUrl> {QUrl(AboutDialog::WebAddress), QUrl(AboutDialog::SupportAddress)}));
    }

private:
    void open() { MainWindowFixture::open(QSize(1560, 960)); }
    // The upcoming panel's rows as shown.
    QStringList upcoming() const
    {
        QStringList shown;
        DataGrid *panel = m_window->upcomingPanel()->list();
        for (int row = 1; row <= panel->rowCount(); ++row)
            shown << panel->model()->data(panel->model()->index(row - 1, 0)).toString();
        return shown;
    }
    void add(int sheet, bool done, const QDate &date, const QString &description, int grpId = 0, int grpRow = 0,
             int grpSize = 0)
    {
        insert(sheet, -1, done, date, description, 0, 25, grpId, grpRow, grpSize);
    }

    QList<QUrl> m_opened;
    bool m_desktopOpens = true;
};


QTEST_MAIN(tst_CalendarColumn)
#include "tst_CalendarColumn.moc"
