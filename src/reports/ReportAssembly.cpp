#include "reports/ReportAssembly.h"

#include "platform/DateFormat.h"
#include "reports/CounterpartyReport.h"
#include "reports/ReportColumnFit.h"
#include "reports/ReportDescription.h"
#include "reports/ReportDocument.h"
#include "reports/ReportFilter.h"
#include "reports/ReportPrinter.h"
#include "startup/Texts.h"

#include <QIcon>
#include <QPrinter>

#include <algorithm>

ReportTexts programReportTexts()
{
    const QLocale locale;
    return ReportTexts([](int id) { return Texts::text(id); }, locale,
                       [locale](const QDate &date) { return shortDateText(date, locale); });
}

void fillDeadlineReport(ReportDocument &document, const QList<ReportDeadline> &deadlines,
                        const ReportFilter &filter, const ReportTexts &texts, const ReportSettings &settings)
{
    document.setTitle(settings.sheetName);
    document.setPageCountWord(texts.text(ReportTexts::OfWord));
    document.setFooterText(describeReportFilter(filter, texts));
    document.setRepeatColumnHeaders(filter.repeatHeaders());
    document.setColumns(reportColumns(texts, fitReportColumns(0)));
    document.setColumnFitter(&reportColumnWidths);
    document.setIndentStep(ReportIndentStep);
    document.setRows(reportRows(deadlines, filter, texts, settings));

    // The list's own pictures, from the program's resources.
    const std::pair<int, const char *> pictures[] = {
        {OpenCreditPicture, "credit_open"},
        {OpenDebitPicture, "debit_open"},
        {OpenAppointmentPicture, "appointment_open"},
        {OpenRecurrencePicture, "recurrence_open"},
        {ClosedDebitPicture, "debit_closed"},
        {ClosedCreditPicture, "credit_closed"},
        {ClosedAppointmentPicture, "appointment_closed"},
        {ClosedRecurrencePicture, "recurrence_closed"},
    };
    for (const auto &[number, name] : pictures)
        document.setPicture(number, QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg")));
}

void fillCounterpartyReport(ReportDocument &document, const std::vector<Counterparty> &counterparties,
                            const QString &title, const ReportTexts &texts)
{
    document.setTitle(title);
    document.setPageCountWord(texts.text(ReportTexts::OfWord));
    document.setFooterText(QString());
    document.setRepeatColumnHeaders(true);
    document.setColumns(counterpartyReportColumns(texts));
    document.setColumnFitter(&counterpartyColumnWidths);
    document.setIndentStep(0);
    document.setRows(counterpartyReportRows(counterparties));
}

void prepareReportPrinter(QPrinter &printer, const QLocale &locale)
{
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF margins = layout.margins();
    constexpr qreal least = 15;
    layout.setMargins(QMarginsF(std::max(margins.left(), least), std::max(margins.top(), least),
                                std::max(margins.right(), least), std::max(margins.bottom(), least)));
    layout.setUnits(ReportPrinter::measuringUnit(locale));
    printer.setPageLayout(layout);
}
