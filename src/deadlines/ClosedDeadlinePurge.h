#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

// The purge of closed deadlines: every closed deadline of one sheet dated on or
// before a date. Open deadlines and other sheets are never touched. Both throw
// DbError.
namespace ClosedDeadlinePurge {

int count(const QString &connectionString, qint32 sheetId, const QDate &lastDate);
// Deletes them and returns how many went.
int purge(const QString &connectionString, qint32 sheetId, const QDate &lastDate);
// "There are 3 Deadlines to delete.\r\nConfirm?" in the given words.
QString question(int count, const QString &before, const QString &after, const QString &confirm);

} // namespace ClosedDeadlinePurge
