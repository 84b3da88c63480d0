#include "reports/ReportDescription.h"

#include "reports/ReportFilter.h"
#include "reports/ReportTexts.h"

#include <QStringList>

namespace {

QString filterLine(const ReportFilter &filter, const ReportTexts &texts)
{
    if (filter.selectsEverything())
        return QString();

    const QString separator = QStringLiteral(" | ");
    QString line = texts.text(ReportTexts::FilterLabel) + QStringLiteral(": ");

    const bool open = filter.isStateChecked(ReportFilter::OpenBox);
    const bool closed = filter.isStateChecked(ReportFilter::ClosedBox);
    if (open != closed)
        line += texts.text(open ? ReportTexts::OpenDeadlines : ReportTexts::ClosedDeadlines) + separator;

    static const ReportTexts::Id typeCaptions[] = {ReportTexts::Credits, ReportTexts::Debits,
                                                   ReportTexts::Appointments};
    QStringList types;
    for (int box = ReportFilter::CreditsBox; box <= ReportFilter::AppointmentsBox; ++box) {
        if (filter.isTypeChecked(ReportFilter::TypeBox(box)))
            types << texts.text(typeCaptions[box]);
    }
    if (types.size() < 3)
        line += types.join(QStringLiteral(", ")) + separator;

    if (filter.hasPeriod()) {
        line += texts.shortDate(filter.periodFirst()) + QStringLiteral(" - ")
            + texts.shortDate(filter.periodLast()) + separator;
    }
    if (filter.hasCounterparty())
        line += filter.counterpartyName();

    if (line.endsWith(separator))
        line.chop(separator.size());
    return line;
}

QString groupingLine(const ReportFilter &filter, const ReportTexts &texts)
{
    if (filter.grouping() == ReportFilter::NoGrouping)
        return QString();
    return texts.text(ReportTexts::GroupingLabel) + QStringLiteral(": ")
        + texts.text(ReportTexts::NoGroupingItem + int(filter.grouping()));
}

} // namespace

QString describeReportFilter(const ReportFilter &filter, const ReportTexts &texts)
{
    return filterLine(filter, texts) + QStringLiteral("\r\n") + groupingLine(filter, texts);
}

QString reportDocumentTitle(const QString &sheetName, const QString &description)
{
    QStringList parts{sheetName};
    for (const QString &line : description.split(QStringLiteral("\r\n"))) {
        QString plain;
        plain.reserve(line.size());
        for (qsizetype i = 0; i < line.size(); ++i) {
            // "&&" stands for one ampersand; a lone one marks the next letter.
            if (line[i] == u'&' && i + 1 < line.size())
                ++i;
            plain += line[i];
        }
        if (!plain.trimmed().isEmpty())
            parts << plain.trimmed();
    }
    return parts.join(QStringLiteral(" - "));
}
