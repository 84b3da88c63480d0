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
    Translator(const QString &jet, const SchemaInfo &schema) : m_schema(schema)
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
        translateTokens();
        const int first = firstWord();
        if (first >= 0) {
            const QString verb = m_t[first].text.toLower();
            if (verb == u"delete")
                dropDeleteTargets(first);
            else if (verb == u"update")
                translateUpdate(first);
            else if (verb == u"insert")
                translateInsert(first);
        }
        scaleComparisons();
        TranslatedSql result;
        analyseSelect(result);
        result.sql = emitRange(0, int(m_t.size())) + m_trailing;
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

    ColumnKind kindOf(const ColumnRef &ref) const
    {
        if (ref.end < 0)
            return ColumnKind::Other;
        if (!ref.table.isEmpty() && m_schema.hasTable(ref.table))
            return m_schema.kindOf(ref.table, ref.column);
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
                                        : m_schema.kindOf(target.column);
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
        if (!m_t[i].removed)
            append(out, m_t[i].space, m_t[i].out);
    }

    const SchemaInfo &m_schema;
    QList<Tok> m_t;
    QString m_trailing;
};

} // namespace

TranslatedSql translateJetStatement(const QString &jetSql, const SchemaInfo &schema)
{
    return Translator(jetSql, schema).run();
}

QString translateJetSql(const QString &jetSql, const SchemaInfo &schema)
{
    return translateJetStatement(jetSql, schema).sql;
}
