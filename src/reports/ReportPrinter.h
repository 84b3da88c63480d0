#pragma once

#include <QLocale>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class ReportDocument;

// Puts a report on paper or into a PDF. One routine paints for the print
// preview (QPrintPreviewDialog::paintRequested hands it its QPrinter), for the
// printer and for a PDF file, so all three show the same pages.
class ReportPrinter
{
public:
    explicit ReportPrinter(const ReportDocument &document);

    // Lays the report out on the device's pages, then paints them: all of them,
    // or the range a QPrinter was given. False when painting could not start.
    bool print(QPagedPaintDevice *device) const;

    // Writes the report as a PDF file, with the given pages and the title the
    // PDF's readers show, whole or not at all (SafeFileWriter): a failed write
    // leaves the old file, and errorText gets the path and the system's reason.
    bool savePdf(const QString &fileName, const QPageLayout &pageLayout, const QString &title,
                 QString *errorText = nullptr) const;

    // The unit page sizes and margins are shown in: inches where the locale
    // measures in the U.S. system, millimetres elsewhere.
    static QPageLayout::Unit measuringUnit(const QLocale &locale);

private:
    const ReportDocument &m_document;
};
