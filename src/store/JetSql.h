#pragma once

#include "store/SchemaInfo.h"

#include <QHash>
#include <QString>

// Pure translation from a Jet statement to SQLite. Never touches the inside of a
// quoted text. Throws DbError for a statement it cannot read (unterminated quote,
// malformed date literal).
QString translateJetSql(const QString &jetSql, const SchemaInfo &schema = {});

// The translation together with what the select list says about its columns.
struct TranslatedSql
{
    QString sql;
    // lower-case result name -> kind, for columns whose kind the select list
    // reveals (plain or qualified columns, Min/Max/Sum/First/Last of a column,
    // Count, with or without an AS alias)
    QHash<QString, ColumnKind> resultKinds;
    // the one table of a FROM clause without joins ("" otherwise)
    QString singleTable;
};
TranslatedSql translateJetStatement(const QString &jetSql, const SchemaInfo &schema = {});
