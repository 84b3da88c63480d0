#pragma once

#include <QDate>

// The one source of "today": overdue rows, group keys, the warning and the purge
// date all read it, so tests pin it to the days that matter.
namespace Clock {
QDate today();
void pin(const QDate &day);   // an invalid date unpins
}
