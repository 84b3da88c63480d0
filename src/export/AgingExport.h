#pragma once

#include "reports/Aging.h"

#include <QLocale>
#include <QString>

#include <functional>

// The aging per client/supplier as tab-separated text, the way the list exports:
// a header line of captions (type, client/supplier, the five buckets, total,
// oldest due date), then one line per client/supplier, the credits' before the
// debits', every field in double quotes with inner quotes doubled, CR LF after
// every line. Amounts are plain numbers a spreadsheet adds up, dates the locale's
// short form with four-digit years; a sum past the range is written as words.
// The tables' totals are left to the spreadsheet.
QString agingExportText(const Aging &aging, const std::function<QString(int id)> &text,
                        const QLocale &locale = QLocale());
