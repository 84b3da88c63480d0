#pragma once

#include "alerts/DueDeadlines.h"

#include <QString>

// The start-up warning's one sentence, in the current language, naming the kinds
// found in that order: "There are credits, debts or appointments already
// expired, expiring Today or expiring the next 5 days." Empty when nothing is due.
QString warningSentence(const DueDeadlines::Found &found, int warnDays);
