#include "mainwindow/UpcomingListPresenter.h"

#include "startup/Session.h"
#include "store/DeadlineStore.h"

GridRecords UpcomingListPresenter::records(const std::vector<DeadlineRow> &rows)
{
    std::vector<QVariantList> values;
    values.reserve(rows.size());
    for (const DeadlineRow &row : rows)
        values.push_back({row.description.isNull() ? QVariant() : QVariant(row.description),
                          row.cadence.isNull() ? QVariant() : QVariant(row.cadence), row.groupRow, row.groupSize,
                          int(row.rowId)});
    return GridRecords::fromRows({QStringLiteral("TrDescription"), QStringLiteral("TrGrpType"),
                                  QStringLiteral("TrGrpRow"), QStringLiteral("TrGrpMDay"), QStringLiteral("TrRowId")},
                                 values);
}

bool UpcomingListPresenter::displayText(int column, const GridRow &row, QString &text)
{
    if (column != 1)
        return false;
    text = row.field(1).toString();
    // Here the cadence code decides, and the separator is a bare "/" in every language.
    if (row.field(2).toString() != QLatin1String("n") && m_session.display().showGroupCounters)
        text += QLatin1Char(' ') + row.field(3).toString() + QLatin1Char('/') + row.field(4).toString();
    return true;
}

bool UpcomingListPresenter::isSortable(int)
{
    return false;   // latest date first, as queried
}
