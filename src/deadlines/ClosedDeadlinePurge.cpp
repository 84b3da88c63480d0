#include "deadlines/ClosedDeadlinePurge.h"

#include "platform/DateFormat.h"
#include "store/DeadlineStore.h"

int ClosedDeadlinePurge::count(const QString &connectionString, qint32 sheetId, const QDate &lastDate)
{
    return DeadlineStore(connectionString).countClosedUpTo(sheetId, lastDate);
}

int ClosedDeadlinePurge::purge(const QString &connectionString, qint32 sheetId, const QDate &lastDate)
{
    return DeadlineStore(connectionString).purgeClosedUpTo(sheetId, lastDate);
}

QString ClosedDeadlinePurge::question(int count, const QDate &lastDate, const QString &sentence, const QString &confirm)
{
    return sentence.arg(QString::number(count), shortDateText(lastDate)) + QStringLiteral("\r\n") + confirm;
}
