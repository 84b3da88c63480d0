#pragma once

#include "export/ListedDeadline.h"

#include <QList>
#include <QString>

class GridModel;

// The deadline rows the main list holds, in its order, for the exports: every
// deadline of the view, those inside collapsed groups too, without the group
// rows. The description is the list's own, with the recurrence counter when shown.
QList<ListedDeadline> listedDeadlines(const GridModel &list, bool showCounters, const QString &counterSeparator);
