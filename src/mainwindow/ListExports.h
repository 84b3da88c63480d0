#pragma once

#include "export/ListedDeadline.h"

#include <QList>

// The list's two exports, each asking where to save and telling when the file
// could not be written.
namespace ListExports {

void toText(const QList<ListedDeadline> &rows);
void toCalendar(const QList<ListedDeadline> &rows);

} // namespace ListExports
