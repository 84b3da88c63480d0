#include "reports/AgingPrinting.h"

#include "reports/AgingReport.h"
#include "reports/ReportDocument.h"
#include "reports/ReportTexts.h"

namespace {

constexpr qreal AgingIndentStep = 8;

} // namespace

void fillAgingReport(ReportDocument &document, const Aging &aging, const QString &sheetName,
                     const ReportTexts &texts)
{
    document.setTitle(texts.text(AgingText::Title) + QStringLiteral(" \u2013 ") + sheetName);
    document.setPageCountWord(texts.text(ReportTexts::OfWord));
    document.setFooterText(agingAsOfText(aging, texts));
    document.setRepeatColumnHeaders(true);
    document.setColumns(agingReportColumns(texts));
    document.setColumnFitter(&agingColumnWidths);
    document.setIndentStep(AgingIndentStep);
    document.setRows(agingReportRows(aging, texts));
}
