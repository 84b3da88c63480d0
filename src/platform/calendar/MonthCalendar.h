#pragma once

#include "platform/calendar/MonthCalendarState.h"
#include "platform/calendar/MonthGridGeometry.h"

#include <QDate>
#include <QFrame>
#include <QSet>
#include <QString>

class QToolButton;

// Words the calendar gives a screen reader and its month buttons; the window
// fills them from its text table.
struct MonthCalendarTexts
{
    QString calendar = QStringLiteral("Calendar");
    QString previousMonth = QStringLiteral("Previous month");
    QString nextMonth = QStringLiteral("Next month");
    QString otherMonthDay = QStringLiteral("not in this month");   // a neighbouring month's day
    QString busyDay = QStringLiteral("has open deadlines");
    QString today = QStringLiteral("today");
    QString selectedDay = QStringLiteral("selected");
};

// A month calendar that selects a range of days: by dragging the mouse, by a click
// and a Shift+click, or by Shift and the arrow keys. It shows as many whole months
// as fit its size, each with the 42 days of six weeks, and draws busy days bold.
// All date arithmetic lives in MonthCalendarState; this widget paints it with the
// palette and the style, and turns mouse and keys into calls on it.
class MonthCalendar : public QFrame
{
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget *parent = nullptr);
    ~MonthCalendar() override;

    const MonthCalendarState &state() const { return m_state; }

    // The current day is the moving end of the selection (the keys move it);
    // setCurrentDate selects that one day. Both emit selectionChanged on a change.
    QDate currentDate() const { return m_state.currentDate(); }
    void setCurrentDate(const QDate &date);
    void setSelection(const QDate &first, const QDate &last);
    QDate selectionStart() const { return m_state.selectionStart(); }
    QDate selectionEnd() const { return m_state.selectionEnd(); }

    // The days on show over all months: the run a busyDaysRequested signal asks for.
    QDate firstVisibleDate() const { return m_state.firstVisibleDate(); }
    QDate lastVisibleDate() const { return m_state.lastVisibleDate(); }
    int visibleDayCount() const { return m_state.visibleDayCount(); }
    void showMonth(const QDate &month);      // make it the first month shown
    void showPreviousMonth();
    void showNextMonth();

    int monthsAcross() const { return m_geometry.across(); }
    int monthsDown() const { return m_geometry.down(); }
    // The size that shows `across` by `down` months; the window sizes its column by it.
    QSize sizeForMonths(int across, int down) const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Follows the locale's first day of the week until set here.
    Qt::DayOfWeek firstDayOfWeek() const { return m_state.firstDayOfWeek(); }
    void setFirstDayOfWeek(Qt::DayOfWeek day);

    // Busy days are drawn bold and told to screen readers.
    bool isDayBusy(const QDate &date) const { return m_state.isBusy(date); }
    void setDayBusy(const QDate &date, bool busy);
    void setBusyDays(const QSet<QDate> &days);

    MonthCalendarTexts texts() const { return m_texts; }
    void setTexts(const MonthCalendarTexts &texts);

    // Where a day is drawn (in the month it belongs to when that month shows, else
    // the first month that shows it), and which day is at a point.
    QRect dayRect(const QDate &date) const;
    QRect dayRect(int monthIndex, int cell) const;
    QRect monthRect(int monthIndex) const;
    QDate dateAt(const QPoint &pos) const;     // invalid between the days
    bool isDayEnabled(const QDate &date) const;
    QString monthTitle(int monthIndex) const;
    // The words a screen reader says about a day besides its date.
    QString dayDescription(int monthIndex, int cell) const;

signals:
    // The user changed the selection: once per gesture (a drag reports when the
    // button is released, a key at once), and once per call of the setters.
    void selectionChanged(const QDate &first, const QDate &last);
    // Other days came on show: the window answers with setBusyDays for the run.
    void busyDaysRequested(const QDate &first, int dayCount);
    // Before the calendar handles a key; set *consumed to stop it.
    void keyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);
    void gotFocus();
    void lostFocus();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Snapshot
    {
        QDate start, end, current, firstVisible, lastVisible;
    };

    MonthGridGeometry::Metrics computeMetrics() const;   // kept until the font, style or locale changes
    void layoutMonths();
    void placeButtons();
    QRect visual(const QRect &logical) const;
    bool hitTest(const QPoint &pos, int *monthIndex, int *cell) const;
    int homeMonthOf(const QDate &date) const;   // the month drawn with the date's focus, or -1
    void paintMonth(QPainter &painter, int monthIndex);
    void paintDay(QPainter &painter, int monthIndex, int cell);
    QString weekdayName(int column, bool longName = false) const;
    void syncFirstDayWithLocale();
    void applyTexts();

    Snapshot snapshot() const;
    // After any change of state: redraw, tell screen readers, ask for busy days
    // when other days show, and report a new selection when `reportSelection`.
    void settle(const Snapshot &before, bool reportSelection);
    // Tell a screen reader which day has the keyboard focus.
    void announceCurrentDay();

    MonthCalendarState m_state;
    MonthCalendarTexts m_texts;
    MonthGridGeometry m_geometry;
    QToolButton *m_previousButton = nullptr;
    QToolButton *m_nextButton = nullptr;
    bool m_firstDayFromLocale = true;
    bool m_dragging = false;
    Snapshot m_pressSnapshot;
    QDate m_hoverDate;
    int m_hoverMonth = -1;
    int m_wheelDelta = 0;

    friend class MonthCalendarAccessible;
    friend class CalendarMonthAccessible;
    friend class CalendarDayAccessible;
};
