#include "platform/calendar/MonthCalendarAccessible.h"

#include "platform/calendar/CalendarMonthAccessible.h"
#include "platform/calendar/MonthCalendar.h"

MonthCalendarAccessible::MonthCalendarAccessible(MonthCalendar *calendar)
    : QAccessibleWidget(calendar, QAccessible::Pane)
{
}

MonthCalendarAccessible::~MonthCalendarAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_monthIds)) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface *MonthCalendarAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("MonthCalendar") && object && object->isWidgetType())
        return new MonthCalendarAccessible(static_cast<MonthCalendar *>(object));
    return nullptr;
}

MonthCalendar *MonthCalendarAccessible::calendar() const
{
    return static_cast<MonthCalendar *>(widget());
}

QAccessibleInterface *MonthCalendarAccessible::monthTable(int monthIndex) const
{
    if (monthIndex < 0 || monthIndex >= calendar()->state().monthCount())
        return nullptr;
    if (m_monthIds.size() <= monthIndex)
        m_monthIds.resize(monthIndex + 1, 0);
    if (!m_monthIds[monthIndex]) {
        auto *table = new CalendarMonthAccessible(const_cast<MonthCalendarAccessible *>(this), monthIndex);
        m_monthIds[monthIndex] = QAccessible::registerAccessibleInterface(table);
    }
    return QAccessible::accessibleInterface(m_monthIds[monthIndex]);
}

QAccessibleInterface *MonthCalendarAccessible::dayCell(int monthIndex, int cell) const
{
    QAccessibleInterface *table = monthTable(monthIndex);
    return table ? table->child(cell) : nullptr;
}

void MonthCalendarAccessible::monthsChanged()
{
    for (int month = 0; month < m_monthIds.size() && month < calendar()->state().monthCount(); ++month) {
        if (!m_monthIds[month])
            continue;
        QAccessibleEvent renamed(QAccessible::accessibleInterface(m_monthIds[month]), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

int MonthCalendarAccessible::widgetChildCount() const
{
    return QAccessibleWidget::childCount();
}

int MonthCalendarAccessible::childCount() const
{
    return widgetChildCount() + calendar()->state().monthCount();
}

QAccessibleInterface *MonthCalendarAccessible::child(int index) const
{
    const int widgets = widgetChildCount();
    return index < widgets ? QAccessibleWidget::child(index) : monthTable(index - widgets);
}

int MonthCalendarAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const int months = calendar()->state().monthCount();
    for (int month = 0; month < m_monthIds.size() && month < months; ++month) {
        if (m_monthIds[month] && QAccessible::accessibleInterface(m_monthIds[month]) == child)
            return widgetChildCount() + month;
    }
    return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface *MonthCalendarAccessible::childAt(int x, int y) const
{
    if (QAccessibleInterface *button = QAccessibleWidget::childAt(x, y))
        return button;
    const QPoint pos = calendar()->mapFromGlobal(QPoint(x, y));
    for (int month = 0; month < calendar()->state().monthCount(); ++month) {
        if (calendar()->monthRect(month).contains(pos))
            return monthTable(month);
    }
    return nullptr;
}

QAccessibleInterface *MonthCalendarAccessible::focusChild() const
{
    const MonthCalendar *widget = calendar();
    if (!widget->hasFocus())
        return QAccessibleWidget::focusChild();
    const QDate current = widget->currentDate();
    const int month = widget->homeMonthOf(current);
    return month < 0 ? nullptr : dayCell(month, widget->state().cellOf(month, current));
}
