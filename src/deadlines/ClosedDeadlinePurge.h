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
// "There are 3 deadlines closed up to 12/31/2024 to delete\r\nConfirm?": sentence
// takes the count as %1 and the date, in the locale's short form, as %2.
QString question(int count, const QDate &lastDate, const QString &sentence, const QString &confirm);

} // namespace ClosedDeadlinePurge
