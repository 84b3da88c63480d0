#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of a report as it is printed: a group caption or a deadline.
struct ReportRow
{
    enum Kind { GroupRow, DeadlineRow };
    enum Flag {
        NoFlags = 0,
        Expired = 1, // open and due within the warning horizon: shaded
        Closed = 2,
    };

    Kind kind = DeadlineRow;
    // Depth below the top group: 0 for the sheet group, one more per inner group;
    // deadline rows sit one level below their innermost group.
    int level = 0;
    // Group rows: the caption, printed bold across the page.
    QString caption;
    // Deadline rows: one text per column, and per column a picture number of the
    // list's pictures (0 for none); icons may be shorter than cells.
    QStringList cells;
    QList<int> icons;
    int flags = NoFlags;

    bool isGroup() const { return kind == GroupRow; }
};
