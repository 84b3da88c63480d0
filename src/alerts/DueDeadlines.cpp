#include "alerts/DueDeadlines.h"

#include "store/DeadlineStore.h"

namespace DueDeadlines {

QDate warnLimitDate(const QDate &today, int warnDays)
{
    return warnDays == NoWarning ? today : today.addDays(warnDays);
}

std::optional<int> warnDaysFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const int days = trimmed.toInt(&ok);
    // toInt takes a sign; a day count is digits alone.
    if (!ok || trimmed.isEmpty() || !trimmed.front().isDigit() || days < 0 || days >= NoWarning)
        return std::nullopt;
    return days;
}

bool hasDueDeadlines(const QString &connectionString, qint32 sheetId, int warnDays, const QDate &today)
{
    if (warnDays == NoWarning)
        return false;
    return DeadlineStore(connectionString).anyOpenUpTo(sheetId, warnLimitDate(today, warnDays));
}

Found find(const QString &connectionString, qint32 sheetId, int warnDays, const QDate &today)
{
    const bool lookAhead = warnDays > 0 && warnDays != NoWarning;
    const DeadlineStore::DueKinds kinds =
        DeadlineStore(connectionString).dueKinds(sheetId, today, lookAhead ? today.addDays(warnDays) : today);
    return Found {kinds.overdue, kinds.dueToday, kinds.upcoming};
}

} // namespace DueDeadlines
