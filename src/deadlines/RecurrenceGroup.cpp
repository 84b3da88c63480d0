#include "deadlines/RecurrenceGroup.h"

#include "store/DeadlineStore.h"

namespace RecurrenceGroup {

qint32 allocateGroupId(Connection &connection)
{
    return DeadlineStore(connection).nextGroupId();
}

void renumberGroup(Connection &connection, qint32 groupId)
{
    DeadlineStore(connection).renumberGroup(groupId);
}

} // namespace RecurrenceGroup
