#include "store/SqlTokenizer.h"

#include "store/DbError.h"

namespace {

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

[[noreturn]] void syntaxError(const QString &what, qsizetype position)
{
    throw DbError(DbError::SyntaxError, QStringLiteral("%1 at position %2").arg(what).arg(position + 1));
}

// Reads a run of 1..maxDigits ASCII digits; -1 when there is none.
int readNumber(QStringView s, qsizetype &i, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (i < s.size() && isAsciiDigit(s[i]) && digits < maxDigits) {
        value = value * 10 + (s[i].unicode() - u'0');
        ++digits;
        ++i;
    }
    if (digits == 0 || (i < s.size() && isAsciiDigit(s[i])))
        return -1;
    return value;
}

} // namespace

QDate SqlTokenizer::parseDateLiteral(QStringView inner)
{
    const QStringView s = inner.trimmed();
    qsizetype i = 0;
    const int first = readNumber(s, i, 4);
    if (first < 0 || i >= s.size())
        return {};
    const QChar separator = s[i];
    if (separator != u'/' && separator != u'-')
        return {};
    const bool yearFirst = i == 4;
    ++i;
    const int second = readNumber(s, i, 2);
    if (second < 0 || i >= s.size() || s[i] != separator)
        return {};
    ++i;
    const qsizetype thirdStart = i;
    const int third = readNumber(s, i, 4);
    if (third < 0 || i != s.size())
        return {};
    if (yearFirst)
        return QDate(first, second, third);
    if (i - thirdStart != 4 || first > 12)
        return {};
    // Jet reads these literals month first, whatever the user's locale says.
    return QDate(third, first, second);
}

QList<SqlToken> SqlTokenizer::tokenize(const QString &sql)
{
    QList<SqlToken> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (true) {
        const qsizetype spaceStart = i;
        while (i < n && sql[i].isSpace())
            ++i;
        SqlToken token;
        token.space = sql.mid(spaceStart, i - spaceStart);
        token.position = i;
        if (i >= n) {
            token.kind = SqlToken::End;
            tokens.append(token);
            break;
        }
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c == u'\'' || c == u'"') {
            token.kind = c == u'\'' ? SqlToken::Text : SqlToken::QuotedText;
            ++i;
            QString value;
            bool closed = false;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += sql[i++];
            }
            if (!closed)
                syntaxError(QStringLiteral("Unterminated text"), start);
            token.value = value;
        } else if (c == u'[') {
            token.kind = SqlToken::BracketName;
            const qsizetype close = sql.indexOf(u']', i + 1);
            if (close < 0)
                syntaxError(QStringLiteral("Unterminated bracketed name"), start);
            token.value = sql.mid(i + 1, close - i - 1);
            if (token.value.isEmpty())
                syntaxError(QStringLiteral("Empty bracketed name"), start);
            i = close + 1;
        } else if (c == u'#') {
            token.kind = SqlToken::DateLiteral;
            const qsizetype close = sql.indexOf(u'#', i + 1);
            if (close < 0)
                syntaxError(QStringLiteral("Unterminated date literal"), start);
            token.date = parseDateLiteral(QStringView(sql).mid(i + 1, close - i - 1));
            if (!token.date.isValid())
                syntaxError(QStringLiteral("Malformed date literal %1").arg(sql.mid(i, close - i + 1)), start);
            i = close + 1;
        } else if (isAsciiDigit(c) || (c == u'.' && i + 1 < n && isAsciiDigit(sql[i + 1]))) {
            token.kind = SqlToken::Number;
            while (i < n && isAsciiDigit(sql[i]))
                ++i;
            if (i < n && sql[i] == u'.') {
                ++i;
                while (i < n && isAsciiDigit(sql[i]))
                    ++i;
            }
            if (i < n && (sql[i] == u'e' || sql[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < n && (sql[j] == u'+' || sql[j] == u'-'))
                    ++j;
                if (j < n && isAsciiDigit(sql[j])) {
                    while (j < n && isAsciiDigit(sql[j]))
                        ++j;
                    i = j;
                }
            }
        } else if (isIdentStart(c)) {
            token.kind = SqlToken::Name;
            while (i < n && isIdentPart(sql[i]))
                ++i;
        } else {
            token.kind = SqlToken::Operator;
            static const QString twoCharOps[] = {QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"),
                                                 QStringLiteral("!="), QStringLiteral("||")};
            i += 1;
            for (const QString &op : twoCharOps) {
                if (QStringView(sql).mid(start, 2) == op) {
                    i = start + 2;
                    break;
                }
            }
        }
        token.text = sql.mid(start, i - start);
        tokens.append(token);
    }
    return tokens;
}
