#include "deadlines/RecurrenceDates.h"

namespace RecurrenceDates {
namespace {

const char CadenceCodes[] = "dw2mbs4qy";

// Months per step of the month-based cadences; 0 for the others.
int monthsPerStep(int position)
{
    switch (position) {
    case 3: return 1;
    case 4: return 2;
    case 5: return 3;
    case 6: return 4;
    case 7: return 6;
    default: return 0;
    }
}

// Member k (0 = the first date itself) of a recurrence, before the month-end rule.
QDate advance(const QDate &first, int position, int k)
{
    // QDate::addMonths and addYears already clamp to the target month's last day
    // (31 January + 1 month = 28 February, 29 February + 1 year = 28 February).
    switch (position) {
    case 0: return first.addDays(k);
    case 1: return first.addDays(7LL * k);
    case 2: return first.addDays(14LL * k);
    case 8: return first.addYears(k);
    default: break;
    }
    const int months = monthsPerStep(position);
    return months ? first.addMonths(months * k) : first;
}

} // namespace

QChar cadenceCode(int position)
{
    if (position < 0 || position >= CadenceCount)
        return QLatin1Char('n');
    return QLatin1Char(CadenceCodes[position]);
}

QList<QDate> memberDates(const QDate &first, int position, int n)
{
    QList<QDate> dates;
    if (n < 1 || !first.isValid())
        return dates;
    dates.reserve(n);
    const bool monthEnd = isLastDayOfMonth(first);
    const bool monthBased = monthsPerStep(position) > 0;
    dates.append(first);
    for (int k = 1; k < n; ++k) {
        QDate member = advance(first, position, k);
        if (monthBased && monthEnd)
            member = lastDayOfMonth(member);
        dates.append(member);
    }
    return dates;
}

QDate lastSupportedDate()
{
    return QDate(9999, 12, 31);
}

bool fitsSupportedRange(const QDate &first, int position, int n)
{
    // Members only move forward, so the last one decides.
    const QList<QDate> dates = memberDates(first, position, n);
    return !dates.isEmpty() && dates.last().isValid() && dates.last() <= lastSupportedDate();
}

bool isLastDayOfMonth(const QDate &date)
{
    return date.addDays(1).month() != date.month();
}

QDate lastDayOfMonth(const QDate &date)
{
    const QDate next = date.addMonths(1);
    return QDate(next.year(), next.month(), 1).addDays(-1);
}

} // namespace RecurrenceDates
