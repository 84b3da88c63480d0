#include "ReportTestTexts.h"
#include "../support/PdfText.h"

#include "reports/ReportContent.h"
#include "reports/ReportDescription.h"
#include "reports/ReportDocument.h"
#include "reports/ReportFilter.h"
#include "reports/ReportPageLayout.h"
#include "reports/ReportPrinter.h"

#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString SheetName = QStringLiteral("Main ledger");
const QString LongCounterparty = QStringLiteral("Zephyr Holdings");

QPageLayout a4Portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

// Forty words that occur nowhere else in the report.
QStringList longDescriptionWords()
{
    QStringList words;
    for (int i = 1; i <= 40; ++i)
        words << QStringLiteral("clause%1").arg(i, 2, 10, QLatin1Char('0'));
    return words;
}

// Deadlines every few days from January 2027, one of them with a description
// far too long for its column.
QList<ReportDeadline> sampleDeadlines(int count)
{
    static const QString names[] = {QStringLiteral("Northwind Traders"), QStringLiteral("Contoso"), QString(),
                                    QStringLiteral("Fabrikam")};
    QList<ReportDeadline> deadlines;
    for (int i = 0; i < count; ++i) {
        ReportDeadline d;
        d.rowId = i + 1;
        d.type = i % 3 == 0 ? -1 : 1;
        d.date = QDate(2027, 1, 4).addDays(i * 4);
        d.description = QStringLiteral("Entry %1").arg(i + 1, 3, 10, QLatin1Char('0'));
        d.counterparty = names[i % 4];
        d.value = Currency::fromUnits(1'000'000 + i * 12'345);
        d.balance = Currency::fromUnits(d.value->units() * d.type);
        if (i == 5) {
            d.description = QStringLiteral("Contract ") + longDescriptionWords().join(QLatin1Char(' '));
            d.counterparty = LongCounterparty;
        }
        deadlines << d;
    }
    return deadlines;
}

ReportFilter sampleFilter()
{
    ReportFilter filter;
    filter.setTypeChecked(ReportFilter::AppointmentsBox, false);
    filter.setGrouping(ReportFilter::ByDate);
    filter.setDateMode(ReportFilter::QuarterMode);
    return filter;
}

void fillDocument(ReportDocument &document, const QList<ReportDeadline> &deadlines, const ReportFilter &filter,
                  const ReportTexts &texts, bool repeatHeaders)
{
    ReportSettings settings;
    settings.sheetName = SheetName;
    settings.today = QDate(2027, 3, 1);
    document.setTitle(SheetName);
    document.setPageCountWord(texts.text(ReportTexts::OfWord));
    document.setFooterText(describeReportFilter(filter, texts));
    document.setRepeatColumnHeaders(repeatHeaders);
    document.setColumns(reportColumns(texts, fitReportColumns(0)));
    document.setColumnFitter(&reportColumnWidths);
    document.setIndentStep(ReportIndentStep);
    document.setRows(reportRows(deadlines, filter, texts, settings));
    const QString icons = QStringLiteral(ORVEL_ICONS_DIR "/");
    document.setPicture(OpenCreditPicture, QIcon(icons + "credit_open.svg"));
    document.setPicture(OpenDebitPicture, QIcon(icons + "debit_open.svg"));
}

// The smallest number of sample deadlines that fills exactly three pages.
int deadlinesForThreePages(const ReportTexts &texts, bool repeatHeaders)
{
    for (int count = 20; count < 1000; ++count) {
        ReportDocument document;
        fillDocument(document, sampleDeadlines(count), sampleFilter(), texts, repeatHeaders);
        if (ReportPageLayout(document, a4Portrait(), 1200).pageCount() == 3)
            return count;
    }
    return 0;
}

QStringList pdfPages(const QString &fileName)
{
    return pdfPages(QStringLiteral(PDFTOTEXT_EXECUTABLE), fileName);
}

QString withoutBlanks(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

bool containsWords(const QString &text, const QString &words)
{
    return text.contains(QRegularExpression(QStringLiteral("(^|\\s)") + QRegularExpression::escape(words)
                                            + QStringLiteral("(\\s|$)")));
}

} // namespace

class TestReportPrinting final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(QStringLiteral(PDFTOTEXT_EXECUTABLE)).isExecutable(),
                 "pdftotext (poppler-utils) is missing: run scripts/setup");
        QVERIFY(m_dir.isValid());
    }

    void threePages()
    {
        const struct { const char *row; QString language; bool repeatHeaders; } cases[] = {
            {"English, headers once", "English", false},
            {"Italian, headers repeated", "Italian", true},
        };
        for (const auto &[row, language, repeatHeaders] : cases) {
            const auto named = qScopeGuard([row] { if (QTest::currentTestFailed()) qWarning("row: %s", row); });
            const ReportTexts texts = reportTextsIn(language);

            const int count = deadlinesForThreePages(texts, repeatHeaders);
            QVERIFY(count > 0);
            ReportDocument document;
            fillDocument(document, sampleDeadlines(count), sampleFilter(), texts, repeatHeaders);
            const QString file = m_dir.filePath(QStringLiteral("three-%1-%2.pdf").arg(language).arg(repeatHeaders));
            QVERIFY(ReportPrinter(document).savePdf(file, a4Portrait(), SheetName));

            const QStringList pages = pdfPages(file);
            QCOMPARE(pages.size(), 3);
            const QStringList footer = describeReportFilter(sampleFilter(), texts).split(QStringLiteral("\r\n"));
            QCOMPARE(footer.size(), 2);
            for (int p = 0; p < 3; ++p) {
                const QString &page = pages[p];
                const QString number = QStringLiteral("%1 %2 3").arg(p + 1).arg(texts.text(ReportTexts::OfWord));
                // The first line holds the title and the page number, nothing else;
                // compared without blanks, which pdftotext drops around a lone "/".
                const QString header = page.trimmed().section(QLatin1Char('\n'), 0, 0);
                QCOMPARE(withoutBlanks(header), withoutBlanks(SheetName + number));
                const bool headers = p == 0 || repeatHeaders;
                QCOMPARE(containsWords(page, texts.text(ReportTexts::DescriptionColumn)), headers);
                QCOMPARE(containsWords(page, texts.text(ReportTexts::AmountColumn)), headers);
                const bool last = p == 2;
                QCOMPARE(page.contains(footer[0]), last);
                QCOMPARE(page.contains(footer[1]), last);
            }

            // The long description: every word whole and in order, over several lines,
            // and the next column's text untouched.
            const QString &first = pages[0];
            qsizetype from = 0;
            QSet<qsizetype> lines;
            for (const QString &word : longDescriptionWords()) {
                const QRegularExpressionMatch match =
                    QRegularExpression(QStringLiteral("\\b%1\\b").arg(word)).match(first, from);
                QVERIFY2(match.hasMatch(), qPrintable(word + QStringLiteral(" missing or out of order\n") + first));
                from = match.capturedEnd();
                lines.insert(first.left(match.capturedStart()).count(QLatin1Char('\n')));
            }
            QVERIFY(lines.size() >= 3);
            QVERIFY(containsWords(first, LongCounterparty));

            // A printer told to print page 2 only gets page 2, still numbered "2 of 3".
            const QString second = m_dir.filePath(QStringLiteral("second-%1.pdf").arg(language));
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(second);
            printer.setPageLayout(a4Portrait());
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(2, 2);
            QVERIFY(ReportPrinter(document).print(&printer));
            const QStringList printed = pdfPages(second);
            QCOMPARE(printed.size(), 1);
            QCOMPARE(withoutBlanks(printed[0].trimmed().section(QLatin1Char('\n'), 0, 0)),
                     withoutBlanks(SheetName + QStringLiteral("2 %1 3").arg(texts.text(ReportTexts::OfWord))));
        }
    }

    void captionsStayWithTheirRows()
    {
        const ReportTexts texts = englishReportTexts();
        ReportFilter filter;
        filter.setGrouping(ReportFilter::ByDateThenCounterparty);
        filter.setDateMode(ReportFilter::MonthMode);
        ReportDocument document;
        fillDocument(document, sampleDeadlines(400), filter, texts, true);
        const ReportPageLayout layout(document, a4Portrait(), 300);
        QVERIFY(layout.pageCount() > 5);

        const QList<ReportRow> &rows = document.rows();
        qsizetype expectedFirst = 0;
        for (int page = 0; page < layout.pageCount(); ++page) {
            QCOMPARE(layout.firstRowOf(page), expectedFirst);
            QVERIFY(layout.endRowOf(page) > layout.firstRowOf(page));
            QVERIFY2(!rows[layout.endRowOf(page) - 1].isGroup(), qPrintable(QString::number(page)));
            expectedFirst = layout.endRowOf(page);
        }
        QCOMPARE(expectedFirst, rows.size());

        // The same report on smaller paper, laid out at another resolution, needs more pages.
        const QPageLayout a5(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                             QPageLayout::Millimeter);
        QVERIFY(ReportPageLayout(document, a5, 600).pageCount() > layout.pageCount());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestReportPrinting)
#include "tst_reportprinting.moc"
