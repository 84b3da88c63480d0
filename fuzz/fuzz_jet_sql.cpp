// The translator from the program's Jet statements to SQLite. Beyond not
// crashing: Jet writes a day as #mm/dd/yyyy# or #yyyy-mm-dd# and a text between
// single or double quotes, and the translation must not depend on the form. The
// statement is rewritten with every literal in its other form; both must be
// refused together, or translate to the very same SQLite text (so SQLite accepts
// one exactly when it accepts the other).
#include "FuzzText.h"
#include "store/DbError.h"
#include "store/JetSql.h"
#include "store/SqlText.h"
#include "store/SqlTokenizer.h"

#include <optional>

namespace {

// The columns of the real template, so the currency and date rules take part.
SchemaInfo templateSchema()
{
    SchemaInfo s;
    const auto table = [&s](const QString &name, QList<QPair<QString, ColumnKind>> columns) {
        s.tables.insert(name.toLower(), columns);
        s.tableNames.insert(name.toLower(), name);
        s.primaryKeys.insert(name.toLower(), columns.first().first);
    };
    table(QStringLiteral("Transactions"),
          {{QStringLiteral("TrRowId"), ColumnKind::Counter}, {QStringLiteral("TrDbId"), ColumnKind::Integer},
           {QStringLiteral("TrType"), ColumnKind::Integer}, {QStringLiteral("TrDone"), ColumnKind::YesNo},
           {QStringLiteral("TrDate"), ColumnKind::Date}, {QStringLiteral("TrDescription"), ColumnKind::Text},
           {QStringLiteral("TrAcId"), ColumnKind::Integer}, {QStringLiteral("TrValue"), ColumnKind::Currency},
           {QStringLiteral("TrBalance"), ColumnKind::Currency}, {QStringLiteral("TrGrpType"), ColumnKind::Text},
           {QStringLiteral("TrGrpRow"), ColumnKind::Integer}, {QStringLiteral("TrGrpMDay"), ColumnKind::Integer},
           {QStringLiteral("TrNotes"), ColumnKind::Memo}, {QStringLiteral("TrGrpId"), ColumnKind::Integer}});
    table(QStringLiteral("Accounts"), {{QStringLiteral("AcId"), ColumnKind::Counter},
                                       {QStringLiteral("AcName"), ColumnKind::Text},
                                       {QStringLiteral("AcNotes"), ColumnKind::Memo}});
    table(QStringLiteral("Dbs"),
          {{QStringLiteral("DbId"), ColumnKind::Integer}, {QStringLiteral("DbName"), ColumnKind::Text}});
    return s;
}

std::optional<QString> translated(const QString &jet, const SchemaInfo &schema)
{
    try {
        return translateJetSql(jet, schema);
    } catch (const DbError &) {
        return std::nullopt;
    }
}

QString otherForm(const SqlToken &token)
{
    switch (token.kind) {
    case SqlToken::DateLiteral:
        if (token.text.contains(u'/'))
            return u'#' + token.date.toString(Qt::ISODate) + u'#';
        return sqlDateLiteral(token.date);
    case SqlToken::Text:
        return u'"' + QString(token.value).replace(u'"', QStringLiteral("\"\"")) + u'"';
    case SqlToken::QuotedText:
        return u'\'' + quoteSqlText(token.value) + u'\'';
    default:
        return token.text;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const SchemaInfo schema = templateSchema();
    const QString jet = FuzzText::fromBytes(data, size);

    QList<SqlToken> tokens;
    try {
        tokens = SqlTokenizer::tokenize(jet);
    } catch (const DbError &) {
        translated(jet, schema);   // must refuse it too, without crashing
        return 0;
    }
    QString other;
    for (const SqlToken &token : tokens)
        other += token.space + otherForm(token);

    const std::optional<QString> first = translated(jet, schema);
    const std::optional<QString> second = translated(other, schema);
    if (first.has_value() != second.has_value())
        FuzzText::fail("only one literal form translates", jet, other);
    if (first && *first != *second)
        FuzzText::fail("literal forms translate differently", *first, *second);
    return 0;
}
