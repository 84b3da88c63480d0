#include "platform/grid/GridRecords.h"

#include "store/Database.h"
#include "store/JetSql.h"
#include "store/RowReader.h"

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
    GridRecords records;
    {
        // Straight from the engine, each column by its kind: a list of 100,000
        // rows spends most of its time otherwise in the SQL module's records.
        const SchemaInfo &schema = connection.schema();
        const TranslatedSql translated = translateJetStatement(selectText, schema);
        RowReader reader(connection, translated.text, translated.parameters);
        reader.setKinds(resultColumnKinds(reader.columnNames(), translated, schema));
        records.fieldNames = reader.columnNames();
        const int count = reader.columnCount();
        std::vector<std::vector<QVariant>> columns(count);
        int rows = 0;
        while (reader.next()) {
            for (int i = 0; i < count; ++i)
                columns[i].push_back(reader.value(i));
            ++rows;
        }
        records.columns = std::move(columns);
        records.rowCount = rows;
    }
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
