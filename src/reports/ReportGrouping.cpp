#include "reports/ReportGrouping.h"

#include "reports/ReportTexts.h"

namespace {

QString yearText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy"));
}

int quarterOf(const QDate &date)
{
    return (date.month() - 1) / 3 + 1;
}

} // namespace

QList<ReportGroupLevel> reportGroupLevels(ReportFilter::Grouping grouping)
{
    switch (grouping) {
    case ReportFilter::NoGrouping:
        return {};
    case ReportFilter::ByDate:
        return {ReportGroupLevel::Date};
    case ReportFilter::ByCounterparty:
        return {ReportGroupLevel::Counterparty};
    case ReportFilter::ByDateThenCounterparty:
        return {ReportGroupLevel::Date, ReportGroupLevel::Counterparty};
    case ReportFilter::ByCounterpartyThenDate:
        return {ReportGroupLevel::Counterparty, ReportGroupLevel::Date};
    }
    return {};
}

int fourMonthIndex(const QDate &date)
{
    if (date.month() < 5)
        return 1;
    return date.month() < 9 ? 2 : 3;
}

int reportDateGroupKey(const QDate &date, ReportFilter::DateMode mode, const QDate &today)
{
    switch (mode) {
    case ReportFilter::PeriodMode: {
        if (date <= today)
            return 0;
        const QDate monthEnd(today.year(), today.month(), today.daysInMonth());
        return date <= monthEnd ? 1 : 2;
    }
    case ReportFilter::MonthMode:
        return date.year() * 100 + date.month();
    case ReportFilter::QuarterMode:
        return date.year() * 10 + quarterOf(date);
    case ReportFilter::FourMonthMode:
        return date.year() * 10 + fourMonthIndex(date);
    case ReportFilter::YearMode:
        return date.year();
    }
    return 0;
}

QString reportDateGroupCaption(const QDate &date, ReportFilter::DateMode mode, const QDate &today,
                               const ReportTexts &texts)
{
    const QString blank = QStringLiteral(" ");
    switch (mode) {
    case ReportFilter::PeriodMode:
        return blank + texts.text(ReportTexts::UntilToday + reportDateGroupKey(date, mode, today));
    case ReportFilter::MonthMode:
        return blank + texts.locale().standaloneMonthName(date.month(), QLocale::LongFormat) + blank
            + yearText(date);
    case ReportFilter::QuarterMode:
        return blank + texts.text(ReportTexts::QuarterLetter) + QString::number(quarterOf(date)) + blank
            + yearText(date);
    case ReportFilter::FourMonthMode:
        return texts.text(ReportTexts::FourMonthPrefix) + QString::number(fourMonthIndex(date)) + blank
            + yearText(date);
    case ReportFilter::YearMode:
        return blank + yearText(date);
    }
    return QString();
}

QString captionWithTotal(const QString &caption, const MoneySum &total, const ReportTexts &texts)
{
    return caption + QStringLiteral(" [") + texts.total(total) + QLatin1Char(']');
}

QString reportCounterpartyCaption(const QString &name, const MoneySum &total, bool showTotals,
                                  const ReportTexts &texts)
{
    const QString caption = name.isEmpty() ? texts.text(ReportTexts::NoCounterparty) : name;
    return showTotals ? captionWithTotal(caption, total, texts) : caption;
}

QString reportSheetCaption(const QString &sheetName, const MoneySum &total, bool showTotals,
                           const ReportTexts &texts)
{
    return showTotals ? captionWithTotal(sheetName, total, texts) : sheetName;
}
