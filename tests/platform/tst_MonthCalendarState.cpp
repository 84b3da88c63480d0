#include "platform/calendar/MonthCalendarState.h"

#include <QTest>

using Move = MonthCalendarState::Move;

class tst_MonthCalendarState final : public QObject
{
    Q_OBJECT

private slots:
    void showsSixWeeksFromTheWeekBeforeTheFirst_data();
    void showsSixWeeksFromTheWeekBeforeTheFirst();
    void keysMoveTheCurrentDay_data();
    void keysMoveTheCurrentDay();
    void rangeRunsFromAnchorToCurrentDay();
    void keysScrollJustEnoughToShowTheCurrentDay();
    void monthsThatFit_data();
    void monthsThatFit();
    void rangeEndsStayReachable();
    void busyFlagsLeaveWithTheirDays();
};

void tst_MonthCalendarState::showsSixWeeksFromTheWeekBeforeTheFirst_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<Qt::DayOfWeek>("firstDay");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");

    // Months whose 1st falls on every weekday, for Monday- and Sunday-first weeks.
    QTest::newRow("Mon 1st, Monday weeks") << QDate(2024, 1, 1) << Qt::Monday << QDate(2023, 12, 25) << QDate(2024, 2, 4);
    QTest::newRow("Mon 1st, Sunday weeks") << QDate(2024, 1, 1) << Qt::Sunday << QDate(2023, 12, 31) << QDate(2024, 2, 10);
    QTest::newRow("Thu 1st, leap February") << QDate(2024, 2, 1) << Qt::Monday << QDate(2024, 1, 29) << QDate(2024, 3, 10);
    QTest::newRow("Sun 1st, Monday weeks") << QDate(2024, 9, 1) << Qt::Monday << QDate(2024, 8, 26) << QDate(2024, 10, 6);
    QTest::newRow("Sun 1st, Sunday weeks") << QDate(2024, 9, 1) << Qt::Sunday << QDate(2024, 8, 25) << QDate(2024, 10, 5);
    QTest::newRow("Saturday weeks") << QDate(2024, 6, 15) << Qt::Saturday << QDate(2024, 5, 25) << QDate(2024, 7, 5);
}

void tst_MonthCalendarState::showsSixWeeksFromTheWeekBeforeTheFirst()
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

void tst_MonthCalendarState::keysMoveTheCurrentDay_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");

    const QDate day(2024, 2, 15);
    QTest::newRow("left") << int(Qt::Key_Left) << Qt::LeftToRight << day << QDate(2024, 2, 14);
    QTest::newRow("right") << int(Qt::Key_Right) << Qt::LeftToRight << day << QDate(2024, 2, 16);
    QTest::newRow("left, right to left") << int(Qt::Key_Left) << Qt::RightToLeft << day << QDate(2024, 2, 16);
    QTest::newRow("right, right to left") << int(Qt::Key_Right) << Qt::RightToLeft << day << QDate(2024, 2, 14);
    QTest::newRow("up") << int(Qt::Key_Up) << Qt::LeftToRight << day << QDate(2024, 2, 8);
    QTest::newRow("down over the month's end") << int(Qt::Key_Down) << Qt::LeftToRight << QDate(2024, 2, 26) << QDate(2024, 3, 4);
    QTest::newRow("home") << int(Qt::Key_Home) << Qt::LeftToRight << day << QDate(2024, 2, 1);
    QTest::newRow("end of a leap February") << int(Qt::Key_End) << Qt::LeftToRight << day << QDate(2024, 2, 29);
    QTest::newRow("page down from the 31st") << int(Qt::Key_PageDown) << Qt::LeftToRight << QDate(2024, 1, 31) << QDate(2024, 2, 29);
    QTest::newRow("page up over the year") << int(Qt::Key_PageUp) << Qt::LeftToRight << QDate(2024, 1, 10) << QDate(2023, 12, 10);
    QTest::newRow("left at the first day") << int(Qt::Key_Left) << Qt::LeftToRight << QDate(100, 1, 1) << QDate(100, 1, 1);
    QTest::newRow("page up in the first month") << int(Qt::Key_PageUp) << Qt::LeftToRight << QDate(100, 1, 20) << QDate(100, 1, 1);
    QTest::newRow("down in the last week") << int(Qt::Key_Down) << Qt::LeftToRight << QDate(9999, 12, 28) << QDate(9999, 12, 31);
}

void tst_MonthCalendarState::keysMoveTheCurrentDay()
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

void tst_MonthCalendarState::rangeRunsFromAnchorToCurrentDay()
{
    MonthCalendarState state(QDate(2024, 3, 10));
    state.pick(QDate(2024, 3, 20), true);
    QCOMPARE(state.selectionStart(), QDate(2024, 3, 10));
    QCOMPARE(state.selectionEnd(), QDate(2024, 3, 20));

    // Extending backwards past the anchor turns the range round it.
    state.pick(QDate(2024, 3, 5), true);
    QCOMPARE(state.selectionStart(), QDate(2024, 3, 5));
    QCOMPARE(state.selectionEnd(), QDate(2024, 3, 10));
    QVERIFY(state.isSelected(QDate(2024, 3, 7)));
    QVERIFY(!state.isSelected(QDate(2024, 3, 11)));

    state.move(Move::NextWeek, true);
    QCOMPARE(state.selectionStart(), QDate(2024, 3, 10));
    QCOMPARE(state.selectionEnd(), QDate(2024, 3, 12));

    // A plain move or click starts afresh.
    state.move(Move::NextDay, false);
    QCOMPARE(state.selectionStart(), QDate(2024, 3, 13));
    QCOMPARE(state.selectionEnd(), QDate(2024, 3, 13));
    state.pick(QDate(2024, 4, 2), false);
    QCOMPARE(state.anchorDate(), QDate(2024, 4, 2));
    QCOMPARE(state.selectionEnd(), QDate(2024, 4, 2));
}

void tst_MonthCalendarState::keysScrollJustEnoughToShowTheCurrentDay()
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

void tst_MonthCalendarState::monthsThatFit_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<QSize>("fit");

    // Months of 200 x 180 with gaps of 16 across and 8 down.
    QTest::newRow("less than one") << QSize(120, 90) << QSize(1, 1);
    QTest::newRow("exactly one") << QSize(200, 180) << QSize(1, 1);
    QTest::newRow("one gap short of two") << QSize(2 * 200 + 15, 2 * 180 + 7) << QSize(1, 1);
    QTest::newRow("three by two") << QSize(3 * 200 + 2 * 16, 2 * 180 + 8) << QSize(3, 2);
    QTest::newRow("tall and narrow") << QSize(250, 1000) << QSize(1, 5);
}

void tst_MonthCalendarState::monthsThatFit()
{
    QFETCH(QSize, available);
    QFETCH(QSize, fit);
    QCOMPARE(MonthCalendarState::monthsThatFit(available, QSize(200, 180), QSize(16, 8)), fit);
}

void tst_MonthCalendarState::rangeEndsStayReachable()
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

void tst_MonthCalendarState::busyFlagsLeaveWithTheirDays()
{
    MonthCalendarState state(QDate(2024, 3, 10));
    const QDate february(2024, 2, 27);   // shown dimmed before March
    state.setBusyDays({february, QDate(2024, 3, 31), QDate(2024, 6, 1)});
    state.dropBusyOutsideView();
    QVERIFY(state.isBusy(february));
    QVERIFY(state.isBusy(QDate(2024, 3, 31)));
    QVERIFY(!state.isBusy(QDate(2024, 6, 1)));

    state.scrollMonths(1);
    state.dropBusyOutsideView();
    QVERIFY(!state.isBusy(february));
    QVERIFY(state.isBusy(QDate(2024, 3, 31)));
}

QTEST_GUILESS_MAIN(tst_MonthCalendarState)
#include "tst_MonthCalendarState.moc"
