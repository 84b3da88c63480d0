#include "platform/calendar/MonthGridGeometry.h"

#include <QMargins>

#include <cmath>

namespace {

constexpr int Rows = MonthCalendarState::WeeksPerMonth;

// Splits `length` pixels into `parts` pieces that tile it exactly.
int edge(int start, int length, int parts, int index)
{
    return start + int(std::lround(double(length) * index / parts));
}

} // namespace

void MonthGridGeometry::layOut(const Metrics &metrics, const QRect &contents)
{
    m_metrics = metrics;
    m_area = contents.adjusted(metrics.margin, metrics.margin, -metrics.margin, -metrics.margin);
    const QSize fit = MonthCalendarState::monthsThatFit(m_area.size(), metrics.month(), metrics.spacing);
    m_across = fit.width();
    m_down = fit.height();
}

QSize MonthGridGeometry::sizeFor(int across, int down, const QMargins &frame) const
{
    const Metrics &m = m_metrics;
    const QSize month = m.month();
    return QSize(across * month.width() + (across - 1) * m.spacing.width(),
                 down * month.height() + (down - 1) * m.spacing.height())
        + QSize(2 * m.margin + frame.left() + frame.right(), 2 * m.margin + frame.top() + frame.bottom());
}

QRect MonthGridGeometry::monthRect(int monthIndex) const
{
    const Metrics &m = m_metrics;
    // Whatever room is left over goes to the months evenly, so they fill the widget.
    const int width = m_area.width() - (m_across - 1) * m.spacing.width();
    const int height = m_area.height() - (m_down - 1) * m.spacing.height();
    const int column = monthIndex % m_across;
    const int row = monthIndex / m_across;
    const int left = edge(m_area.left(), width, m_across, column) + column * m.spacing.width();
    const int right = edge(m_area.left(), width, m_across, column + 1) + column * m.spacing.width();
    const int top = edge(m_area.top(), height, m_down, row) + row * m.spacing.height();
    const int bottom = edge(m_area.top(), height, m_down, row + 1) + row * m.spacing.height();
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect MonthGridGeometry::dayRect(int monthIndex, int cell) const
{
    const QRect month = monthRect(monthIndex);
    const int gridTop = month.top() + m_metrics.title + m_metrics.header;
    const int gridHeight = month.bottom() + 1 - gridTop;
    const int column = cell % MonthCalendarState::DaysPerWeek;
    const int row = cell / MonthCalendarState::DaysPerWeek;
    const int left = edge(month.left(), month.width(), MonthCalendarState::DaysPerWeek, column);
    const int right = edge(month.left(), month.width(), MonthCalendarState::DaysPerWeek, column + 1);
    const int top = edge(gridTop, gridHeight, Rows, row);
    const int bottom = edge(gridTop, gridHeight, Rows, row + 1);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool MonthGridGeometry::hit(const QPoint &point, int monthCount, int *monthIndex, int *cell) const
{
    for (int month = 0; month < monthCount; ++month) {
        if (!monthRect(month).contains(point))
            continue;
        const QRect first = dayRect(month, 0);
        const QRect last = dayRect(month, MonthCalendarState::DaysPerMonth - 1);
        if (point.y() < first.top() || point.y() > last.bottom())
            return false;
        for (int c = 0; c < MonthCalendarState::DaysPerMonth; ++c) {
            if (dayRect(month, c).contains(point)) {
                *monthIndex = month;
                *cell = c;
                return true;
            }
        }
        return false;
    }
    return false;
}
