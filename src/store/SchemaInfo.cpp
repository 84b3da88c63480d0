#include "store/SchemaInfo.h"

#include <algorithm>

ColumnKind columnKindOfDeclaredType(const QString &declaredType, bool autoIncrementKey)
{
    QString base = declaredType.trimmed().toUpper();
    const qsizetype paren = base.indexOf(u'(');
    if (paren >= 0)
        base = base.left(paren).trimmed();
    if (base == u"COUNTER" || base == u"AUTOINCREMENT")
        return ColumnKind::Counter;
    if (base == u"INTEGER" || base == u"INT" || base == u"LONG" || base == u"SMALLINT" || base == u"SHORT"
        || base == u"BYTE" || base == u"TINYINT" || base == u"BIGINT")
        return autoIncrementKey ? ColumnKind::Counter : ColumnKind::Integer;
    if (base == u"DATETIME" || base == u"DATE" || base == u"TIMESTAMP")
        return ColumnKind::Date;
    if (base == u"CURRENCY" || base == u"MONEY")
        return ColumnKind::Currency;
    if (base == u"YESNO" || base == u"BIT" || base == u"BOOLEAN" || base == u"BOOL" || base == u"LOGICAL")
        return ColumnKind::YesNo;
    if (base == u"MEMO" || base == u"LONGTEXT" || base == u"LONGCHAR" || base == u"NOTE" || base == u"CLOB")
        return ColumnKind::Memo;
    if (base == u"VARCHAR" || base == u"TEXT" || base == u"CHAR" || base == u"NVARCHAR" || base == u"NCHAR"
        || base == u"CHARACTER" || base == u"STRING" || base == u"VARYING CHARACTER")
        return ColumnKind::Text;
    if (base == u"REAL" || base == u"DOUBLE" || base == u"FLOAT" || base == u"SINGLE" || base == u"NUMERIC"
        || base == u"DECIMAL")
        return ColumnKind::Real;
    return ColumnKind::Other;
}

QStringList SchemaInfo::orderedTables() const
{
    QStringList order;
    for (const QString &table : tableOrder) {
        if (tables.contains(table) && !order.contains(table))
            order.append(table);
    }
    QStringList rest;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        if (!order.contains(it.key()))
            rest.append(it.key());
    }
    rest.sort();
    return order + rest;
}

ColumnKind SchemaInfo::kindOf(const QString &column) const
{
    for (const QString &table : orderedTables()) {
        for (const auto &entry : tables.value(table)) {
            if (entry.first.compare(column, Qt::CaseInsensitive) == 0)
                return entry.second;
        }
    }
    return ColumnKind::Other;
}

bool SchemaInfo::hasColumn(const QString &table, const QString &column) const
{
    const auto it = tables.constFind(table.toLower());
    if (it == tables.cend())
        return false;
    return std::any_of(it->cbegin(), it->cend(),
                       [&column](const auto &entry) { return entry.first.compare(column, Qt::CaseInsensitive) == 0; });
}

ColumnKind SchemaInfo::kindOf(const QString &table, const QString &column) const
{
    const auto it = tables.constFind(table.toLower());
    if (it == tables.cend())
        return ColumnKind::Other;
    for (const auto &entry : it.value()) {
        if (entry.first.compare(column, Qt::CaseInsensitive) == 0)
            return entry.second;
    }
    return ColumnKind::Other;
}

QSet<QString> SchemaInfo::currencyColumns() const
{
    QSet<QString> names;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        for (const auto &entry : it.value()) {
            if (entry.second == ColumnKind::Currency)
                names.insert(entry.first.toLower());
        }
    }
    return names;
}
