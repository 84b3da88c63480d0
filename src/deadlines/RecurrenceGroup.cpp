#include "deadlines/RecurrenceGroup.h"

#include "store/Database.h"
#include "store/SqlText.h"

#include <cmath>

namespace RecurrenceGroup {

qint32 allocateGroupId(Connection &connection)
{
    Recordset rs;
    rs.open(QStringLiteral("SELECT Max(Transactions.TrGrpId) AS mId FROM Transactions"), connection);
    if (rs.eof())
        return 1;
    return qint32(std::lround(numberOrDefault(rs.field(QStringLiteral("mId")), 0))) + 1;
}

void renumberGroup(Connection &connection, qint32 groupId)
{
    const QString id = QString::number(groupId);
    int count = 0;
    {
        Recordset rs;
        rs.open(QStringLiteral("SELECT Count(Transactions.TrRowId) AS CTrRowId From Transactions WHERE TrGrpId=") + id,
                connection);
        if (!rs.eof())
            count = int(std::lround(numberOrDefault(rs.field(QStringLiteral("CTrRowId")), 0)));
    }
    Recordset members;
    members.open(QStringLiteral("SELECT * FROM Transactions WHERE TrGrpId=") + id + QStringLiteral(" ORDER BY TrDate"),
                 connection, CursorType::Static);
    int row = 0;
    while (!members.eof()) {
        members.setField(QStringLiteral("TrGrpRow"), ++row);
        members.setField(QStringLiteral("TrGrpMDay"), count);
        members.update();
        members.moveNext();
    }
    members.close();
}

} // namespace RecurrenceGroup
