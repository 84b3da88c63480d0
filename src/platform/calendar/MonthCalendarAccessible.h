#pragma once

#include <QAccessibleWidget>
#include <QList>

class MonthCalendar;

// What a screen reader sees of a MonthCalendar: its month buttons, then one table
// per month shown whose cells are the 42 days. The tables and days are painted,
// not widgets, so their interfaces are made when first asked for, registered with
// QAccessible, and deleted with this interface.
class MonthCalendarAccessible : public QAccessibleWidget
{
public:
    explicit MonthCalendarAccessible(MonthCalendar *calendar);
    ~MonthCalendarAccessible() override;

    // For QAccessible::installFactory.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    MonthCalendar *calendar() const;
    QAccessibleInterface *monthTable(int monthIndex) const;
    QAccessibleInterface *dayCell(int monthIndex, int cell) const;
    // The months on show changed: their tables say so with new names.
    void monthsChanged();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    int widgetChildCount() const;

    mutable QList<QAccessible::Id> m_monthIds;   // 0 where not made yet
};
