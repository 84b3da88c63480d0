#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The rows of a record source as read, held column by column so that ordering
// and sums walk one contiguous run of values.
struct GridRecords
{
    QStringList fieldNames;
    std::vector<std::vector<QVariant>> columns;   // [field][row]
    int rowCount = 0;

    // The statement that reads a record source: a SELECT (or TRANSFORM) as it
    // stands, anything else taken as a table name; empty for an empty source.
    static QString selectText(const QString &recordSource);
    // Reads every row of a SELECT through the store before returning, so a read
    // that fails part-way leaves the caller's rows as they were. Throws DbError.
    static GridRecords read(const QString &connectionString, const QString &selectText);
    // Rows given directly; a short row is padded with Null.
    static GridRecords fromRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows);
};
