#include "export/AgingExport.h"

#include "export/TextExport.h"
#include "platform/MoneyFormatter.h"
#include "reports/AgingReport.h"

#include <QStringList>

namespace {

QString quoted(QString field)
{
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

void appendLine(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('\t');
        out += quoted(fields.at(i));
    }
    out += QStringLiteral("\r\n");
}

QString number(const MoneySum &sum, const QLocale &locale, const std::function<QString(int)> &text)
{
    if (sum.isOutOfRange())
        return text(AmountOutOfRangeTextId);
    const std::optional<Currency> amount = sum.toCurrency();
    return amount ? generalNumberText(*amount, locale) : text(TotalTooLargeTextId);
}

} // namespace

QString agingExportText(const Aging &aging, const std::function<QString(int id)> &text, const QLocale &locale)
{
    QString out;
    QStringList header{text(AgingText::Type), text(AgingText::Counterparty)};
    for (int b = 0; b < AgingBucketCount; ++b)
        header << text(AgingText::FirstBucket + b);
    header << text(AgingText::Total) << text(AgingText::OldestDue);
    appendLine(out, header);

    const QString datePattern = fourDigitYearDatePattern(locale);
    const auto addTable = [&](const AgingTable &table, int typeId) {
        const QString type = text(typeId);
        for (const AgingRow &row : table.rows) {
            QStringList fields{type, row.counterpartyId != 0 ? row.name : text(AgingText::NoCounterparty)};
            for (const MoneySum &sum : row.buckets)
                fields << number(sum, locale, text);
            fields << number(row.total, locale, text);
            fields << (row.oldestDue.isValid() ? locale.toString(row.oldestDue, datePattern) : QString());
            appendLine(out, fields);
        }
    };
    addTable(aging.credits, AgingText::Credit);
    addTable(aging.debits, AgingText::Debit);
    return out;
}
