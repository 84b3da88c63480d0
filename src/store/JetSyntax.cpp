#include "store/JetSyntax.h"

#include "store/DbError.h"

#include <QSet>

#include <limits>

namespace {

const QSet<QString> &keywords()
{
    // Words that end an operand of "&" and never name a column.
    static const QSet<QString> words = {
        QStringLiteral("select"), QStringLiteral("from"),    QStringLiteral("where"),  QStringLiteral("as"),
        QStringLiteral("and"),    QStringLiteral("or"),      QStringLiteral("not"),    QStringLiteral("on"),
        QStringLiteral("order"),  QStringLiteral("group"),   QStringLiteral("by"),     QStringLiteral("having"),
        QStringLiteral("between"), QStringLiteral("like"),   QStringLiteral("is"),     QStringLiteral("set"),
        QStringLiteral("values"), QStringLiteral("join"),    QStringLiteral("left"),   QStringLiteral("right"),
        QStringLiteral("inner"),  QStringLiteral("outer"),   QStringLiteral("union"),  QStringLiteral("distinct"),
        QStringLiteral("distinctrow"), QStringLiteral("top"), QStringLiteral("into"),  QStringLiteral("in"),
        QStringLiteral("case"),   QStringLiteral("when"),    QStringLiteral("then"),   QStringLiteral("else"),
        QStringLiteral("end"),    QStringLiteral("asc"),     QStringLiteral("desc"),   QStringLiteral("insert"),
        QStringLiteral("update"), QStringLiteral("delete"),  QStringLiteral("all"),    QStringLiteral("limit"),
        QStringLiteral("table"),  QStringLiteral("index"),   QStringLiteral("default"), QStringLiteral("null"),
        QStringLiteral("mod"),    QStringLiteral("exists"),  QStringLiteral("escape"), QStringLiteral("using"),
    };
    return words;
}

} // namespace

bool JetSyntax::isKeyword(const SqlToken &t)
{
    return t.kind == SqlToken::Name && keywords().contains(t.text.toLower());
}

bool JetSyntax::isPlainIdentifier(const QString &name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == u'_'))
        return false;
    for (QChar c : name) {
        if (!(c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_')))
            return false;
    }
    return !keywords().contains(name.toLower());
}

QString JetSyntax::quoteIdentifier(const QString &name)
{
    if (isPlainIdentifier(name))
        return name;
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString JetSyntax::quoteText(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

bool JetSyntax::isComparison(const SqlToken &t)
{
    if (t.kind != SqlToken::Operator)
        return false;
    return t.text == u"=" || t.text == u"<>" || t.text == u"<" || t.text == u">" || t.text == u"<="
           || t.text == u">=" || t.text == u"!=";
}

bool JetSyntax::isArithmetic(const SqlToken &t)
{
    if (t.kind != SqlToken::Operator)
        return false;
    return t.text == u"*" || t.text == u"/" || t.text == u"+" || t.text == u"-" || t.text == u"&"
           || t.text == u"^" || t.text == u"\\" || t.text == u"." || t.text == u"(" || t.text == u"||";
}

// An unsigned decimal literal (digits, point, exponent) as an exact count of
// ten-thousandths, rounded half away from zero beyond the fourth decimal.
QString JetSyntax::scaledCurrencyLiteral(const QString &number)
{
    QString intPart;
    QString fracPart;
    qsizetype i = 0;
    while (i < number.size() && number[i].isDigit())
        intPart += number[i++];
    if (i < number.size() && number[i] == u'.') {
        ++i;
        while (i < number.size() && number[i].isDigit())
            fracPart += number[i++];
    }
    long long exponent = 0;
    if (i < number.size() && (number[i] == u'e' || number[i] == u'E')) {
        ++i;
        bool negative = false;
        if (i < number.size() && (number[i] == u'+' || number[i] == u'-'))
            negative = number[i++] == u'-';
        while (i < number.size() && number[i].isDigit()) {
            exponent = exponent * 10 + (number[i++].unicode() - u'0');
            if (exponent > 1000)
                exponent = 1000;
        }
        if (negative)
            exponent = -exponent;
    }
    QString digits = intPart + fracPart;
    while (digits.startsWith(u'0')) {
        digits.remove(0, 1);
        if (intPart.isEmpty())
            --exponent;   // a leading zero of the fraction: the point stays before the next digit
        else
            intPart.remove(0, 1);
    }
    if (digits.isEmpty())
        return QStringLiteral("0");
    const long long point = intPart.size() + exponent + 4;
    QString head;
    QChar roundingDigit = u'0';
    if (point <= 0) {
        roundingDigit = point == 0 ? digits[0] : QChar(u'0');
    } else if (point >= digits.size()) {
        if (point > 25)
            throw DbError(DbError::NumericOverflow, QStringLiteral("Currency value out of range: %1").arg(number));
        head = digits + QString(qsizetype(point - digits.size()), QChar(u'0'));
    } else {
        head = digits.left(point);
        roundingDigit = digits[point];
    }
    quint64 units = 0;
    const quint64 limit = quint64(std::numeric_limits<qint64>::max());
    for (QChar c : std::as_const(head)) {
        const quint64 d = c.unicode() - u'0';
        if (units > (limit - d) / 10)
            throw DbError(DbError::NumericOverflow, QStringLiteral("Currency value out of range: %1").arg(number));
        units = units * 10 + d;
    }
    if (roundingDigit >= u'5') {
        if (units == limit)
            throw DbError(DbError::NumericOverflow, QStringLiteral("Currency value out of range: %1").arg(number));
        ++units;
    }
    return QString::number(units);
}

QString JetSyntax::mappedFunction(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == u"ucase")
        return QStringLiteral("upper");
    if (lower == u"lcase")
        return QStringLiteral("lower");
    if (lower == u"len")
        return QStringLiteral("length");
    if (lower == u"mid")
        return QStringLiteral("substr");
    if (lower == u"nz")
        return QStringLiteral("ifnull");
    if (lower == u"iif")
        return QStringLiteral("iif");
    return name;
}

QString JetSyntax::quotedName(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}
