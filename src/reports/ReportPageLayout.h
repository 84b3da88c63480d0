#pragma once

#include "reports/ReportDocument.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QPixmap>
#include <QRectF>
#include <QStringList>

#include <memory>

class QFontMetricsF;
class QPainter;
class QPaintDevice;

// A report put on pages: every row measured and every page break chosen once,
// so the page count is known before the first page is painted. Works in the
// pixels of a device of the given resolution with its origin at the top left of
// the page's printable area, as QPrinter and QPdfWriter paint. The document
// must outlive the layout.
class ReportPageLayout
{
public:
    ReportPageLayout(const ReportDocument &document, const QPageLayout &pageLayout, int resolution);
    ~ReportPageLayout();
    ReportPageLayout(const ReportPageLayout &) = delete;
    ReportPageLayout &operator=(const ReportPageLayout &) = delete;

    int pageCount() const { return int(m_pages.size()); }
    // Rows of the document on a page (0-based), as [first, end).
    qsizetype firstRowOf(int page) const { return m_pages[page].firstRow; }
    qsizetype endRowOf(int page) const { return m_pages[page].endRow; }
    // Column widths in points after fitting to the page; the columns that wrap
    // share whatever width the page has left.
    QList<qreal> columnWidths() const { return m_columnWidths; }

    // Paints one page (0-based) with painter, which paints on a device of the
    // layout's resolution.
    void paintPage(QPainter &painter, int page) const;

private:
    struct Page
    {
        qsizetype firstRow = 0;
        qsizetype endRow = 0;
        bool columnHeaders = false;
        bool footer = false;
    };
    // Lines of a row's texts when one does not fit on a single line: per cell,
    // or the caption's lines for a group row. Empty when everything fits. The
    // width of each cell's text on one line, measured once for the painting too.
    struct RowLines
    {
        qreal height = 0;
        QList<QStringList> lines;
        QList<qreal> advances;
    };

    qreal points(qreal pt) const { return pt * m_resolution / 72.0; }
    void measureRows();
    void breakPages();
    qreal keepWithNextHeight(qsizetype row) const;
    qreal rowIndent(int level) const { return level * m_indent; }
    QRectF cellRect(int column, int level, qreal top, qreal height) const;
    qreal cellTextWidth(const ReportRow &row, int column) const;
    QStringList wrap(const QString &text, const QFont &font, qreal width) const;

    void paintHeader(QPainter &painter, int page) const;
    void paintColumnHeaders(QPainter &painter, qreal top) const;
    qreal paintRow(QPainter &painter, qsizetype row, qreal top) const;
    void paintCell(QPainter &painter, const QFontMetricsF &metrics, const ReportRow &row, int column,
                   const RowLines &laid, qreal top) const;
    void paintFooter(QPainter &painter) const;

    const ReportDocument &m_document;
    int m_resolution = 72;
    std::unique_ptr<QPaintDevice> m_metricsDevice;
    QRectF m_area;                 // the printable area, from (0, 0)
    QList<qreal> m_columnWidths;   // points
    QList<qreal> m_columnLefts;    // pixels, from the deadline rows' indent
    qreal m_indent = 0;
    int m_headerLevel = 0;         // the level whose indent the column headers take

    QFont m_bodyFont;
    QFont m_boldFont;
    QFont m_titleFont;
    QFont m_smallFont;
    qreal m_bodyLine = 0;
    qreal m_boldLine = 0;
    qreal m_bodyAscent = 0;
    qreal m_boldAscent = 0;
    qreal m_padX = 0;
    qreal m_padY = 0;
    qreal m_groupGap = 0;
    qreal m_iconSize = 0;

    qreal m_headerHeight = 0;
    qreal m_columnHeaderHeight = 0;
    qreal m_footerHeight = 0;
    QStringList m_footerLines;

    QList<RowLines> m_rowLines;
    QList<Page> m_pages;
    QHash<int, QPixmap> m_pixmaps;
};
