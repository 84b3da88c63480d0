#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/calendar/MonthCalendarState.h"
#include "startup/Language.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <tuple>

Q_DECLARE_METATYPE(Prompt::Buttons)
Q_DECLARE_METATYPE(Prompt::Default)
Q_DECLARE_METATYPE(Prompt::Answer)

namespace {

QAccessibleInterface *accessibleChild(QAccessibleInterface *parent, QAccessible::Role role, const QString &name)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (child && child->role() == role && child->text(QAccessible::Name) == name)
            return child;
    }
    return nullptr;
}

} // namespace

using Move = MonthCalendarState::Move;

// The captions the caller passes for the message box's buttons Qt has no text for.
const QString Quit = QStringLiteral("Esci");
const QString Choose = QStringLiteral("Scegli un'altra cartella…");

// The calendar's rules on dates, then the widget driven by mouse and keys; and the
// real message box behind the prompts layer: what Enter, Esc and each named button
// answer. The scripted prompts take their Enter answer from the same rule.
class tst_MonthCalendar final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Clock::pin(QDate(2024, 3, 14));
        m_calendar = new MonthCalendar;
        m_calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        m_calendar->resize(m_calendar->sizeForMonths(2, 1));
        m_calendar->setCurrentDate(QDate(2024, 3, 14));
        m_calendar->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_calendar));
    }

    void cleanup()
    {
        delete m_calendar;
        Clock::pin(QDate());
    }

    void showsSixWeeksFromTheWeekBeforeTheFirst_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<Qt::DayOfWeek>("firstDay");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");

        // Months whose 1st falls on every weekday, for Monday- and Sunday-first weeks.
        QTest::newRow("Mon 1st, Monday weeks") << QDate(2024, 1, 1) << Qt::Monday << QDate(2023, 12, 25) << QDate(2024, 2, 4);
        QTest::newRow("Mon 1st, Sunday weeks") << QDate(2024, 1, 1) << Qt::Sunday << QDate(2023, 12, 31) << QDate(2024, 2, 10);
        QTest::newRow("Sun 1st, Monday weeks") << QDate(2024, 9, 1) << Qt::Monday << QDate(2024, 8, 26) << QDate(2024, 10, 6);
        QTest::newRow("Sun 1st, Sunday weeks") << QDate(2024, 9, 1) << Qt::Sunday << QDate(2024, 8, 25) << QDate(2024, 10, 5);
        QTest::newRow("Saturday weeks") << QDate(2024, 6, 15) << Qt::Saturday << QDate(2024, 5, 25) << QDate(2024, 7, 5);
    }

    void showsSixWeeksFromTheWeekBeforeTheFirst()
    {
        QFETCH(QDate, month);
        QFETCH(Qt::DayOfWeek, firstDay);
        QFETCH(QDate, first);
        QFETCH(QDate, last);

        MonthCalendarState state(month, firstDay);
        QCOMPARE(state.dayAt(0, 0), first);
        QCOMPARE(state.dayAt(0, 41), last);
        QCOMPARE(state.firstVisibleDate(), first);
        QCOMPARE(state.lastVisibleDate(), last);
        QCOMPARE(state.cellOf(0, month), int(first.daysTo(month)));
        QCOMPARE(state.cellOf(0, last.addDays(1)), -1);
    }

    void keysMoveTheCurrentDay_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");

        const QDate day(2024, 2, 15);
        // The plain arrows, right to left too, are pressed on the calendar itself.
        QTest::newRow("right, right to left") << int(Qt::Key_Right) << Qt::RightToLeft << day << QDate(2024, 2, 14);
        QTest::newRow("down over the month's end") << int(Qt::Key_Down) << Qt::LeftToRight << QDate(2024, 2, 26) << QDate(2024, 3, 4);
        QTest::newRow("home") << int(Qt::Key_Home) << Qt::LeftToRight << day << QDate(2024, 2, 1);
        QTest::newRow("end of a leap February") << int(Qt::Key_End) << Qt::LeftToRight << day << QDate(2024, 2, 29);
        QTest::newRow("page down from the 31st") << int(Qt::Key_PageDown) << Qt::LeftToRight << QDate(2024, 1, 31) << QDate(2024, 2, 29);
        QTest::newRow("page up over the year") << int(Qt::Key_PageUp) << Qt::LeftToRight << QDate(2024, 1, 10) << QDate(2023, 12, 10);
        QTest::newRow("left at the first day") << int(Qt::Key_Left) << Qt::LeftToRight << QDate(100, 1, 1) << QDate(100, 1, 1);
        QTest::newRow("page up in the first month") << int(Qt::Key_PageUp) << Qt::LeftToRight << QDate(100, 1, 20) << QDate(100, 1, 1);
        QTest::newRow("down in the last week") << int(Qt::Key_Down) << Qt::LeftToRight << QDate(9999, 12, 28) << QDate(9999, 12, 31);
    }

    void keysMoveTheCurrentDay()
    {
        QFETCH(int, key);
        QFETCH(Qt::LayoutDirection, direction);
        QFETCH(QDate, from);
        QFETCH(QDate, to);

        const auto move = MonthCalendarState::moveForKey(key, direction);
        QVERIFY(move);
        QCOMPARE(MonthCalendarState::moved(from, *move), to);
        QVERIFY(!MonthCalendarState::moveForKey(Qt::Key_Space, direction));
    }

    void keysScrollJustEnoughToShowTheCurrentDay()
    {
        MonthCalendarState state(QDate(2024, 1, 15));
        state.setMonthCount(3);
        QCOMPARE(state.firstMonth(), QDate(2024, 1, 1));

        state.move(Move::NextMonth, false);
        state.move(Move::NextMonth, false);
        QCOMPARE(state.firstMonth(), QDate(2024, 1, 1));   // March still shows
        state.move(Move::NextMonth, false);
        QCOMPARE(state.firstMonth(), QDate(2024, 2, 1));   // April comes in at the end
        state.move(Move::PreviousMonth, false);
        QCOMPARE(state.firstMonth(), QDate(2024, 2, 1));

        // A click on a next month's day shown dimmed selects it where it is.
        state.pick(QDate(2024, 5, 3), false);
        QCOMPARE(state.firstMonth(), QDate(2024, 2, 1));

        // Fewer months: the current day's month stays in view.
        state.setSelection(QDate(2024, 4, 1), QDate(2024, 4, 9));
        state.setMonthCount(1);
        QCOMPARE(state.firstMonth(), QDate(2024, 4, 1));
    }

    void rangeEndsStayReachable()
    {
        MonthCalendarState state(QDate(50, 6, 1));
        QCOMPARE(state.currentDate(), QDate(100, 1, 1));
        state.setMonthCount(6);
        state.scrollMonths(-3);
        QCOMPARE(state.firstMonth(), QDate(100, 1, 1));
        QVERIFY(state.firstVisibleDate().isValid());

        state.setSelection(QDate(9999, 12, 25), QDate(12000, 1, 1));
        QCOMPARE(state.selectionEnd(), QDate(9999, 12, 31));
        QCOMPARE(state.firstMonth(), QDate(9999, 7, 1));   // six months ending with December 9999
        state.scrollMonths(5);
        QCOMPARE(state.firstMonth(), QDate(9999, 7, 1));
        QCOMPARE(state.lastVisibleDate().year(), 10000);
        QCOMPARE(state.visibleDayCount(), int(state.firstVisibleDate().daysTo(state.lastVisibleDate())) + 1);

        // A big jump back lands on whole months all the way.
        state.scrollMonths(-(9999 - 100) * 12);
        QCOMPARE(state.firstMonth(), QDate(100, 7, 1));
    }

    void firstDayOfWeekFollowsTheLocale()
    {
        m_calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(m_calendar->firstVisibleDate(), QDate(2024, 2, 25));   // a Sunday
        m_calendar->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(m_calendar->firstVisibleDate(), QDate(2024, 2, 26));   // a Monday

        m_calendar->setFirstDayOfWeek(Qt::Saturday);
        m_calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(m_calendar->firstDayOfWeek(), Qt::Saturday);
        QCOMPARE(m_calendar->firstVisibleDate(), QDate(2024, 2, 24));
    }

    void mouseSelectsEveryDayBetween_data()
    {
        QTest::addColumn<bool>("drag");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");

        QTest::newRow("drag backward") << true << QDate(2024, 3, 19) << QDate(2024, 3, 5);
        QTest::newRow("drag into the next month shown") << true << QDate(2024, 3, 28) << QDate(2024, 4, 10);
        QTest::newRow("drag back onto a dimmed day") << true << QDate(2024, 3, 6) << QDate(2024, 2, 27);
        QTest::newRow("shift+click backward") << false << QDate(2024, 4, 10) << QDate(2024, 3, 28);
    }

    void mouseSelectsEveryDayBetween()
    {
        QFETCH(bool, drag);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QSignalSpy changes(m_calendar, &MonthCalendar::selectionChanged);

        if (drag) {
            QTest::mousePress(m_calendar, Qt::LeftButton, {}, m_calendar->dayRect(from).center());
            // Through every day on the way, as a hand would.
            const int step = from < to ? 1 : -1;
            for (QDate day = from; day != to.addDays(step); day = day.addDays(step))
                QTest::mouseMove(m_calendar, m_calendar->dayRect(day).center());
            QCOMPARE(changes.count(), 0);
            QTest::mouseRelease(m_calendar, Qt::LeftButton, {}, m_calendar->dayRect(to).center());
            QCOMPARE(changes.count(), 1);
        } else {
            click(from);
            click(to, Qt::ShiftModifier);
            QCOMPARE(changes.count(), 2);
        }

        const QDate first = qMin(from, to);
        const QDate last = qMax(from, to);
        QCOMPARE(changes.last().at(0).toDate(), first);
        QCOMPARE(changes.last().at(1).toDate(), last);
        QCOMPARE(m_calendar->selectionStart(), first);
        QCOMPARE(m_calendar->selectionEnd(), last);
        QCOMPARE(m_calendar->currentDate(), to);
        for (QDate day = first.addDays(-1); day <= last.addDays(1); day = day.addDays(1))
            QCOMPARE(m_calendar->state().isSelected(day), day >= first && day <= last);
    }

    void shiftArrowsExtendTheRange()
    {
        QSignalSpy changes(m_calendar, &MonthCalendar::selectionChanged);
        QTest::keyClick(m_calendar, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(m_calendar, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(m_calendar->selectionStart(), QDate(2024, 3, 14));
        QCOMPARE(m_calendar->selectionEnd(), QDate(2024, 3, 22));
        QCOMPARE(changes.count(), 2);

        QTest::keyClick(m_calendar, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(m_calendar, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(m_calendar->selectionStart(), QDate(2024, 3, 8));
        QCOMPARE(m_calendar->selectionEnd(), QDate(2024, 3, 14));

        // Right to left, the left arrow goes forward in time.
        m_calendar->setLayoutDirection(Qt::RightToLeft);
        QTest::keyClick(m_calendar, Qt::Key_Left);
        QCOMPARE(m_calendar->selectionStart(), QDate(2024, 3, 9));
        QCOMPARE(m_calendar->selectionEnd(), QDate(2024, 3, 9));

        // The window may take a key before the calendar sees it.
        connect(m_calendar, &MonthCalendar::keyDown, this,
                [](int key, Qt::KeyboardModifiers modifiers, bool *consumed) {
                    *consumed = key == Qt::Key_End && modifiers == Qt::ControlModifier;
                });
        QTest::keyClick(m_calendar, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(m_calendar->currentDate(), QDate(2024, 3, 9));
        QTest::keyClick(m_calendar, Qt::Key_End);
        QCOMPARE(m_calendar->currentDate(), QDate(2024, 3, 31));
    }

    // Busy days of the neighbouring months shown dimmed are bold too; the request
    // for busy days covers every day shown.
    void busyDaysCoverTheVisibleRun()
    {
        const QDate dimmed(2024, 2, 27);   // shown before March
        const QImage plain = m_calendar->grab(m_calendar->dayRect(dimmed)).toImage();
        m_calendar->setBusyDays({dimmed});
        QVERIFY(m_calendar->grab(m_calendar->dayRect(dimmed)).toImage() != plain);
        m_calendar->setDayBusy(dimmed, false);
        QCOMPARE(m_calendar->grab(m_calendar->dayRect(dimmed)).toImage(), plain);

        QSignalSpy requests(m_calendar, &MonthCalendar::busyDaysRequested);
        m_calendar->resize(m_calendar->sizeForMonths(3, 2));
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.last().at(0).toDate(), QDate(2024, 2, 26));   // before March 2024
        QCOMPARE(requests.last().at(1).toInt(), 28 * 7);                 // through the week after August
        QCOMPARE(m_calendar->lastVisibleDate(), QDate(2024, 9, 8));

        // Keys that stay within the months shown ask for nothing.
        QTest::keyClick(m_calendar, Qt::Key_Right);
        QCOMPARE(requests.count(), 1);

        m_calendar->setBusyDays({QDate(2024, 2, 27), QDate(2024, 9, 8)});
        QToolButton *next = nullptr;
        for (QToolButton *button : m_calendar->findChildren<QToolButton *>()) {
            if (button->accessibleName() == m_calendar->texts().nextMonth)
                next = button;
        }
        QVERIFY(next);
        next->click();
        QCOMPARE(requests.count(), 2);
        QCOMPARE(requests.last().at(0).toDate(), QDate(2024, 3, 25));
        QCOMPARE(requests.last().at(0).toDate().addDays(requests.last().at(1).toInt() - 1), m_calendar->lastVisibleDate());
        QVERIFY(!m_calendar->isDayBusy(QDate(2024, 2, 27)));   // gone from view, so forgotten, while the days kept stay
        QVERIFY(m_calendar->isDayBusy(QDate(2024, 9, 8)));
        QCOMPARE(m_calendar->selectionStart(), QDate(2024, 3, 15));   // paging leaves the selection alone
    }

    void monthsFillTheSize()
    {
        // Months of 200 x 180 with gaps of 16 across and 8 down; never fewer than one.
        for (const auto &[available, fit] : {std::pair{QSize(120, 90), QSize(1, 1)}, std::pair{QSize(415, 367), QSize(1, 1)},
                                             std::pair{QSize(250, 1000), QSize(1, 5)}})
            QCOMPARE(MonthCalendarState::monthsThatFit(available, QSize(200, 180), QSize(16, 8)), fit);
        // Exactly the size for three by two holds them; a pixel less holds two by one.
        for (const auto &[extra, across, down] : {std::tuple{QSize(0, 0), 3, 2}, std::tuple{QSize(-1, -1), 2, 1}}) {
            m_calendar->resize(m_calendar->sizeForMonths(3, 2) + extra);
            QCOMPARE(m_calendar->monthsAcross(), across);
            QCOMPARE(m_calendar->monthsDown(), down);
            QCOMPARE(m_calendar->state().monthCount(), across * down);
            QCOMPARE(m_calendar->state().firstMonth(), QDate(2024, 3, 1));
            // The months tile the widget without overlapping.
            QVERIFY(m_calendar->contentsRect().contains(m_calendar->monthRect(across * down - 1)));
            QVERIFY(m_calendar->monthRect(0).right() < m_calendar->monthRect(1).left());
        }
    }

    void screenReadersHearFullDates()
    {
        m_calendar->setBusyDays({QDate(2024, 2, 27)});
        click(QDate(2024, 3, 5));
        click(QDate(2024, 3, 7), Qt::ShiftModifier);

        QAccessibleInterface *calendar = QAccessible::queryAccessibleInterface(m_calendar);
        QVERIFY(calendar);
        const MonthCalendarTexts texts = m_calendar->texts();
        QVERIFY(accessibleChild(calendar, QAccessible::Button, texts.previousMonth));
        QVERIFY(accessibleChild(calendar, QAccessible::Button, texts.nextMonth));
        QAccessibleInterface *march = accessibleChild(calendar, QAccessible::Table, QStringLiteral("March 2024"));
        QVERIFY(march);
        QVERIFY(accessibleChild(calendar, QAccessible::Table, QStringLiteral("April 2024")));
        QCOMPARE(march->childCount(), 42);
        QCOMPARE(march->tableInterface()->selectedCellCount(), 3);

        QAccessibleInterface *busy = march->child(1);   // 27 February, Monday-first
        QCOMPARE(busy->role(), QAccessible::Cell);
        // The day's state follows the date in its name, where a screen reader speaks it.
        QCOMPARE(busy->text(QAccessible::Name), "Tuesday, 27 February 2024, " + busy->text(QAccessible::Description));
        QVERIFY(busy->text(QAccessible::Description).contains(texts.busyDay));
        QVERIFY(busy->text(QAccessible::Description).contains(texts.otherMonthDay));
        QVERIFY(!busy->state().selected);
        QCOMPARE(calendar->indexOfChild(march), calendar->childCount() - 2);
        QCOMPARE(march->indexOfChild(busy), 1);

        QAccessibleInterface *selected = march->tableInterface()->cellAt(1, 2);   // 6 March
        QCOMPARE(selected->text(QAccessible::Name), "Wednesday, 6 March 2024, " + texts.selectedDay);
        QVERIFY(selected->state().selected);
        QVERIFY(!selected->text(QAccessible::Description).contains(texts.otherMonthDay));
        QCOMPARE(calendar->childAt(selected->rect().center().x(), selected->rect().center().y()), march);
        QCOMPARE(march->childAt(selected->rect().center().x(), selected->rect().center().y()), selected);

        // With the keyboard focus, the current day is the focused cell and follows the keys.
        QApplication::setActiveWindow(m_calendar);
        m_calendar->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(m_calendar));
        QTest::keyClick(m_calendar, Qt::Key_Down);
        QAccessibleInterface *focused = calendar->focusChild();
        QVERIFY(focused);
        QCOMPARE(focused->text(QAccessible::Name), "Thursday, 14 March 2024, " + texts.today + ", " + texts.selectedDay);
        QVERIFY(focused->state().focused);
        QVERIFY(!march->tableInterface()->cellAt(2, 2)->state().focused);   // 13 March
    }

    void dateRangeEnds()
    {
        m_calendar->resize(m_calendar->sizeForMonths(3, 2));
        m_calendar->setCurrentDate(QDate(100, 1, 1));
        QTest::keyClick(m_calendar, Qt::Key_PageUp);
        QTest::keyClick(m_calendar, Qt::Key_Left);
        QCOMPARE(m_calendar->currentDate(), QDate(100, 1, 1));
        m_calendar->showPreviousMonth();
        QCOMPARE(m_calendar->state().firstMonth(), QDate(100, 1, 1));
        // Days before the first cannot be picked.
        click(QDate(99, 12, 31));
        QCOMPARE(m_calendar->selectionStart(), QDate(100, 1, 1));
        QVERIFY(!m_calendar->grab().isNull());

        m_calendar->setCurrentDate(QDate(9999, 12, 31));
        QTest::keyClick(m_calendar, Qt::Key_PageDown);
        QTest::keyClick(m_calendar, Qt::Key_Right, Qt::ShiftModifier);
        m_calendar->showNextMonth();
        QCOMPARE(m_calendar->selectionEnd(), QDate(9999, 12, 31));
        QCOMPARE(m_calendar->state().firstMonth(), QDate(9999, 7, 1));
        click(QDate(10000, 1, 2));
        QCOMPARE(m_calendar->selectionStart(), QDate(9999, 12, 31));
        QVERIFY(!m_calendar->grab().isNull());
        QCOMPARE(QAccessible::queryAccessibleInterface(m_calendar)->childCount(), 2 + 6);
    }

    void keysAndButtonsAnswer_data()
    {
        QTest::addColumn<Prompt::Buttons>("buttons");
        QTest::addColumn<Prompt::Default>("defaultButton");
        QTest::addColumn<int>("key");   // 0: click the button named "press"
        QTest::addColumn<QString>("press");
        QTest::addColumn<Prompt::Answer>("expected");
        using B = Prompt::Buttons;
        using D = Prompt::Default;
        using A = Prompt::Answer;
        QTest::newRow("a deletion: Enter keeps") << B::YesNo << D::Safe << int(Qt::Key_Return) << QString() << A::No;
        QTest::newRow("a deletion: Esc keeps") << B::YesNo << D::Safe << int(Qt::Key_Escape) << QString() << A::No;
        QTest::newRow("a plain question: Enter agrees") << B::YesNo << D::First << int(Qt::Key_Return) << QString()
                                                        << A::Yes;
        QTest::newRow("yes/no/cancel: Esc cancels") << B::YesNoCancel << D::First << int(Qt::Key_Escape) << QString()
                                                    << A::Cancel;
        QTest::newRow("missing folder: Enter retries") << B::RetryChooseQuit << D::First << int(Qt::Key_Return)
                                                       << QString() << A::Retry;
        QTest::newRow("missing folder: Esc quits") << B::RetryChooseQuit << D::First << int(Qt::Key_Escape) << QString()
                                                   << A::Cancel;
        QTest::newRow("missing folder: choose") << B::RetryChooseQuit << D::First << 0 << Choose << A::Choose;
        QTest::newRow("missing folder: quit") << B::RetryChooseQuit << D::First << 0 << Quit << A::Cancel;
    }

    void keysAndButtonsAnswer()
    {
        QFETCH(Prompt::Buttons, buttons);
        QFETCH(Prompt::Default, defaultButton);
        QFETCH(int, key);
        QFETCH(QString, press);
        QFETCH(Prompt::Answer, expected);

        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (key) {
                QTest::keyClick(box, Qt::Key(key));
            } else {
                for (QAbstractButton *button : box->buttons()) {
                    if (button->text() == press)
                        button->click();
                }
            }
            answered = true;
        });
        WidgetPrompts prompts({.quit = Quit, .chooseFolder = Choose});
        const Prompt::Answer answer = prompts.message(QStringLiteral("Delete?"), QStringLiteral("Orvel 2"),
                                                      Prompt::Icon::Question, buttons, defaultButton);
        QVERIFY(answered);
        QCOMPARE(answer, expected);

        Prompt::ScriptedPrompts scripted;
        scripted.queueEnter();
        const Prompt::Answer enter = Prompt::message(QStringLiteral("Delete?"), QStringLiteral("Orvel 2"),
                                                     Prompt::Icon::Question, buttons, defaultButton);
        QCOMPARE(scripted.shown().constLast().enterAnswer, enter);
        if (key == Qt::Key_Return)
            QCOMPARE(enter, expected);
    }

    void standardButtonsSpeakTheUsersLanguage()
    {
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton *button : box->buttons())
                shown << button->text().remove(u'&');
            box->reject();
        });
        installQtTranslation(Language::Italian);
        WidgetPrompts({}).message(QStringLiteral("Eliminare?"), QStringLiteral("Orvel 2"), Prompt::Icon::Question,
                                  Prompt::Buttons::YesNo, Prompt::Default::Safe);
        installQtTranslation(Language::English);
        shown.sort();
        QCOMPARE(shown, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));
    }

private:
    void click(const QDate &date, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect rect = m_calendar->dayRect(date);
        QVERIFY2(rect.isValid(), qPrintable(date.toString(Qt::ISODate)));
        QTest::mouseClick(m_calendar, Qt::LeftButton, modifiers, rect.center());
    }

    MonthCalendar *m_calendar = nullptr;
};

QTEST_MAIN(tst_MonthCalendar)
#include "tst_MonthCalendar.moc"
