#include "platform/grid/GridRecords.h"

#include "store/comDataBase.h"

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
    const int count = int(records.fieldNames.size());
    records.columns.resize(count);
    while (!rs.eof()) {
        for (int i = 0; i < count; ++i)
            records.columns[i].push_back(rs.field(i));
        ++records.rowCount;
        rs.moveNext();
    }
    rs.close();
    connection.close();
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
