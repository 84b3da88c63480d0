#include "platform/grid/GridRecords.h"

GridRecords GridRecords::fromRows(const QStringList &fieldNames, const std::vector<QVariantList> &rows)
{
    GridRecords records;
    records.fieldNames = fieldNames;
    records.rowCount = int(rows.size());
    records.columns.resize(fieldNames.size());
    for (int c = 0; c < int(fieldNames.size()); ++c) {
        auto &column = records.columns[c];
        column.reserve(rows.size());
        for (const QVariantList &row : rows)
            column.append(c < row.size() ? row.at(c) : QVariant());
    }
    return records;
}
