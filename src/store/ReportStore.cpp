#include "store/ReportStore.h"

#include "store/Connection.h"

#include <QSqlQuery>

namespace {

// A date as stored: 'yyyy-MM-dd' text, perhaps followed by a time part another
// tool wrote. Anything else is no date.
QDate storedDate(const QVariant &stored)
{
    const QString text = stored.toString();
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    return QDate::fromString(text.left(10), Qt::ISODate);
}

// An amount as stored: integer ten-thousandths; a real or a text another tool
// wrote is taken when it is an amount in range. NULL is nothing owed.
std::optional<Currency> storedAmount(const QVariant &stored)
{
    if (stored.isNull())
        return Currency();
    switch (stored.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::ULongLong:   // a server's positive bigint
    case QMetaType::Int:
        return Currency::fromUnits(stored.toLongLong());
    case QMetaType::Double:
        return Currency::fromRoundedUnits(stored.toDouble());
    default:
        return Currency::parse(stored.toString());
    }
}

QVariant boundDate(const std::optional<QDate> &date)
{
    return date ? QVariant(date->toString(Qt::ISODate)) : QVariant();
}

} // namespace

QList<ReportDeadline> ReportStore::deadlines(const ReportSelection &selection)
{
    const QList<qint16> &types = selection.types;
    QSqlQuery query = run("report-deadlines",
                          {{"sheetId", qlonglong(selection.sheetId)},
                           {"anyState", !selection.done.has_value()},
                           {"done", selection.done.value_or(false)},
                           {"anyType", types.isEmpty()},
                           {"firstType", types.isEmpty() ? 0 : int(types.first())},
                           {"secondType", types.isEmpty() ? 0 : int(types.last())},
                           {"periodFirst", boundDate(selection.first)},
                           {"periodLast", boundDate(selection.last)},
                           {"counterpartyId", selection.counterpartyId ? QVariant(qlonglong(*selection.counterpartyId)) : QVariant()}});
    QList<ReportDeadline> deadlines;
    while (query.next()) {
        ReportDeadline d;
        d.rowId = query.value(0).toInt();
        d.type = qint16(query.value(1).toInt());
        d.done = query.value(2).toBool();
        d.date = storedDate(query.value(3));
        d.description = query.value(4).toString();
        d.counterparty = query.value(5).toString();
        d.value = storedAmount(query.value(6));
        d.balance = storedAmount(query.value(7));
        d.groupId = query.value(8).toInt();
        d.groupRow = query.value(9).toInt();
        d.groupSize = query.value(10).toInt();
        deadlines.append(d);
    }
    return deadlines;
}

ReportStore::PeriodBounds ReportStore::periodBounds()
{
    QSqlQuery query = run("report-period-bounds", {});
    if (!query.next())
        return {};
    return {storedDate(query.value(0)), storedDate(query.value(1))};
}
