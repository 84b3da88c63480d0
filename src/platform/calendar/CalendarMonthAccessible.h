#pragma once

#include <QAccessibleInterface>
#include <QList>

class MonthCalendar;
class MonthCalendarAccessible;

// One month shown by a MonthCalendar, as a table of six weeks by seven weekdays
// named by its title ("March 2025"). It lives as long as the calendar's interface
// and stands for whichever month shows in its place.
class CalendarMonthAccessible : public QAccessibleInterface, public QAccessibleTableInterface
{
public:
    CalendarMonthAccessible(MonthCalendarAccessible *calendar, int monthIndex);
    ~CalendarMonthAccessible() override;

    MonthCalendar *calendar() const;
    int monthIndex() const { return m_monthIndex; }
    QRect screenRect(const QRect &widgetRect) const;

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface *caption() const override;
    QAccessibleInterface *summary() const override;
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

private:
    MonthCalendarAccessible *m_calendar;
    int m_monthIndex;
    mutable QList<QAccessible::Id> m_dayIds;   // 0 where not made yet
};
