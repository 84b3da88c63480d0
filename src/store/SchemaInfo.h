#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

enum class ColumnKind { Integer, Counter, Text, Memo, Date, Currency, YesNo, Real, Other };

// Declared column kinds of every table, read once per connection.
struct SchemaInfo
{
    // lower-case table -> ordered list of (column, kind)
    QHash<QString, QList<QPair<QString, ColumnKind>>> tables;
    ColumnKind kindOf(const QString &column) const;   // searches every table, case-insensitive
    ColumnKind kindOf(const QString &table, const QString &column) const;
    QSet<QString> currencyColumns() const;            // lower-case names

    // lower-case table -> its primary key column (as declared), when it has a single one
    QHash<QString, QString> primaryKeys;
    // lower-case table -> the table's name as declared
    QHash<QString, QString> tableNames;
    bool hasTable(const QString &table) const { return tables.contains(table.toLower()); }
};

// Kind of a declared column type: INTEGER, COUNTER, VARCHAR(n)/TEXT, LONGTEXT/MEMO,
// DATETIME, CURRENCY, YESNO, REAL/DOUBLE; anything else is Other.
ColumnKind columnKindOfDeclaredType(const QString &declaredType, bool autoIncrementKey = false);
