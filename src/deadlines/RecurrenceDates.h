#pragma once

#include <QChar>
#include <QDate>
#include <QList>

// The recurrence rules: cadence codes and the due dates of a recurrence's members.
// Positions follow the cadence list of the new-deadline window:
// 0 daily, 1 weekly, 2 biweekly, 3 monthly, 4 bimonthly, 5 quarterly,
// 6 four-monthly, 7 biannual, 8 yearly.
namespace RecurrenceDates {

constexpr int CadenceCount = 9;

// The character of "dw2mbs4qy" at the position; 'n' (single deadline) outside 0..8.
QChar cadenceCode(int position);

// Dates of members 1..n. Each member is computed from the first date, never from
// the previous one, so a short month does not drag the later members back; a run
// that starts on a month's last day stays on the last day for the month-based
// cadences.
QList<QDate> memberDates(const QDate &first, int position, int n);

// The last day a stored date can take: the store writes four-digit years.
QDate lastSupportedDate();
// True when every member of the recurrence falls on or before lastSupportedDate().
bool fitsSupportedRange(const QDate &first, int position, int n);

bool isLastDayOfMonth(const QDate &date);
QDate lastDayOfMonth(const QDate &date);

} // namespace RecurrenceDates
