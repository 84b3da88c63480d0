#include "reports/ReportDocument.h"

ReportDocument::ReportDocument()
{
    // A plain sans-serif at a size that reads well on paper.
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPointSizeF(9);
}

QString ReportDocument::pageNumberText(int pageNumber, int pageCount) const
{
    return QString::number(pageNumber) + QLatin1Char(' ') + m_pageCountWord + QLatin1Char(' ')
        + QString::number(pageCount);
}
