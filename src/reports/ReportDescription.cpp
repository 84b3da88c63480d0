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
