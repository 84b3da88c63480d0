#pragma once

#include <QDate>
#include <QList>
#include <QString>

// One lexical unit of a Jet SQL text. `space` is the white space that preceded
// it in the source, kept so a translated statement reads like the original.
struct SqlToken
{
    enum Kind {
        Name,          // identifier or keyword
        BracketName,   // [any name]; `value` holds the name without brackets
        Text,          // 'text' with '' inside; `value` holds the unescaped text
        QuotedText,    // "text" with "" inside (a text literal in Jet)
        DateLiteral,   // #mm/dd/yyyy#; `date` holds the day
        Number,        // 12, 12.5, .5, 1E+15
        Operator,      // punctuation and operators: ( ) , . ; = <> <= >= < > + - * / & and others
        End            // after the last token; `space` holds the trailing white space
    };

    Kind kind = End;
    QString text;     // the token exactly as written
    QString value;
    QString space;
    QDate date;
    qsizetype position = 0;

    bool isOperator(QStringView op) const { return kind == Operator && text == op; }
    bool isWord(QStringView word) const { return kind == Name && text.compare(word, Qt::CaseInsensitive) == 0; }
    // The name a Name or BracketName token stands for.
    QString name() const { return kind == BracketName ? value : text; }
    bool isNameLike() const { return kind == Name || kind == BracketName; }
};

// Splits Jet SQL into tokens. Throws DbError for an unterminated quote or
// bracket and for a date literal that is not a real day.
class SqlTokenizer
{
public:
    static QList<SqlToken> tokenize(const QString &sql);

    // "#04/03/2017#" style contents ("04/03/2017", also "2017-04-03"); invalid date when malformed.
    static QDate parseDateLiteral(QStringView inner);
};
