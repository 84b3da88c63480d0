#include "mainwindow/CalendarColumn.h"

#include "mainwindow/CalendarQueries.h"
#include "mainwindow/MainWindowLayout.h"
#include "platform/Clock.h"
#include "platform/calendar/MonthCalendar.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/DbError.h"
#include "store/Register.h"

#include <QVBoxLayout>

CalendarColumn::CalendarColumn(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("calendarPanel"));
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(6);
    m_calendar = new MonthCalendar(this);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    MonthCalendarTexts calendarTexts;
    calendarTexts.calendar = Texts::text(2302);
    calendarTexts.previousMonth = Texts::text(2303);
    calendarTexts.nextMonth = Texts::text(2304);
    calendarTexts.otherMonthDay = Texts::text(2305);
    calendarTexts.busyDay = Texts::text(2306);
    calendarTexts.today = Texts::text(2307);
    calendarTexts.selectedDay = Texts::text(2745);
    m_calendar->setTexts(calendarTexts);
    connect(m_calendar, &MonthCalendar::selectionChanged, this, &CalendarColumn::selectionChanged);
    connect(m_calendar, &MonthCalendar::busyDaysRequested, this, &CalendarColumn::busyDaysRequested);
    connect(m_calendar, &MonthCalendar::gotFocus, this, [this] { emit helpShown(Texts::text(982)); });
    connect(m_calendar, &MonthCalendar::lostFocus, this, [this] { emit helpShown(QString()); });
    connect(m_calendar, &MonthCalendar::keyDown, this, &CalendarColumn::keyDown, Qt::DirectConnection);
    m_column->addWidget(m_calendar, 0, Qt::AlignHCenter);

    // The marks follow the active sheet's open deadlines, whoever wrote them.
    Register &changes = m_session.deadlineRegister();
    connect(&changes, &Register::deadlinesChanged, this, [this](qint32 sheetId) {
        if (sheetId == m_session.activeSheetId())
            markBusyDays();
    });
    connect(&changes, &Register::activeSheetChanged, this, &CalendarColumn::markBusyDays);
}

CalendarColumn::~CalendarColumn()
{
    // The calendar loses the focus as it goes: no handler of a column half gone must hear it.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

QDate CalendarColumn::selectionStart() const
{
    return m_calendar->selectionStart();
}

QDate CalendarColumn::selectionEnd() const
{
    return m_calendar->selectionEnd();
}

void CalendarColumn::showToday()
{
    const QSignalBlocker blocker(m_calendar);
    // The first day of the week follows the locale by itself.
    m_calendar->setCurrentDate(Clock::today());
}

void CalendarColumn::addPart(QWidget *part, int stretch)
{
    m_column->addWidget(part, stretch);
}

void CalendarColumn::arrange(int monthsAcross, int monthsDown)
{
    const QSize calendarSize = m_calendar->sizeForMonths(monthsAcross, monthsDown);
    m_calendar->setFixedSize(calendarSize);
    setFixedWidth(std::max(calendarSize.width(), MainWindowLayout::CalendarColumnMinWidth));
}

void CalendarColumn::markBusyDays()
{
    // Every day on show, the neighbouring months' days included, from one grouped
    // statement rather than one per day.
    QSet<QDate> busy;
    try {
        Connection connection;
        connection.open(m_session.connectionString());
        busy = CalendarQueries::busyDays(connection, m_calendar->firstVisibleDate(), m_calendar->lastVisibleDate(),
                                         m_session.activeSheetId());
        connection.close();
    } catch (const DbError &) {
        // The marks are a hint; without the database the calendar stays plain.
    }
    m_calendar->setBusyDays(busy);
}

void CalendarColumn::busyDaysRequested(const QDate &first, int dayCount)
{
    // The calendar asks when other days come on show; it is answered day by day
    // on one connection, as it asks.
    try {
        Connection connection;
        connection.open(m_session.connectionString());
        const QSet<QDate> busy =
            CalendarQueries::busyDaysOneByOne(connection, first, dayCount, m_session.activeSheetId());
        connection.close();
        for (int i = 0; i < dayCount; ++i) {
            const QDate day = first.addDays(i);
            m_calendar->setDayBusy(day, busy.contains(day));
        }
    } catch (const DbError &) {
    }
}
