#include "platform/calendar/CalendarDayAccessible.h"

#include "platform/calendar/CalendarMonthAccessible.h"
#include "platform/calendar/MonthCalendar.h"

CalendarDayAccessible::CalendarDayAccessible(CalendarMonthAccessible *table, int cell)
    : m_table(table)
    , m_cell(cell)
{
}

QDate CalendarDayAccessible::date() const
{
    return m_table->calendar()->state().dayAt(m_table->monthIndex(), m_cell);
}

bool CalendarDayAccessible::isValid() const
{
    return m_table->isValid();
}

QObject *CalendarDayAccessible::object() const
{
    return nullptr;
}

QWindow *CalendarDayAccessible::window() const
{
    return m_table->window();
}

QAccessibleInterface *CalendarDayAccessible::parent() const
{
    return m_table;
}

QAccessibleInterface *CalendarDayAccessible::child(int) const
{
    return nullptr;
}

int CalendarDayAccessible::childCount() const
{
    return 0;
}

int CalendarDayAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QAccessibleInterface *CalendarDayAccessible::childAt(int, int) const
{
    return nullptr;
}

QString CalendarDayAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    const MonthCalendar *calendar = m_table->calendar();
    switch (t) {
    case QAccessible::Name: {
        // The full date, not the bare day number: "15" alone says nothing of the month.
        // Then what the day's look shows (busy, today, selected): screen readers
        // speak a cell's name as it gets the focus, its description hardly ever.
        const QString day = calendar->locale().toString(date(), QLocale::LongFormat);
        const QString state = calendar->dayDescription(m_table->monthIndex(), m_cell);
        return state.isEmpty() ? day : day + QStringLiteral(", ") + state;
    }
    case QAccessible::Description:
        return calendar->dayDescription(m_table->monthIndex(), m_cell);
    default:
        return QString();
    }
}

void CalendarDayAccessible::setText(QAccessible::Text, const QString &)
{
}

QRect CalendarDayAccessible::rect() const
{
    return isValid() ? m_table->screenRect(m_table->calendar()->dayRect(m_table->monthIndex(), m_cell)) : QRect();
}

QAccessible::Role CalendarDayAccessible::role() const
{
    return QAccessible::Cell;
}

QAccessible::State CalendarDayAccessible::state() const
{
    QAccessible::State state = m_table->state();
    state.multiSelectable = false;
    state.extSelectable = false;
    if (!isValid())
        return state;
    const MonthCalendar *calendar = m_table->calendar();
    const QDate day = date();
    state.disabled = state.disabled || !calendar->isDayEnabled(day);
    state.selectable = !state.disabled;
    state.focusable = !state.disabled;
    state.selected = calendar->state().isSelected(day);
    state.focused = calendar->hasFocus() && day == calendar->currentDate()
        && calendar->homeMonthOf(day) == m_table->monthIndex();
    return state;
}

void *CalendarDayAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

bool CalendarDayAccessible::isSelected() const
{
    return isValid() && m_table->calendar()->state().isSelected(date());
}

QList<QAccessibleInterface *> CalendarDayAccessible::columnHeaderCells() const
{
    return {};
}

QList<QAccessibleInterface *> CalendarDayAccessible::rowHeaderCells() const
{
    return {};
}

int CalendarDayAccessible::columnIndex() const
{
    return m_cell % MonthCalendarState::DaysPerWeek;
}

int CalendarDayAccessible::rowIndex() const
{
    return m_cell / MonthCalendarState::DaysPerWeek;
}

int CalendarDayAccessible::columnExtent() const
{
    return 1;
}

int CalendarDayAccessible::rowExtent() const
{
    return 1;
}

QAccessibleInterface *CalendarDayAccessible::table() const
{
    return m_table;
}

QStringList CalendarDayAccessible::actionNames() const
{
    return {pressAction()};
}

void CalendarDayAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && isValid() && m_table->calendar()->isDayEnabled(date()))
        m_table->calendar()->setCurrentDate(date());
}

QStringList CalendarDayAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}
