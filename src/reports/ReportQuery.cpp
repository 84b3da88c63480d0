#include "reports/ReportQuery.h"

#include "reports/ReportFilter.h"
#include "store/NameCollation.h"

#include <QDate>
#include <QStringList>

namespace {

// Jet's date literal order, whatever the locale.
QString jetDate(const QDate &date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

} // namespace

QString reportQueryBase()
{
    return QStringLiteral(
        "SELECT TrRowId, TrDbId, TrType, TrDone, TrDate, TrDescription, TrAcId, TrValue, "
        "TrBalance, TrGrpType, TrGrpRow, TrGrpMDay, TrNotes, TrGrpId, Accounts.*, "
        "TrDescription & ' ' & Accounts.AcName AS SearchField "
        "FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId");
}

QString emptyReportQueryText()
{
    return reportQueryBase() + QStringLiteral(" Where TrDbId=0");
}

QString reportQueryText(const ReportFilter &filter, qint32 sheetId)
{
    QString sql = reportQueryBase() + QStringLiteral(" WHERE TrDbId=") + QString::number(sheetId);

    const bool open = filter.isStateChecked(ReportFilter::OpenBox);
    const bool closed = filter.isStateChecked(ReportFilter::ClosedBox);
    if (!(open && closed))
        sql += open ? QStringLiteral(" AND TrDone = False") : QStringLiteral(" AND TrDone = True");

    // Type codes in the order of the boxes.
    static const char *const codes[] = {"1", "-1", "-2"};
    QStringList checked;
    for (int box = ReportFilter::CreditsBox; box <= ReportFilter::AppointmentsBox; ++box) {
        if (filter.isTypeChecked(ReportFilter::TypeBox(box)))
            checked << QLatin1String(codes[box]);
    }
    if (checked.size() == 1)
        sql += QStringLiteral(" AND TrType = ") + checked.first();
    else if (checked.size() == 2)
        sql += QStringLiteral(" AND (TrType = %1 OR TrType = %2)").arg(checked[0], checked[1]);

    if (filter.hasPeriod()) {
        sql += QStringLiteral(" AND (TrDate Between #") + jetDate(filter.periodFirst())
            + QStringLiteral("# And #") + jetDate(filter.periodLast()) + QStringLiteral("# )");
    }
    if (filter.hasCounterparty())
        sql += QStringLiteral(" AND TrAcId = ") + QString::number(filter.counterpartyId());
    return sql;
}

QString reportPeriodBoundsQuery()
{
    return QStringLiteral("SELECT Min(Transactions.TrDate) AS Date1, Max(Transactions.TrDate) AS Date2 "
                          "FROM Transactions");
}

QString reportCounterpartiesQuery()
{
    return QStringLiteral("SELECT AcId, AcName FROM Accounts") + NameCollation::orderBy(QStringLiteral("AcName"));
}
