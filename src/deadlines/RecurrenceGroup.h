#pragma once

#include <QtGlobal>

class Connection;

// Group ids and the numbering of a recurrence group's members.
namespace RecurrenceGroup {

// Highest TrGrpId of the whole table plus 1 (1 on an empty table), so ids are
// unique across every sheet. Meant to run inside the transaction of the inserts.
qint32 allocateGroupId(Connection &connection);

// Rewrites TrGrpRow (1..n by date) and TrGrpMDay (n) of every member of the
// group, whatever its sheet. Runs on the caller's connection, so it can share
// the caller's transaction.
void renumberGroup(Connection &connection, qint32 groupId);

} // namespace RecurrenceGroup
