#pragma once

#include "reports/ReportTexts.h"
#include "store/ReportStore.h"

#include <QDate>
#include <QList>
#include <QString>

// Plausible deadlines of a small firm for the report benchmark and for looking
// at a printed sample: rent and utilities that recur monthly, invoices to
// clients, tax payments and appointments, around a given day.
QList<ReportDeadline> sampleReportDeadlines(int count, const QDate &today, quint32 seed);

// The program's words in one language ("English", "Italian", ...) read from
// the text table's source file.
ReportTexts::Lookup sampleReportLookup(const QString &tablePath, const QString &language);
