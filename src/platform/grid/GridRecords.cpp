#include "platform/grid/GridRecords.h"

#include "store/Database.h"

QString GridRecords::selectText(const QString &recordSource)
{
    const QString source = recordSource.trimmed();
    if (source.isEmpty() || source.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)
        || source.startsWith(QLatin1String("TRANSFORM"), Qt::CaseInsensitive))
        return source;
    return QStringLiteral("SELECT * FROM [%1]").arg(source);
}

GridRecords GridRecords::read(const QString &connectionString, const QString &selectText)
{
    Connection connection;
    connection.open(connectionString);
    Recordset rs;
    rs.open(selectText, connection, CursorType::ForwardOnly);
    GridRecords records;
    records.fieldNames = rs.fieldNames();
    // Filled in locals, which the compiler can keep in registers across the
    // store's calls, and moved into the result at the end.
    const int count = int(records.fieldNames.size());
    std::vector<std::vector<QVariant>> columns(count);
    int rows = 0;
    while (!rs.eof()) {
        for (int i = 0; i < count; ++i)
            columns[i].push_back(rs.field(i));
        ++rows;
        rs.moveNext();
    }
    rs.close();
    connection.close();
    records.columns = std::move(columns);
    records.rowCount = rows;
    return records;
}

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
            column.push_back(c < row.size() ? row.at(c) : QVariant());
    }
    return records;
}
