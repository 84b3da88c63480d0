#pragma once

#include "store/SchemaInfo.h"

#include <QHash>
#include <QString>
#include <QVariantList>

#include <vector>

// Pure translation from a Jet statement to SQLite, with every literal written
// inline. Never touches the inside of a quoted text. Throws DbError for a
// statement it cannot read (unterminated quote, malformed date literal). For
// reading and testing translations; the store runs translateJetStatement's form.
QString translateJetSql(const QString &jetSql, const SchemaInfo &schema = {});

// The translation as the store runs it: every literal (text, date, number) is a
// '?' in `text` and its value, in order, in `parameters`, so the text SQLite
// parses holds no value at all. Literals stay inline only where SQLite takes no
// parameter: the whole of CREATE, ALTER, DROP and PRAGMA, the row count after TOP, and a
// column position in ORDER BY or GROUP BY.
struct TranslatedSql
{
    QString text;
    // texts as QString, dates as 'yyyy-MM-dd' QString, whole numbers as
    // qlonglong, other numbers as double (currency already in ten-thousandths)
    QVariantList parameters;
    // lower-case result name -> kind, for columns whose kind the select list
    // reveals (plain or qualified columns, Min/Max/Sum/First/Last of a column,
    // Count, with or without an AS alias)
    QHash<QString, ColumnKind> resultKinds;
    // the one table of a FROM clause without joins ("" otherwise)
    QString singleTable;
    // lower-case tables the FROM clauses name, in the order they are named; a
    // column no select item explains takes its kind from the first that has it
    QStringList sourceTables;
};
TranslatedSql translateJetStatement(const QString &jetSql, const SchemaInfo &schema = {});

// The kind of each result column of a translated statement, by the select list
// first, then by the table the column comes from (a shared name in a join
// belongs to the table it is listed under), then by its name alone. Record sets
// and the list's direct reader share it, so a column never changes kind with
// the way it is read.
std::vector<ColumnKind> resultColumnKinds(const QStringList &names, const TranslatedSql &translated,
                                          const SchemaInfo &schema);
