#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

enum class ColumnKind { Integer, Counter, Text, Memo, Date, Currency, YesNo, Real, Other };

// Declared column kinds of every table, read once per connection.
struct SchemaInfo
{
    // lower-case table -> ordered list of (column, kind)
    QHash<QString, QList<QPair<QString, ColumnKind>>> tables;
    // lower-case tables in the order the file declares them
    QStringList tableOrder;
    // Searches every table, case-insensitive, in declaration order (then by name
    // for tables the order does not list), so a name two tables share always
    // gives the same kind.
    ColumnKind kindOf(const QString &column) const;
    ColumnKind kindOf(const QString &table, const QString &column) const;
    bool hasColumn(const QString &table, const QString &column) const;
    QStringList orderedTables() const;   // lower-case
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
