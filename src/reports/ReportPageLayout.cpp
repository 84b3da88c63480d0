#include "reports/ReportPageLayout.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Measures text as a device of the given resolution would, without being one:
// fonts resolve their sizes through the device's resolution, so the layout and
// the later painting on the real printer or PDF writer agree to the pixel.
class ResolutionDevice final : public QPaintDevice
{
public:
    explicit ResolutionDevice(int resolution)
        : m_resolution(resolution)
    {
    }
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_resolution;
        case PdmWidth:
        case PdmHeight:
            return 10 * m_resolution;
        case PdmWidthMM:
        case PdmHeightMM:
            return 254;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int m_resolution;
};

const QColor Ink(0x1a, 0x1a, 0x1a);
const QColor RuleColour(0x40, 0x40, 0x40);
const QColor HairlineColour(0xd0, 0xd0, 0xd0);
const QColor GroupBand(0xec, 0xec, 0xec);
const QColor SheetBand(0xdc, 0xdc, 0xdc);
// The list's own "Expired" shade.
const QColor ExpiredShade(255, 255, 234);

// Unhinted outlines: what a printer and a PDF show, at any resolution.
QFont printFont(QFont font)
{
    // Sizes on paper are in points; a font sized in pixels has none.
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(9);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

} // namespace

ReportPageLayout::ReportPageLayout(const ReportDocument &document, const QPageLayout &pageLayout,
                                   int resolution)
    : m_document(document)
    , m_resolution(std::max(resolution, 1))
    , m_metricsDevice(std::make_unique<ResolutionDevice>(m_resolution))
{
    const QRect paintRect = pageLayout.paintRectPixels(m_resolution);
    m_area = QRectF(0, 0, paintRect.width(), paintRect.height());

    m_bodyFont = printFont(document.font());
    m_boldFont = m_bodyFont;
    m_boldFont.setBold(true);
    m_titleFont = m_boldFont;
    m_titleFont.setPointSizeF(m_bodyFont.pointSizeF() * 4 / 3);
    m_smallFont = m_bodyFont;
    m_smallFont.setPointSizeF(m_bodyFont.pointSizeF() * 8 / 9);

    const QFontMetricsF body(m_bodyFont, m_metricsDevice.get());
    const QFontMetricsF bold(m_boldFont, m_metricsDevice.get());
    const QFontMetricsF title(m_titleFont, m_metricsDevice.get());
    const QFontMetricsF small(m_smallFont, m_metricsDevice.get());
    m_bodyLine = body.lineSpacing();
    m_boldLine = bold.lineSpacing();
    m_bodyAscent = body.ascent();
    m_boldAscent = bold.ascent();
    m_padX = points(2.5);
    m_padY = points(1.8);
    m_groupGap = points(4);
    m_iconSize = std::min(m_bodyLine, body.height());
    m_indent = points(document.indentStep());

    const QList<ReportColumn> &columns = document.columns();
    if (document.columnFitter())
        m_columnWidths = document.columnFitter()(pageLayout.paintRect(QPageLayout::Point).width());
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (c >= m_columnWidths.size())
            m_columnWidths.append(columns[c].width);
    }
    const QList<ReportRow> &rows = document.rows();
    m_headerLevel = 1;
    for (const ReportRow &row : rows) {
        if (!row.isGroup()) {
            m_headerLevel = row.level;
            break;
        }
    }

    // Room the indentation leaves unused goes to the columns that wrap, in
    // proportion to their widths, so their texts take fewer lines; the columns
    // then end at the right margin like the rules do. Without such columns the
    // last one takes it.
    qreal used = rowIndent(m_headerLevel);
    for (qreal width : std::as_const(m_columnWidths))
        used += points(width);
    if (!m_columnWidths.isEmpty() && used < m_area.width()) {
        const qreal spare = (m_area.width() - used) * 72.0 / m_resolution;
        qreal wrapping = 0;
        for (qsizetype c = 0; c < columns.size() && c < m_columnWidths.size(); ++c)
            wrapping += columns[c].wraps ? m_columnWidths[c] : 0;
        if (wrapping > 0) {
            for (qsizetype c = 0; c < columns.size() && c < m_columnWidths.size(); ++c) {
                if (columns[c].wraps)
                    m_columnWidths[c] += spare * m_columnWidths[c] / wrapping;
            }
        } else {
            m_columnWidths.last() += spare;
        }
    }
    qreal left = 0;
    for (qreal width : std::as_const(m_columnWidths)) {
        m_columnLefts.append(left);
        left += points(width);
    }

    // Title line, a gap, the rule and a gap before the body.
    m_headerHeight = title.lineSpacing() + points(3) + points(8);
    m_columnHeaderHeight = m_boldLine + 2 * m_padY + points(2);
    for (const QString &line : document.footerText().split(QLatin1Char('\n'))) {
        const QString text = line.trimmed();
        if (text.isEmpty())
            continue;
        if (small.horizontalAdvance(text) <= m_area.width())
            m_footerLines.append(text);
        else
            m_footerLines.append(wrap(text, m_smallFont, m_area.width()));
    }
    if (!m_footerLines.isEmpty())
        m_footerHeight = points(10) + m_footerLines.size() * small.lineSpacing();

    measureRows();
    breakPages();

    // One picture per number at the size it prints, so a PDF holds each once.
    const int pixels = std::clamp(int(std::ceil(m_iconSize)), 1, 128);
    for (int number : document.pictureNumbers())
        m_pixmaps.insert(number, document.picture(number).pixmap(QSize(pixels, pixels)));
}

ReportPageLayout::~ReportPageLayout() = default;

QRectF ReportPageLayout::cellRect(int column, int level, qreal top, qreal height) const
{
    return QRectF(rowIndent(level) + m_columnLefts.value(column), top,
                  points(m_columnWidths.value(column)), height);
}

qreal ReportPageLayout::cellTextWidth(const ReportRow &row, int column) const
{
    qreal width = points(m_columnWidths.value(column)) - 2 * m_padX;
    if (row.icons.value(column) != 0)
        width -= m_iconSize + m_padX;
    return std::max<qreal>(width, 1);
}

QStringList ReportPageLayout::wrap(const QString &text, const QFont &font, qreal width) const
{
    QStringList lines;
    // Line breaks of the text itself stay breaks; a carriage return adds nothing.
    QString laid = text;
    laid.remove(QLatin1Char('\r'));
    laid.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(laid, font, m_metricsDevice.get());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString piece = laid.mid(line.textStart(), line.textLength());
        piece.remove(QChar::LineSeparator);
        piece = piece.trimmed();
        if (!piece.isEmpty())
            lines.append(piece);
    }
    layout.endLayout();
    return lines;
}

void ReportPageLayout::measureRows()
{
    const QList<ReportRow> &rows = m_document.rows();
    const QList<ReportColumn> &columns = m_document.columns();
    const QFontMetricsF body(m_bodyFont, m_metricsDevice.get());
    const QFontMetricsF bold(m_boldFont, m_metricsDevice.get());
    m_rowLines.resize(rows.size());

    for (qsizetype r = 0; r < rows.size(); ++r) {
        const ReportRow &row = rows[r];
        RowLines &laid = m_rowLines[r];
        if (row.isGroup()) {
            const qreal width = m_area.width() - rowIndent(row.level) - 2 * m_padX;
            int lineCount = 1;
            if (bold.horizontalAdvance(row.caption) > width) {
                laid.lines.append(wrap(row.caption, m_boldFont, width));
                lineCount = std::max<int>(1, laid.lines.first().size());
            }
            laid.height = lineCount * m_boldLine + 2 * m_padY + (row.level > 0 ? m_groupGap : 0);
            continue;
        }
        int lineCount = 1;
        laid.advances.resize(row.cells.size());
        for (qsizetype c = 0; c < row.cells.size() && c < columns.size(); ++c) {
            if (row.cells[c].isEmpty())
                continue;
            const qreal advance = body.horizontalAdvance(row.cells[c]);
            laid.advances[c] = advance;
            // A text of several lines (a note) keeps its lines in a column that wraps.
            const bool breaks = row.cells[c].contains(QLatin1Char('\n'));
            if (!columns[c].wraps || (advance <= cellTextWidth(row, int(c)) && !breaks))
                continue;
            if (laid.lines.isEmpty())
                laid.lines.resize(row.cells.size());
            laid.lines[c] = wrap(row.cells[c], m_bodyFont, cellTextWidth(row, int(c)));
            lineCount = std::max<int>(lineCount, laid.lines[c].size());
        }
        laid.height = lineCount * m_bodyLine + 2 * m_padY;
    }
}

qreal ReportPageLayout::keepWithNextHeight(qsizetype row) const
{
    const QList<ReportRow> &rows = m_document.rows();
    qreal height = 0;
    for (qsizetype r = row; r < rows.size(); ++r) {
        height += m_rowLines[r].height;
        if (!rows[r].isGroup())
            break;
    }
    return height;
}

void ReportPageLayout::breakPages()
{
    const QList<ReportRow> &rows = m_document.rows();
    const bool repeat = m_document.repeatsColumnHeaders();
    const qreal bottom = m_area.height();
    auto bodyTop = [this](bool headers) { return m_headerHeight + (headers ? m_columnHeaderHeight : 0); };

    Page page;
    page.columnHeaders = true;
    qreal y = bodyTop(true);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        // A group caption never ends a page: it moves on with the rows it heads.
        const qreal needed = rows[r].isGroup() ? keepWithNextHeight(r) : m_rowLines[r].height;
        if (r > page.firstRow && y + needed > bottom) {
            page.endRow = r;
            m_pages.append(page);
            page = Page{r, r, repeat, false};
            y = bodyTop(repeat);
        }
        y += m_rowLines[r].height;
    }
    page.endRow = rows.size();
    m_pages.append(page);

    if (m_footerHeight > 0 && y + m_footerHeight > bottom) {
        // The footer needs room of its own: the last deadline, with the captions
        // that head it, moves to a page that then carries the footer.
        Page &last = m_pages.last();
        qsizetype start = std::max(last.firstRow, last.endRow - 1);
        while (start > last.firstRow && rows[start - 1].isGroup())
            --start;
        const qsizetype end = last.endRow;
        if (start > last.firstRow)
            last.endRow = start;
        else
            start = end; // nothing can move without emptying the page: the footer stands alone
        m_pages.append(Page{start, end, repeat, false});
    }
    m_pages.last().footer = true;
}

void ReportPageLayout::paintPage(QPainter &painter, int page) const
{
    if (page < 0 || page >= m_pages.size())
        return;
    const Page &laid = m_pages[page];
    painter.save();
    painter.setClipRect(m_area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    paintHeader(painter, page);
    qreal y = m_headerHeight;
    if (laid.columnHeaders) {
        paintColumnHeaders(painter, y);
        y += m_columnHeaderHeight;
    }
    for (qsizetype r = laid.firstRow; r < laid.endRow; ++r)
        y += paintRow(painter, r, y);
    if (laid.footer)
        paintFooter(painter);
    painter.restore();
}

void ReportPageLayout::paintHeader(QPainter &painter, int page) const
{
    const QFontMetricsF title(m_titleFont, m_metricsDevice.get());
    const QFontMetricsF small(m_smallFont, m_metricsDevice.get());
    const qreal baseline = title.ascent();

    const QString number = m_document.pageNumberText(page + 1, pageCount());
    const qreal numberWidth = small.horizontalAdvance(number);
    painter.setPen(Ink);
    painter.setFont(m_smallFont);
    painter.drawText(QPointF(m_area.right() - numberWidth, baseline), number);

    // The title stays clear of the page number on both sides, so it stays centred.
    const qreal room = m_area.width() - 2 * (numberWidth + points(12));
    const QString text = title.elidedText(m_document.title(), Qt::ElideRight, room);
    painter.setFont(m_titleFont);
    painter.drawText(QPointF(m_area.center().x() - title.horizontalAdvance(text) / 2, baseline), text);

    const qreal ruleY = title.lineSpacing() + points(3);
    painter.setPen(QPen(RuleColour, points(0.75)));
    painter.drawLine(QPointF(0, ruleY), QPointF(m_area.right(), ruleY));
}

void ReportPageLayout::paintColumnHeaders(QPainter &painter, qreal top) const
{
    const QList<ReportColumn> &columns = m_document.columns();
    const QFontMetricsF bold(m_boldFont, m_metricsDevice.get());
    painter.setFont(m_boldFont);
    painter.setPen(Ink);
    const qreal baseline = top + m_padY + m_boldAscent;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const QRectF cell = cellRect(int(c), m_headerLevel, top, m_boldLine);
        const qreal room = std::max<qreal>(cell.width() - 2 * m_padX, 1);
        const QString text = bold.elidedText(columns[c].caption, Qt::ElideRight, room);
        qreal x = cell.left() + m_padX;
        if (columns[c].alignment & Qt::AlignRight)
            x = cell.right() - m_padX - bold.horizontalAdvance(text);
        else if (columns[c].alignment & Qt::AlignHCenter)
            x = cell.center().x() - bold.horizontalAdvance(text) / 2;
        painter.drawText(QPointF(x, baseline), text);
    }
    const qreal ruleY = top + m_boldLine + 2 * m_padY;
    painter.setPen(QPen(RuleColour, points(0.5)));
    painter.drawLine(QPointF(rowIndent(m_headerLevel), ruleY), QPointF(m_area.right(), ruleY));
}

qreal ReportPageLayout::paintRow(QPainter &painter, qsizetype r, qreal top) const
{
    const ReportRow &row = m_document.rows()[r];
    const RowLines &laid = m_rowLines[r];
    const qreal left = rowIndent(row.level);

    if (row.isGroup()) {
        const qreal bandTop = top + (row.level > 0 ? m_groupGap : 0);
        const qreal bandHeight = laid.height - (bandTop - top);
        painter.fillRect(QRectF(left, bandTop, m_area.width() - left, bandHeight),
                         row.level == 0 ? SheetBand : GroupBand);
        painter.setFont(m_boldFont);
        painter.setPen(Ink);
        const QStringList lines = laid.lines.isEmpty() ? QStringList{row.caption} : laid.lines.first();
        qreal baseline = bandTop + m_padY + m_boldAscent;
        for (const QString &line : lines) {
            painter.drawText(QPointF(left + m_padX, baseline), line);
            baseline += m_boldLine;
        }
        return laid.height;
    }

    if (row.flags & ReportRow::Expired)
        painter.fillRect(QRectF(left, top, m_area.width() - left, laid.height), ExpiredShade);
    painter.setFont(m_bodyFont);
    painter.setPen(Ink);
    const QFontMetricsF body(m_bodyFont, m_metricsDevice.get());
    const qsizetype cells = std::max(row.cells.size(), row.icons.size());
    for (qsizetype c = 0; c < cells && c < m_columnWidths.size(); ++c)
        paintCell(painter, body, row, int(c), laid, top);

    painter.setPen(QPen(HairlineColour, points(0.4)));
    painter.drawLine(QPointF(left, top + laid.height), QPointF(m_area.right(), top + laid.height));
    painter.setPen(Ink);
    return laid.height;
}

void ReportPageLayout::paintCell(QPainter &painter, const QFontMetricsF &metrics, const ReportRow &row,
                                 int column, const RowLines &laid, qreal top) const
{
    const QRectF cell = cellRect(column, row.level, top, laid.height);
    const ReportColumn &columnFormat = m_document.columns()[column];
    const QString text = row.cells.value(column);
    qreal textLeft = cell.left() + m_padX;

    if (const int picture = row.icons.value(column); picture != 0) {
        const QPixmap pixmap = m_pixmaps.value(picture);
        qreal x = textLeft;
        if (text.isEmpty() && (columnFormat.alignment & Qt::AlignHCenter))
            x = cell.center().x() - m_iconSize / 2;
        const qreal y = top + m_padY + (m_bodyLine - m_iconSize) / 2;
        if (!pixmap.isNull())
            painter.drawPixmap(QRectF(x, y, m_iconSize, m_iconSize), pixmap, QRectF(pixmap.rect()));
        textLeft += m_iconSize + m_padX;
    }
    if (text.isEmpty())
        return;

    const qreal right = cell.right() - m_padX;
    auto place = [&](qreal advance) {
        if (columnFormat.alignment & Qt::AlignRight)
            return right - advance;
        if (columnFormat.alignment & Qt::AlignHCenter)
            return (textLeft + right - advance) / 2;
        return textLeft;
    };
    qreal baseline = top + m_padY + m_bodyAscent;
    const QStringList &lines = laid.lines.value(column);
    if (lines.isEmpty()) {
        // A text too wide for a column that does not wrap is shortened, never
        // drawn across its neighbour.
        const qreal room = std::max<qreal>(right - textLeft, 1);
        const qreal advance = laid.advances.value(column);
        if (advance > room) {
            const QString elided = metrics.elidedText(text, Qt::ElideRight, room);
            painter.drawText(QPointF(place(metrics.horizontalAdvance(elided)), baseline), elided);
        } else {
            painter.drawText(QPointF(place(advance), baseline), text);
        }
        return;
    }
    const bool leftAligned = !(columnFormat.alignment & (Qt::AlignRight | Qt::AlignHCenter));
    for (const QString &line : lines) {
        painter.drawText(QPointF(leftAligned ? textLeft : place(metrics.horizontalAdvance(line)), baseline), line);
        baseline += m_bodyLine;
    }
}

void ReportPageLayout::paintFooter(QPainter &painter) const
{
    if (m_footerLines.isEmpty())
        return;
    const QFontMetricsF small(m_smallFont, m_metricsDevice.get());
    const qreal top = m_area.bottom() - m_footerHeight + points(4);
    painter.setPen(QPen(RuleColour, points(0.75)));
    painter.drawLine(QPointF(0, top), QPointF(m_area.right(), top));
    painter.setFont(m_smallFont);
    painter.setPen(Ink);
    qreal baseline = top + points(6) + small.ascent();
    for (const QString &line : m_footerLines) {
        painter.drawText(QPointF(m_area.center().x() - small.horizontalAdvance(line) / 2, baseline), line);
        baseline += small.lineSpacing();
    }
}
