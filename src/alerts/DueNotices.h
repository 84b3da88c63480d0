#pragma once

#include "store/DueStore.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

// What the desktop notifications say: which open deadlines of each sheet are
// newly due compared with what was announced before, and the one sentence per
// sheet. Widget-free and pure.
namespace DueNotices {

// The names a sentence lists before it trails off with "…".
constexpr int NamesShown = 2;

// The open deadlines of one sheet to announce, by date.
struct SheetNotice
{
    qint32 sheetId = 0;
    QString sheetName;
    std::vector<DueDeadline> deadlines;
};

// What identifies an announcement: the row on its date, so a deadline moved to
// another day is announced again.
QString announcedKey(const DueDeadline &deadline);
// The keys of what is due now: what the next look compares with.
QStringList announcedKeys(const std::vector<DueDeadline> &due);

// The due deadlines whose key is not among announced, grouped by sheet in the
// order given.
std::vector<SheetNotice> newlyDue(const std::vector<DueDeadline> &due, const QStringList &announced);

// "3 deadlines due today in Azienda: Rent 3 of 12, Electricity bill, …", in the
// current language; a recurrence's members carry their place, as the list shows it.
QString sentence(const SheetNotice &notice, const QDate &today, const QString &counterSeparator);

} // namespace DueNotices
