#include "alerts/WarningSentence.h"

#include "startup/Texts.h"

#include <QStringList>

QString warningSentence(const DueDeadlines::Found &found, int warnDays)
{
    const QString space = QStringLiteral(" ");
    QStringList parts;
    if (found.overdue)
        parts << Texts::text(1221);                                    // "already expired"
    if (found.dueToday)
        parts << Texts::text(1220) + space + Texts::text(1053);        // "expiring" "Today"
    if (found.upcoming)                                                // "expiring" "the next xxx days"
        parts << Texts::text(1220) + space
                     + Texts::text(1222).replace(QStringLiteral("xxx"), QString::number(warnDays));

    const QString start = Texts::text(1219) + space;                   // "There are credits, debts or appointments"
    const QString orWord = space + Texts::text(1224) + space;          // "or"
    switch (parts.size()) {
    case 1:
        return start + parts[0] + QLatin1Char('.');
    case 2:
        return start + parts[0] + orWord + parts[1] + QLatin1Char('.');
    case 3:
        return start + parts[0] + QStringLiteral(", ") + parts[1] + orWord + parts[2] + QLatin1Char('.');
    default:
        return QString();
    }
}
