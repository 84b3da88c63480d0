#include "reports/ReportContent.h"

#include "reports/ReportFilter.h"
#include "reports/ReportGrouping.h"
#include "reports/ReportTexts.h"
#include "store/NameCollation.h"

#include <QCollator>

#include <algorithm>
#include <vector>

namespace {

struct KeyedDeadline
{
    int dateKey = 0;
    const ReportDeadline *deadline = nullptr;
};

struct OpenGroup
{
    qsizetype row = 0;
    MoneySum total;
};

int typePicture(const ReportDeadline &d)
{
    switch (d.type) {
    case 1:
        return d.done ? ClosedCreditPicture : OpenCreditPicture;
    case -1:
        return d.done ? ClosedDebitPicture : OpenDebitPicture;
    case -2:
        return d.done ? ClosedAppointmentPicture : OpenAppointmentPicture;
    }
    return 0;
}

ReportRow deadlineRow(const ReportDeadline &d, int level, const ReportTexts &texts,
                      const ReportSettings &settings)
{
    ReportRow row;
    row.kind = ReportRow::DeadlineRow;
    row.level = level;

    QString description = d.description;
    const bool recurring = d.groupId > 0;
    if (recurring && settings.showCounters) {
        description += QLatin1Char(' ') + QString::number(d.groupRow) + QLatin1Char(' ')
            + texts.text(ReportTexts::OfWord) + QLatin1Char(' ') + QString::number(d.groupSize);
    }
    row.cells.resize(ReportColumnCount);
    row.cells[DateColumnIndex] = texts.shortDate(d.date);
    row.cells[DescriptionColumnIndex] = description;
    row.cells[CounterpartyColumnIndex] =
        d.counterparty.isEmpty() ? texts.text(ReportTexts::NoCounterparty) : d.counterparty;
    // Appointments have no amount to show.
    if (d.type != -2)
        row.cells[AmountColumnIndex] = texts.amount(d.value);

    row.icons.resize(DescriptionColumnIndex + 1);
    row.icons[TypeColumnIndex] = typePicture(d);
    if (recurring)
        row.icons[DescriptionColumnIndex] = d.done ? ClosedRecurrencePicture : OpenRecurrencePicture;

    if (d.done)
        row.flags |= ReportRow::Closed;
    else if (settings.warningHorizon.isValid() && d.date <= settings.warningHorizon)
        row.flags |= ReportRow::Expired;
    return row;
}

} // namespace

QList<ReportColumn> reportColumns(const ReportTexts &texts, const ReportColumnWidths &widths)
{
    QList<ReportColumn> columns(ReportColumnCount);
    columns[TypeColumnIndex] = {QString(), widths.type, Qt::AlignHCenter, false};
    columns[DateColumnIndex] = {texts.text(ReportTexts::DateColumn), widths.date, Qt::AlignLeft, false};
    columns[DescriptionColumnIndex] = {texts.text(ReportTexts::DescriptionColumn), widths.description,
                                       Qt::AlignLeft, true};
    columns[CounterpartyColumnIndex] = {texts.text(ReportTexts::CounterpartyColumn), widths.counterparty,
                                        Qt::AlignLeft, true};
    columns[AmountColumnIndex] = {texts.text(ReportTexts::AmountColumn), widths.amount, Qt::AlignRight,
                                  false};
    return columns;
}

QList<qreal> reportColumnWidths(qreal printableWidth)
{
    const ReportColumnWidths widths = fitReportColumns(printableWidth);
    QList<qreal> list(ReportColumnCount);
    list[TypeColumnIndex] = widths.type;
    list[DateColumnIndex] = widths.date;
    list[DescriptionColumnIndex] = widths.description;
    list[CounterpartyColumnIndex] = widths.counterparty;
    list[AmountColumnIndex] = widths.amount;
    return list;
}

QList<ReportRow> reportRows(const QList<ReportDeadline> &deadlines, const ReportFilter &filter,
                            const ReportTexts &texts, const ReportSettings &settings)
{
    const QList<ReportGroupLevel> levels = reportGroupLevels(filter.grouping());
    const ReportFilter::DateMode mode = filter.dateMode();
    const bool totals = filter.showTotals();

    std::vector<KeyedDeadline> keyed;
    keyed.reserve(deadlines.size());
    for (const ReportDeadline &d : std::as_const(deadlines))
        keyed.push_back({reportDateGroupKey(d.date, mode, settings.today), &d});

    // Names compare as the user reads them; names equal but for case stay apart
    // and side by side.
    const QCollator collator = NameCollation::collator(texts.locale());
    auto compareNames = [&collator](const QString &a, const QString &b) {
        return NameCollation::compare(collator, a, b);
    };
    std::stable_sort(keyed.begin(), keyed.end(), [&](const KeyedDeadline &a, const KeyedDeadline &b) {
        for (ReportGroupLevel level : levels) {
            if (level == ReportGroupLevel::Date) {
                if (a.dateKey != b.dateKey)
                    return a.dateKey < b.dateKey;
            } else if (const int c = compareNames(a.deadline->counterparty, b.deadline->counterparty); c != 0) {
                return c < 0;
            }
        }
        return a.deadline->date < b.deadline->date;
    });

    QList<ReportRow> rows;
    rows.reserve(qsizetype(keyed.size()) + 1);
    ReportRow sheet;
    sheet.kind = ReportRow::GroupRow;
    sheet.level = 0;
    rows.append(sheet);
    MoneySum grandTotal;

    std::vector<OpenGroup> open(levels.size());
    auto closeGroup = [&](qsizetype level) {
        ReportRow &row = rows[open[level].row];
        if (levels[level] == ReportGroupLevel::Date) {
            if (totals)
                row.caption = captionWithTotal(row.caption, open[level].total, texts);
        } else {
            row.caption = reportCounterpartyCaption(row.caption, open[level].total, totals, texts);
        }
    };

    const KeyedDeadline *previous = nullptr;
    const int deadlineLevel = int(levels.size()) + 1;
    for (const KeyedDeadline &item : keyed) {
        const ReportDeadline &d = *item.deadline;
        qsizetype changed = previous ? levels.size() : 0;
        for (qsizetype l = 0; previous && l < levels.size(); ++l) {
            const bool differs = levels[l] == ReportGroupLevel::Date
                ? item.dateKey != previous->dateKey
                : d.counterparty != previous->deadline->counterparty;
            if (differs) {
                changed = l;
                break;
            }
        }
        for (qsizetype l = levels.size() - 1; previous && l >= changed; --l)
            closeGroup(l);
        for (qsizetype l = changed; l < levels.size(); ++l) {
            ReportRow group;
            group.kind = ReportRow::GroupRow;
            group.level = int(l) + 1;
            // The caption without its total until the group is complete.
            group.caption = levels[l] == ReportGroupLevel::Date
                ? reportDateGroupCaption(d.date, mode, settings.today, texts)
                : d.counterparty;
            open[l] = {rows.size(), MoneySum()};
            rows.append(group);
        }
        rows.append(deadlineRow(d, deadlineLevel, texts, settings));

        const std::optional<Currency> balance = d.openBalance();
        grandTotal.add(balance);
        for (OpenGroup &group : open)
            group.total.add(balance);
        previous = &item;
    }
    for (qsizetype l = levels.size() - 1; previous && l >= 0; --l)
        closeGroup(l);

    rows[0].caption = reportSheetCaption(settings.sheetName, grandTotal, totals, texts);
    return rows;
}
