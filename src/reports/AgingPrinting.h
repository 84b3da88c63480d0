#pragma once

#include "reports/Aging.h"

#include <QString>

class ReportDocument;
class ReportTexts;

// The aging per client/supplier as a report: the title and the sheet's name on
// top of every page, the credits' and the debits' tables, the day it is as of
// at the foot of the last page.
void fillAgingReport(ReportDocument &document, const Aging &aging, const QString &sheetName,
                     const ReportTexts &texts);
