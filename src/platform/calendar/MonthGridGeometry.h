#pragma once

#include "platform/calendar/MonthCalendarState.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the month calendar's months and days lie, in left-to-right coordinates
// (the widget mirrors them for right-to-left languages): the font's sizes, the
// area the months fill and how many fit across and down.
class MonthGridGeometry
{
public:
    // Sizes that follow the font, in pixels.
    struct Metrics
    {
        QSize cell;
        int title = 0;
        int header = 0;
        int margin = 0;
        QSize spacing;
        QSize month() const { return QSize(cell.width() * MonthCalendarState::DaysPerWeek,
                                           title + header + cell.height() * MonthCalendarState::WeeksPerMonth); }
    };

    const Metrics &metrics() const { return m_metrics; }
    int across() const { return m_across; }
    int down() const { return m_down; }

    // New sizes or a new area (the widget's contents): as many whole months as fit.
    void layOut(const Metrics &metrics, const QRect &contents);
    // The widget's size for that many months, frame margins added.
    QSize sizeFor(int across, int down, const QMargins &frame) const;

    QRect monthRect(int monthIndex) const;
    QRect dayRect(int monthIndex, int cell) const;
    // The month and day cell under a point; false between months and on titles.
    bool hit(const QPoint &point, int monthCount, int *monthIndex, int *cell) const;

private:
    Metrics m_metrics;
    QRect m_area;   // the contents less the margin
    int m_across = 1;
    int m_down = 1;
};
