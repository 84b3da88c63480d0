#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

// Which open deadlines of a sheet are due: the check behind the status bar's
// picture and the start-up warning. Widget-free; every read throws DbError.
namespace DueDeadlines {

constexpr int NoWarning = 999;   // the warning days that switch the warning off

// Which of the three kinds of due deadlines a sheet holds.
struct Found
{
    bool overdue = false;
    bool dueToday = false;
    bool upcoming = false;   // after today, up to today + the warning days
    int kinds() const { return int(overdue) + int(dueToday) + int(upcoming); }
};

// Today plus the warning days, or today alone when the warning is off.
QDate warnLimitDate(const QDate &today, int warnDays);

// The warning days typed in the preferences: a whole number from 0 up to the
// day before NoWarning; nothing for an empty or other text.
std::optional<int> warnDaysFromText(const QString &text);

// Whether an open deadline falls on or before the warning limit. With the
// warning off, false without reading the database.
bool hasDueDeadlines(const QString &connectionString, qint32 sheetId, int warnDays, const QDate &today);

// The three kinds, read on one connection. The upcoming kind is looked for only
// when the warning looks at least one day ahead.
Found find(const QString &connectionString, qint32 sheetId, int warnDays, const QDate &today);

} // namespace DueDeadlines
