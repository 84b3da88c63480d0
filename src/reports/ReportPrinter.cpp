#include "reports/ReportPrinter.h"

#include "export/SafeFileWriter.h"
#include "reports/ReportDocument.h"
#include "reports/ReportPageLayout.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>

ReportPrinter::ReportPrinter(const ReportDocument &document)
    : m_document(document)
{
}

bool ReportPrinter::print(QPagedPaintDevice *device) const
{
    if (!device)
        return false;
    const ReportPageLayout layout(m_document, device->pageLayout(), device->logicalDpiY());

    int first = 0;
    int last = layout.pageCount() - 1;
    if (const auto *printer = dynamic_cast<const QPrinter *>(device);
        printer && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = std::max(first, printer->fromPage() - 1);
        last = std::min(last, printer->toPage() > 0 ? printer->toPage() - 1 : last);
    }

    QPainter painter;
    if (!painter.begin(device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device->newPage();
        layout.paintPage(painter, page);
    }
    return painter.end();
}

bool ReportPrinter::savePdf(const QString &fileName, const QPageLayout &pageLayout, const QString &title,
                            QString *errorText) const
{
    SafeFileWriter writer(fileName);
    const bool written = writer.write([&](QIODevice &device) {
        QPdfWriter pdf(&device);
        pdf.setResolution(1200);   // as a high-resolution printer lays the pages out
        pdf.setTitle(title);
        return pdf.setPageLayout(pageLayout) && print(&pdf);
    });
    if (!written && errorText)
        *errorText = writer.errorText();
    return written;
}

QPageLayout::Unit ReportPrinter::measuringUnit(const QLocale &locale)
{
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageLayout::Inch
                                                                   : QPageLayout::Millimeter;
}
