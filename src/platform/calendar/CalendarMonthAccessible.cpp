#include "platform/calendar/CalendarMonthAccessible.h"

#include "platform/calendar/CalendarDayAccessible.h"
#include "platform/calendar/MonthCalendar.h"
#include "platform/calendar/MonthCalendarAccessible.h"

namespace {
constexpr int Columns = MonthCalendarState::DaysPerWeek;
constexpr int Rows = MonthCalendarState::WeeksPerMonth;
} // namespace

CalendarMonthAccessible::CalendarMonthAccessible(MonthCalendarAccessible *calendar, int monthIndex)
    : m_calendar(calendar)
    , m_monthIndex(monthIndex)
    , m_dayIds(MonthCalendarState::DaysPerMonth, 0)
{
}

CalendarMonthAccessible::~CalendarMonthAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_dayIds)) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

MonthCalendar *CalendarMonthAccessible::calendar() const
{
    return m_calendar->calendar();
}

QRect CalendarMonthAccessible::screenRect(const QRect &widgetRect) const
{
    return QRect(calendar()->mapToGlobal(widgetRect.topLeft()), widgetRect.size());
}

bool CalendarMonthAccessible::isValid() const
{
    return m_calendar->isValid() && m_monthIndex < calendar()->state().monthCount();
}

QObject *CalendarMonthAccessible::object() const
{
    return nullptr;
}

QWindow *CalendarMonthAccessible::window() const
{
    return m_calendar->window();
}

QAccessibleInterface *CalendarMonthAccessible::parent() const
{
    return m_calendar;
}

QAccessibleInterface *CalendarMonthAccessible::child(int index) const
{
    if (index < 0 || index >= m_dayIds.size())
        return nullptr;
    if (!m_dayIds[index])
        m_dayIds[index] = QAccessible::registerAccessibleInterface(
            new CalendarDayAccessible(const_cast<CalendarMonthAccessible *>(this), index));
    return QAccessible::accessibleInterface(m_dayIds[index]);
}

int CalendarMonthAccessible::childCount() const
{
    return MonthCalendarState::DaysPerMonth;
}

int CalendarMonthAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (int cell = 0; cell < m_dayIds.size(); ++cell) {
        if (m_dayIds[cell] && QAccessible::accessibleInterface(m_dayIds[cell]) == child)
            return cell;
    }
    return -1;
}

QAccessibleInterface *CalendarMonthAccessible::childAt(int x, int y) const
{
    const QPoint pos = calendar()->mapFromGlobal(QPoint(x, y));
    int month = -1;
    int cell = -1;
    if (calendar()->hitTest(pos, &month, &cell) && month == m_monthIndex)
        return child(cell);
    return nullptr;
}

QString CalendarMonthAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name && isValid() ? calendar()->monthTitle(m_monthIndex) : QString();
}

void CalendarMonthAccessible::setText(QAccessible::Text, const QString &)
{
}

QRect CalendarMonthAccessible::rect() const
{
    return isValid() ? screenRect(calendar()->monthRect(m_monthIndex)) : QRect();
}

QAccessible::Role CalendarMonthAccessible::role() const
{
    return QAccessible::Table;
}

QAccessible::State CalendarMonthAccessible::state() const
{
    QAccessible::State state;
    const QAccessible::State outer = m_calendar->state();
    state.invisible = outer.invisible || !isValid();
    state.disabled = outer.disabled;
    state.multiSelectable = true;
    state.extSelectable = true;
    return state;
}

void *CalendarMonthAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface *>(this) : nullptr;
}

QAccessibleInterface *CalendarMonthAccessible::caption() const
{
    return nullptr;
}

QAccessibleInterface *CalendarMonthAccessible::summary() const
{
    return nullptr;
}

QAccessibleInterface *CalendarMonthAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return nullptr;
    return child(row * Columns + column);
}

int CalendarMonthAccessible::selectedCellCount() const
{
    int count = 0;
    for (int cell = 0; cell < MonthCalendarState::DaysPerMonth; ++cell)
        count += calendar()->state().isSelected(calendar()->state().dayAt(m_monthIndex, cell));
    return count;
}

QList<QAccessibleInterface *> CalendarMonthAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (int cell = 0; cell < MonthCalendarState::DaysPerMonth; ++cell) {
        if (calendar()->state().isSelected(calendar()->state().dayAt(m_monthIndex, cell)))
            cells << child(cell);
    }
    return cells;
}

QString CalendarMonthAccessible::columnDescription(int column) const
{
    return calendar()->weekdayName(column, true);
}

QString CalendarMonthAccessible::rowDescription(int) const
{
    return QString();
}

int CalendarMonthAccessible::selectedColumnCount() const
{
    return 0;
}

int CalendarMonthAccessible::selectedRowCount() const
{
    return selectedRows().size();
}

int CalendarMonthAccessible::columnCount() const
{
    return Columns;
}

int CalendarMonthAccessible::rowCount() const
{
    return Rows;
}

QList<int> CalendarMonthAccessible::selectedColumns() const
{
    return {};
}

QList<int> CalendarMonthAccessible::selectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < Rows; ++row) {
        if (isRowSelected(row))
            rows << row;
    }
    return rows;
}

bool CalendarMonthAccessible::isColumnSelected(int) const
{
    return false;
}

bool CalendarMonthAccessible::isRowSelected(int row) const
{
    // A range is one run of days, so a week is selected when its first and last day are.
    const MonthCalendarState &state = calendar()->state();
    return state.isSelected(state.dayAt(m_monthIndex, row * Columns))
        && state.isSelected(state.dayAt(m_monthIndex, row * Columns + Columns - 1));
}

bool CalendarMonthAccessible::selectRow(int row)
{
    if (row < 0 || row >= Rows)
        return false;
    const MonthCalendarState &state = calendar()->state();
    calendar()->setSelection(state.dayAt(m_monthIndex, row * Columns),
                             state.dayAt(m_monthIndex, row * Columns + Columns - 1));
    return true;
}

bool CalendarMonthAccessible::selectColumn(int)
{
    return false;
}

bool CalendarMonthAccessible::unselectRow(int)
{
    return false;
}

bool CalendarMonthAccessible::unselectColumn(int)
{
    return false;
}

void CalendarMonthAccessible::modelChange(QAccessibleTableModelChangeEvent *)
{
}
