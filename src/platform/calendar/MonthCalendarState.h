#pragma once

#include <QDate>
#include <QSet>
#include <QSize>

#include <optional>

// What a month calendar shows and which days it selects, without a widget: the
// months on show, the 42 days of each, the selection between an anchor day and the
// current day, and the busy days. MonthCalendar paints this state and turns mouse
// and keys into calls on it; everything here is plain date arithmetic.
class MonthCalendarState
{
public:
    // How the current day moves on a key.
    enum class Move { PreviousDay, NextDay, PreviousWeek, NextWeek, MonthStart, MonthEnd, PreviousMonth, NextMonth };

    static constexpr int DaysPerWeek = 7;
    static constexpr int WeeksPerMonth = 6;
    static constexpr int DaysPerMonth = WeeksPerMonth * DaysPerWeek;   // 42

    // The days a user can reach; every date this class stores lies in between.
    static QDate minimumDate();
    static QDate maximumDate();
    static QDate clamped(const QDate &date);

    // The first of the 42 days shown for the month that holds `month`. The week
    // before the 1st always shows, so the last days of the previous month stay in
    // reach for a range that crosses the turn of the month.
    static QDate firstDayShown(const QDate &month, Qt::DayOfWeek firstDayOfWeek);
    // How many whole months, across and down, fit in `available`; at least one.
    static QSize monthsThatFit(const QSize &available, const QSize &monthSize, const QSize &spacing);
    // The move a key asks for; left and right trade places in right-to-left layouts.
    static std::optional<Move> moveForKey(int key, Qt::LayoutDirection direction);
    // `from` moved, kept within minimumDate() and maximumDate().
    static QDate moved(const QDate &from, Move move);

    explicit MonthCalendarState(const QDate &current, Qt::DayOfWeek firstDayOfWeek = Qt::Monday);

    Qt::DayOfWeek firstDayOfWeek() const { return m_firstDayOfWeek; }
    void setFirstDayOfWeek(Qt::DayOfWeek day) { m_firstDayOfWeek = day; }

    // The months on show: monthCount() consecutive months from firstMonth().
    int monthCount() const { return m_monthCount; }
    void setMonthCount(int count);          // keeps the first month, and the current day in view
    QDate firstMonth() const { return m_firstMonth; }   // always the 1st of a month
    QDate month(int index) const;           // the 1st of the index-th month shown
    void showMonth(const QDate &month);     // make it the first month shown, as far as the range allows
    void scrollMonths(int delta);
    void ensureShown(const QDate &date);    // scroll as little as needed to show the date's month

    // The 42 days of each month shown: cell 0 to 41, row by row.
    QDate dayAt(int monthIndex, int cell) const;
    int cellOf(int monthIndex, const QDate &date) const;  // -1 when that month does not show the date
    int monthIndexOf(const QDate &date) const;            // the month shown that the date belongs to, or -1
    QDate firstVisibleDate() const;
    QDate lastVisibleDate() const;
    int visibleDayCount() const;

    // The selection runs from the anchor to the current day, in either order.
    QDate currentDate() const { return m_current; }
    QDate anchorDate() const { return m_anchor; }
    QDate selectionStart() const { return qMin(m_anchor, m_current); }
    QDate selectionEnd() const { return qMax(m_anchor, m_current); }
    bool isSelected(const QDate &date) const { return date >= selectionStart() && date <= selectionEnd(); }
    // A click (extend false) or a Shift+click or drag (extend true) on a day; the
    // months shown stay, since the day was clicked where it shows.
    void pick(const QDate &day, bool extend);
    // Anchor at `first`, current day at `last`; shows both months when they fit.
    void setSelection(const QDate &first, const QDate &last);
    // A key: the current day moves, the range grows with it when `extend`.
    void move(Move move, bool extend);

    // Days that carry something (the calendar draws them bold).
    bool isBusy(const QDate &date) const { return m_busy.contains(date); }
    void setBusy(const QDate &date, bool busy);
    void setBusyDays(const QSet<QDate> &days) { m_busy = days; }
    const QSet<QDate> &busyDays() const { return m_busy; }
    // Forget the flags of days no longer on show, so stale ones never come back.
    void dropBusyOutsideView();

private:
    static QDate monthStart(const QDate &date) { return QDate(date.year(), date.month(), 1); }
    static int monthNumber(const QDate &date) { return date.year() * 12 + date.month() - 1; }
    QDate lastFirstMonth() const;

    Qt::DayOfWeek m_firstDayOfWeek;
    QDate m_firstMonth;
    int m_monthCount = 1;
    QDate m_anchor;
    QDate m_current;
    QSet<QDate> m_busy;
};
