#pragma once

#include "reports/ReportColumn.h"
#include "reports/ReportRow.h"

#include <QFont>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

// Everything a printed report shows: its title, its columns and rows, the
// pictures its rows refer to and the texts around the pages. Plain data; a
// ReportPageLayout puts it on pages.
class ReportDocument
{
public:
    // Widths in points for the columns, in their order, given the printable width
    // of the page in points. Applied whenever the report is laid out, so a change
    // of paper or margins refits the columns.
    using ColumnFitter = std::function<QList<qreal>(qreal printableWidth)>;

    ReportDocument();

    // Printed centred at the top of every page.
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    // The word between the page number and the page count ("of" in "2 of 5").
    QString pageCountWord() const { return m_pageCountWord; }
    void setPageCountWord(const QString &word) { m_pageCountWord = word; }
    // "2 of 5": the page number, the word and the count, separated by blanks.
    QString pageNumberText(int pageNumber, int pageCount) const;
    // Printed at the foot of the last page; lines separated by "\r\n" or "\n",
    // empty lines left out.
    QString footerText() const { return m_footerText; }
    void setFooterText(const QString &text) { m_footerText = text; }
    // Column headings on every page, or on the first page only.
    bool repeatsColumnHeaders() const { return m_repeatColumnHeaders; }
    void setRepeatColumnHeaders(bool on) { m_repeatColumnHeaders = on; }

    const QList<ReportColumn> &columns() const { return m_columns; }
    void setColumns(const QList<ReportColumn> &columns) { m_columns = columns; }
    const ColumnFitter &columnFitter() const { return m_columnFitter; }
    void setColumnFitter(ColumnFitter fitter) { m_columnFitter = std::move(fitter); }
    // How far each level of ReportRow::level indents its row, in points.
    qreal indentStep() const { return m_indentStep; }
    void setIndentStep(qreal points) { m_indentStep = points; }

    const QList<ReportRow> &rows() const { return m_rows; }
    void setRows(const QList<ReportRow> &rows) { m_rows = rows; }
    void setRows(QList<ReportRow> &&rows) { m_rows = std::move(rows); }

    // The picture a row's icon number stands for.
    QIcon picture(int number) const { return m_pictures.value(number); }
    QList<int> pictureNumbers() const { return m_pictures.keys(); }
    void setPicture(int number, const QIcon &icon) { m_pictures.insert(number, icon); }

    // The font of the rows; headings, captions and page texts derive from it.
    QFont font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }

private:
    QString m_title;
    QString m_pageCountWord;
    QString m_footerText;
    bool m_repeatColumnHeaders = false;
    QList<ReportColumn> m_columns;
    ColumnFitter m_columnFitter;
    qreal m_indentStep = 0;
    QList<ReportRow> m_rows;
    QHash<int, QIcon> m_pictures;
    QFont m_font;
};
