#pragma once

#include "export/ExportTexts.h"
#include "export/ListedDeadline.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QLocale>
#include <QString>

// The open deadlines among rows as an iCalendar file (UTF-8) that calendar programs
// import: one all-day event per open deadline, closed ones left out. The summary is
// the description with the recurrence counter ("Rent 3 of 12"), the event's text
// holds the amount as money in the locale, the client/supplier and the notes, the
// category is the type name. Every event carries calendarUid(), so importing a newer
// export updates the events instead of adding copies. stamp (the clock's now) becomes
// every event's DTSTAMP.
QByteArray exportCalendar(const QList<ListedDeadline> &rows, const ExportTexts &texts,
                          const QDateTime &stamp, const QLocale &locale = QLocale());

// The same calendar written to device as it is made, so a long list never needs
// the whole file in memory (see SafeFileWriter::write(produce)). False when the
// device refused a write.
bool writeCalendar(QIODevice &device, const QList<ListedDeadline> &rows, const ExportTexts &texts,
                   const QDateTime &stamp, const QLocale &locale = QLocale());

// What identifies a deadline for as long as it exists: its sheet and its row id,
// under a domain of our own ("orvel2-3-1234@deadlines.orvel2.invalid").
QString calendarUid(const ListedDeadline &row);
