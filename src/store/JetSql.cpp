// Translation of the Jet statement forms the program writes into SQLite text.
#include "store/JetSql.h"

#include "store/DbError.h"
#include "store/JetSyntax.h"
#include "store/SqlTokenizer.h"

namespace {

using namespace JetSyntax;

struct Tok : SqlToken
{
    QString out;           // what this token becomes
    bool removed = false;  // dropped from the output (with its leading space)
    bool scaled = false;   // a currency literal already converted
    bool inlined = false;  // a literal SQLite takes only as text (TOP n, ORDER BY 2)
    int match = -1;        // the other parenthesis of a pair
};

struct ColumnRef
{
    QString table;
    QString column;
    int end = -1;   // index after the reference; -1 when there is none
};

class Translator
{
public:
    Translator(const QString &jet, const SchemaInfo &schema, bool bindLiterals)
        : m_schema(schema), m_bindLiterals(bindLiterals)
    {
        const QList<SqlToken> tokens = SqlTokenizer::tokenize(jet);
        for (const SqlToken &token : tokens) {
            if (token.kind == SqlToken::End) {
                m_trailing = token.space;
                break;
            }
            Tok t;
            static_cast<SqlToken &>(t) = token;
            t.out = token.text;
            m_t.append(t);
        }
    }

    TranslatedSql run()
    {
        matchParentheses();
        collectSources();
        translateTokens();
        const int first = firstWord();
        if (first >= 0) {
            const QString verb = m_t[first].text.toLower();
            if (verb == u"create" || verb == u"alter" || verb == u"drop" || verb == u"pragma")
                m_bindLiterals = false;   // SQLite refuses parameters in data definition and pragmas
            if (verb == u"delete")
                dropDeleteTargets(first);
            else if (verb == u"update")
                translateUpdate(first);
            else if (verb == u"insert")
                translateInsert(first);
        }
        scaleComparisons();
        if (m_bindLiterals)
            keepPositionsInline();
        TranslatedSql result;
        analyseSelect(result);
        result.text = emitRange(0, int(m_t.size())) + m_trailing;
        result.parameters = std::move(m_parameters);
        result.sourceTables = m_sources;
        return result;
    }

private:
    int count() const { return int(m_t.size()); }
    bool isOp(int i, QStringView op) const { return i >= 0 && i < count() && m_t[i].isOperator(op); }
    bool isWord(int i, QStringView w) const { return i >= 0 && i < count() && m_t[i].isWord(w); }

    // The index after the token at i, or after the parenthesised group it opens.
    int skip(int i) const { return (m_t[i].isOperator(u"(") && m_t[i].match > i) ? m_t[i].match + 1 : i + 1; }

    void matchParentheses()
    {
        QList<int> open;
        for (int i = 0; i < count(); ++i) {
            if (m_t[i].isOperator(u"(")) {
                open.append(i);
            } else if (m_t[i].isOperator(u")")) {
                if (open.isEmpty())
                    throw DbError(DbError::SyntaxError, QStringLiteral("Unbalanced parenthesis at position %1").arg(m_t[i].position + 1));
                const int o = open.takeLast();
                m_t[o].match = i;
                m_t[i].match = o;
            }
        }
        if (!open.isEmpty())
            throw DbError(DbError::SyntaxError, QStringLiteral("Missing closing parenthesis at position %1").arg(m_t[open.last()].position + 1));
    }

    void translateTokens()
    {
        for (int i = 0; i < count(); ++i) {
            Tok &t = m_t[i];
            switch (t.kind) {
            case SqlToken::QuotedText:
                t.out = quoteText(t.value);
                break;
            case SqlToken::BracketName:
                t.out = quoteIdentifier(t.value);
                break;
            case SqlToken::DateLiteral:
                t.out = u'\'' + t.date.toString(Qt::ISODate) + u'\'';
                break;
            case SqlToken::Name: {
                const bool qualified = isOp(i - 1, u".") || isOp(i + 1, u".");
                const bool call = isOp(i + 1, u"(");
                if (qualified)
                    break;
                if (call) {
                    t.out = mappedFunction(t.text);
                } else if (t.isWord(u"True")) {
                    t.out = QStringLiteral("1");
                } else if (t.isWord(u"False")) {
                    t.out = QStringLiteral("0");
                } else if (t.isWord(u"Mod")) {
                    t.out = QStringLiteral("%");
                } else if (t.isWord(u"DistinctRow")) {
                    t.out = QStringLiteral("DISTINCT");
                }
                break;
            }
            default:
                break;
            }
        }
    }

    int firstWord() const
    {
        for (int i = 0; i < count(); ++i) {
            if (m_t[i].kind == SqlToken::Name)
                return i;
            if (!m_t[i].isOperator(u"("))
                return -1;
        }
        return -1;
    }

    int findWordAtDepth0(int from, int to, QStringView word) const
    {
        for (int i = from; i < to; i = skip(i)) {
            if (m_t[i].isWord(word))
                return i;
        }
        return -1;
    }

    // Splits [from, to) at the commas outside parentheses.
    QList<QPair<int, int>> splitItems(int from, int to) const
    {
        QList<QPair<int, int>> items;
        int start = from;
        for (int i = from; i < to; i = skip(i)) {
            if (m_t[i].isOperator(u",")) {
                items.append({start, i});
                start = i + 1;
            }
        }
        if (start < to || !items.isEmpty())
            items.append({start, to});
        return items;
    }

    ColumnRef columnRefAt(int i) const
    {
        ColumnRef ref;
        if (i < 0 || i >= count() || !m_t[i].isNameLike() || isKeyword(m_t[i]) || isOp(i + 1, u"("))
            return ref;
        if (isOp(i + 1, u".") && i + 2 < count() && m_t[i + 2].isNameLike()) {
            ref.table = m_t[i].name();
            ref.column = m_t[i + 2].name();
            ref.end = i + 3;
        } else if (!isOp(i - 1, u".")) {
            ref.column = m_t[i].name();
            ref.end = i + 1;
        }
        return ref;
    }

    // The column reference that ends at index last (inclusive).
    ColumnRef columnRefEndingAt(int last) const
    {
        if (last >= 2 && isOp(last - 1, u".")) {
            ColumnRef ref = columnRefAt(last - 2);
            if (ref.end == last + 1)
                return ref;
            return {};
        }
        ColumnRef ref = columnRefAt(last);
        return ref.end == last + 1 ? ref : ColumnRef{};
    }

    // The tables of every FROM and JOIN, with their aliases ("Transactions AS T",
    // "Accounts A").
    void collectSources()
    {
        bool inFrom = false;
        for (int i = 0; i < count(); ++i) {
            const Tok &t = m_t[i];
            if (t.isWord(u"FROM") || t.isWord(u"JOIN") || t.isWord(u"UPDATE") || t.isWord(u"INTO")) {
                inFrom = true;
                addSourceAt(i + 1);
            } else if (inFrom && t.isOperator(u",")) {
                addSourceAt(i + 1);
            } else if (t.isWord(u"WHERE") || t.isWord(u"GROUP") || t.isWord(u"ORDER") || t.isWord(u"HAVING")
                       || t.isWord(u"UNION") || t.isWord(u"SELECT") || t.isWord(u"SET") || t.isWord(u"ON")) {
                inFrom = false;
            }
        }
    }

    void addSourceAt(int j)
    {
        while (isOp(j, u"("))
            ++j;
        if (j >= count() || !m_t[j].isNameLike() || isKeyword(m_t[j]) || isOp(j + 1, u".") || isOp(j + 1, u"("))
            return;
        const QString table = m_t[j].name().toLower();
        if (!m_schema.hasTable(table))
            return;
        if (!m_sources.contains(table))
            m_sources.append(table);
        int alias = j + 1;
        if (isWord(alias, u"AS"))
            ++alias;
        if (alias < count() && m_t[alias].isNameLike() && !isKeyword(m_t[alias]))
            m_aliases.insert(m_t[alias].name().toLower(), table);
    }

    // A qualified column by its table or alias; a plain one by the first table of
    // the statement that has it; only then by any table, in a fixed order.
    ColumnKind kindOf(const ColumnRef &ref) const
    {
        if (ref.end < 0)
            return ColumnKind::Other;
        if (!ref.table.isEmpty()) {
            const QString table = m_aliases.value(ref.table.toLower(), ref.table.toLower());
            if (m_schema.hasTable(table))
                return m_schema.kindOf(table, ref.column);
        }
        for (const QString &table : m_sources) {
            if (m_schema.hasColumn(table, ref.column))
                return m_schema.kindOf(table, ref.column);
        }
        return m_schema.kindOf(ref.column);
    }

    // Index of the number in a lone (optionally signed) literal spanning [from, to); -1 otherwise.
    int loneNumber(int from, int to) const
    {
        int i = from;
        if (i < to && (m_t[i].isOperator(u"-") || m_t[i].isOperator(u"+")))
            ++i;
        if (i + 1 == to && m_t[i].kind == SqlToken::Number)
            return i;
        return -1;
    }

    void scaleNumber(int i)
    {
        if (m_t[i].scaled)
            return;
        m_t[i].out = scaledCurrencyLiteral(m_t[i].text);
        m_t[i].scaled = true;
    }

    void dropDeleteTargets(int verb)
    {
        // "DELETE * FROM t" and "DELETE t.* FROM t" name no columns in SQLite.
        const int from = findWordAtDepth0(verb + 1, count(), u"FROM");
        if (from < 0)
            return;
        for (int i = verb + 1; i < from; ++i)
            m_t[i].removed = true;
    }

    void translateUpdate(int verb)
    {
        const ColumnRef table = columnRefAt(verb + 1);
        const int set = findWordAtDepth0(verb + 1, count(), u"SET");
        if (set < 0)
            return;
        int end = findWordAtDepth0(set + 1, count(), u"WHERE");
        if (end < 0)
            end = count();
        for (const auto &[from, to] : splitItems(set + 1, end)) {
            const ColumnRef target = columnRefAt(from);
            if (target.end < 0 || !isOp(target.end, u"="))
                continue;
            if (!target.table.isEmpty()) {
                // SQLite refuses a qualified column on the left of SET.
                m_t[from].removed = true;
                m_t[from + 1].removed = true;
                m_t[from + 2].space = m_t[from].space;
            }
            const int number = loneNumber(target.end + 1, to);
            if (number < 0)
                continue;
            const ColumnKind kind = table.end > 0 && m_schema.hasTable(table.column)
                                        ? m_schema.kindOf(table.column, target.column)
                                        : kindOf(target);
            if (kind == ColumnKind::Currency)
                scaleNumber(number);
        }
    }

    void translateInsert(int verb)
    {
        if (!isWord(verb + 1, u"INTO"))
            return;
        if (verb + 2 >= count() || !m_t[verb + 2].isNameLike())
            return;
        const QString tableName = m_t[verb + 2].name();
        int i = verb + 3;
        QStringList columns;
        if (isOp(i, u"(")) {
            const int close = m_t[i].match;
            for (const auto &[from, to] : splitItems(i + 1, close)) {
                const ColumnRef c = columnRefAt(from);
                columns.append(c.end == to ? c.column : QString());
            }
            i = close + 1;
        } else if (m_schema.hasTable(tableName)) {
            for (const auto &column : m_schema.tables.value(tableName.toLower()))
                columns.append(column.first);
        }
        QList<QPair<int, int>> items;
        if (isWord(i, u"SELECT")) {
            int end = findWordAtDepth0(i + 1, count(), u"FROM");
            if (end < 0)
                end = count();
            items = splitItems(i + 1, end);
        } else if (isWord(i, u"VALUES") && isOp(i + 1, u"(")) {
            items = splitItems(i + 2, m_t[i + 1].match);
        }
        for (int k = 0; k < items.size() && k < columns.size(); ++k) {
            const int number = loneNumber(items[k].first, items[k].second);
            if (number >= 0 && m_schema.kindOf(tableName, columns[k]) == ColumnKind::Currency)
                scaleNumber(number);
        }
    }

    bool numberEndsOperand(int number) const
    {
        const int next = number + 1;
        return next >= count() || !isArithmetic(m_t[next]);
    }

    void scaleComparisons()
    {
        for (int i = 0; i < count(); ++i) {
            if (m_t[i].isWord(u"BETWEEN")) {
                const ColumnKind kind = kindOf(columnRefEndingAt(i - 1));
                if (kind != ColumnKind::Currency)
                    continue;
                const int andWord = findWordAtDepth0(i + 1, count(), u"AND");
                if (andWord < 0)
                    continue;
                const int low = loneNumber(i + 1, andWord);
                if (low >= 0)
                    scaleNumber(low);
                int j = andWord + 1;
                if (isOp(j, u"-") || isOp(j, u"+"))
                    ++j;
                if (j < count() && m_t[j].kind == SqlToken::Number && numberEndsOperand(j))
                    scaleNumber(j);
                continue;
            }
            if (!isComparison(m_t[i]))
                continue;
            // column op [sign] number
            int j = i + 1;
            if (isOp(j, u"-") || isOp(j, u"+"))
                ++j;
            if (j < count() && m_t[j].kind == SqlToken::Number && numberEndsOperand(j)
                && kindOf(columnRefEndingAt(i - 1)) == ColumnKind::Currency) {
                scaleNumber(j);
                continue;
            }
            // [sign] number op column
            const int number = i - 1;
            if (number >= 0 && m_t[number].kind == SqlToken::Number) {
                const int before = (isOp(number - 1, u"-") || isOp(number - 1, u"+")) ? number - 2 : number - 1;
                const bool alone = before < 0 || !isArithmetic(m_t[before]) || m_t[before].isOperator(u"(");
                const ColumnRef right = columnRefAt(i + 1);
                if (alone && right.end > 0 && kindOf(right) == ColumnKind::Currency)
                    scaleNumber(number);
            }
        }
    }

    // Numbers whose meaning is their text: "TOP 5", and a bare number as an ORDER
    // BY or GROUP BY term, which names a column by position (a bound 2 would
    // order by a constant).
    void keepPositionsInline()
    {
        for (int i = 0; i < count(); ++i) {
            if (m_t[i].isWord(u"TOP") && i + 1 < count() && m_t[i + 1].kind == SqlToken::Number) {
                m_t[i + 1].inlined = true;
                continue;
            }
            if (!(m_t[i].isWord(u"ORDER") || m_t[i].isWord(u"GROUP")) || !isWord(i + 1, u"BY"))
                continue;
            int end = i + 2;
            while (end < count() && !isWord(end, u"HAVING") && !isWord(end, u"ORDER") && !isWord(end, u"GROUP")
                   && !isWord(end, u"UNION") && !isWord(end, u"LIMIT") && !isOp(end, u";") && !isOp(end, u")"))
                end = skip(end);
            for (const auto &[from, to] : splitItems(i + 2, end)) {
                if (from < to && m_t[from].kind == SqlToken::Number
                    && (from + 1 == to || (from + 2 == to && (isWord(from + 1, u"ASC") || isWord(from + 1, u"DESC")))))
                    m_t[from].inlined = true;
            }
        }
    }

    void analyseSelect(TranslatedSql &result) const
    {
        int select = -1;
        for (int i = 0; i < count(); i = skip(i)) {
            if (m_t[i].isWord(u"SELECT")) {
                select = i;
                break;
            }
        }
        if (select < 0)
            return;
        int first = select + 1;
        while (first < count() && (isWord(first, u"DISTINCT") || isWord(first, u"DISTINCTROW") || isWord(first, u"ALL")))
            ++first;
        if (isWord(first, u"TOP") && first + 1 < count() && m_t[first + 1].kind == SqlToken::Number)
            first += 2;
        const int from = findWordAtDepth0(first, count(), u"FROM");
        const int end = from < 0 ? count() : from;
        for (const auto &[a, b] : splitItems(first, end)) {
            if (a >= b)
                continue;
            QString name;
            int exprEnd = b;
            if (b - a >= 3 && m_t[b - 2].isWord(u"AS")) {
                const Tok &alias = m_t[b - 1];
                name = (alias.kind == SqlToken::Text || alias.kind == SqlToken::QuotedText) ? alias.value : alias.name();
                exprEnd = b - 2;
            }
            ColumnKind kind = ColumnKind::Other;
            const ColumnRef ref = columnRefAt(a);
            if (ref.end == exprEnd) {
                kind = kindOf(ref);
                if (name.isEmpty())
                    name = ref.column;
            } else if (m_t[a].kind == SqlToken::Name && isOp(a + 1, u"(") && m_t[a + 1].match == exprEnd - 1) {
                const QString function = m_t[a].text.toLower();
                const ColumnRef inner = columnRefAt(a + 2);
                if (function == u"count") {
                    kind = ColumnKind::Integer;
                } else if (inner.end == exprEnd - 1) {
                    const ColumnKind innerKind = kindOf(inner);
                    if (function == u"min" || function == u"max" || function == u"first" || function == u"last"
                        || function == u"sum")
                        kind = innerKind;
                    else if (function == u"avg")
                        kind = innerKind == ColumnKind::Currency ? innerKind : ColumnKind::Real;
                    if (kind == ColumnKind::Counter)
                        kind = ColumnKind::Integer;
                }
            }
            if (!name.isEmpty() && kind != ColumnKind::Other)
                result.resultKinds.insert(name.toLower(), kind);
        }
        if (from < 0)
            return;
        int tableEnd = count();
        for (int i = from + 1; i < count(); i = skip(i)) {
            if (isWord(i, u"WHERE") || isWord(i, u"ORDER") || isWord(i, u"GROUP") || isWord(i, u"HAVING")
                || isWord(i, u"UNION") || isOp(i, u";")) {
                tableEnd = i;
                break;
            }
        }
        if (tableEnd == from + 2 && m_t[from + 1].isNameLike())
            result.singleTable = m_t[from + 1].name();
    }

    static void append(QString &out, const QString &space, const QString &text)
    {
        // Two minus signs or "/*" side by side would open a comment in SQLite.
        if (space.isEmpty() && !out.isEmpty() && !text.isEmpty()) {
            const QChar last = out.back();
            const QChar next = text.front();
            if ((last == u'-' && next == u'-') || (last == u'/' && next == u'*'))
                out += u' ';
        }
        out += space;
        out += text;
    }

    bool endsOperand(int i) const
    {
        const Tok &t = m_t[i];
        if (t.kind == SqlToken::Operator)
            return isComparison(t) || t.text == u"," || t.text == u";" || t.text == u")";
        return isKeyword(t) && !t.isWord(u"null") && !t.isWord(u"mod");
    }

    // Tokens [from, to), with "&" chains at this level turned into Null-safe concatenation.
    QString emitRange(int from, int to) const
    {
        QString out;
        int i = from;
        while (i < to) {
            if (endsOperand(i)) {
                emitToken(out, i);
                ++i;
                continue;
            }
            int j = i;
            QList<int> amps;
            while (j < to && !endsOperand(j)) {
                if (m_t[j].isOperator(u"&"))
                    amps.append(j);
                j = skip(j);
            }
            if (amps.isEmpty()) {
                out += emitPlain(i, j);
            } else {
                // Jet's "&" reads a Null operand as the empty text; "||" would give Null.
                int start = i;
                amps.append(j);
                for (int k = 0; k < amps.size(); ++k) {
                    const int stop = amps[k];
                    QString operand = emitPlain(start, stop);
                    qsizetype lead = 0;
                    while (lead < operand.size() && operand[lead].isSpace())
                        ++lead;
                    if (k > 0)
                        append(out, m_t[start - 1].space, QStringLiteral("||"));
                    append(out, operand.left(lead), QStringLiteral("IFNULL(") + operand.mid(lead) + QStringLiteral(",'')"));
                    start = stop + 1;
                }
            }
            i = j;
        }
        return out;
    }

    QString emitPlain(int from, int to) const
    {
        QString out;
        int i = from;
        while (i < to) {
            if (m_t[i].isOperator(u"(") && m_t[i].match > i && m_t[i].match < to) {
                const int close = m_t[i].match;
                emitToken(out, i);
                out += emitRange(i + 1, close);
                emitToken(out, close);
                i = close + 1;
            } else {
                emitToken(out, i);
                ++i;
            }
        }
        return out;
    }

    void emitToken(QString &out, int i) const
    {
        const Tok &t = m_t[i];
        if (t.removed)
            return;
        if (m_bindLiterals && !t.inlined) {
            switch (t.kind) {
            case SqlToken::Text:
            case SqlToken::QuotedText:
                // '' is the empty text, never Null: the driver binds a null QString as Null.
                m_parameters.append(t.value.isNull() ? QStringLiteral("") : t.value);
                append(out, t.space, QStringLiteral("?"));
                return;
            case SqlToken::DateLiteral:
                m_parameters.append(t.date.toString(Qt::ISODate));
                append(out, t.space, QStringLiteral("?"));
                return;
            case SqlToken::Number:
                m_parameters.append(numberValue(t.out));
                append(out, t.space, QStringLiteral("?"));
                return;
            default:
                break;
            }
        }
        append(out, t.space, t.out);
    }

    // The value SQLite would give the literal: integer unless it has a fraction
    // or an exponent, or does not fit 64 bits.
    static QVariant numberValue(const QString &literal)
    {
        bool ok = false;
        if (!literal.contains(u'.') && !literal.contains(u'e', Qt::CaseInsensitive)) {
            const qlonglong whole = literal.toLongLong(&ok);
            if (ok)
                return whole;
        }
        return literal.toDouble();
    }

    const SchemaInfo &m_schema;
    bool m_bindLiterals;
    QStringList m_sources;
    QHash<QString, QString> m_aliases;   // lower-case alias -> lower-case table
    QList<Tok> m_t;
    QString m_trailing;
    mutable QVariantList m_parameters;   // filled in the order the '?' are written
};

} // namespace

TranslatedSql translateJetStatement(const QString &jetSql, const SchemaInfo &schema)
{
    return Translator(jetSql, schema, true).run();
}

QString translateJetSql(const QString &jetSql, const SchemaInfo &schema)
{
    return Translator(jetSql, schema, false).run().text;
}

std::vector<ColumnKind> resultColumnKinds(const QStringList &names, const TranslatedSql &translated,
                                          const SchemaInfo &schema)
{
    const bool knownTable = !translated.singleTable.isEmpty() && schema.hasTable(translated.singleTable);
    std::vector<ColumnKind> kinds;
    kinds.reserve(names.size());
    QHash<QString, int> seen;   // lower-case name -> columns of that name so far
    for (const QString &name : names) {
        const QString lower = name.toLower();
        const int occurrence = seen[lower]++;
        ColumnKind kind = occurrence == 0 ? translated.resultKinds.value(lower, ColumnKind::Other) : ColumnKind::Other;
        if (kind == ColumnKind::Other && knownTable)
            kind = schema.kindOf(translated.singleTable, name);
        if (kind == ColumnKind::Other) {
            // "SELECT *" over a join lists each table's columns in FROM order: the
            // second column of a shared name belongs to the second table with it.
            int skip = occurrence;
            for (const QString &table : translated.sourceTables) {
                if (schema.hasColumn(table, name) && skip-- == 0) {
                    kind = schema.kindOf(table, name);
                    break;
                }
            }
        }
        if (kind == ColumnKind::Other)
            kind = schema.kindOf(name);
        kinds.push_back(kind);
    }
    return kinds;
}
