#include "export/TextExport.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringEncoder>

namespace {

constexpr QChar Quote = u'"';
constexpr QChar Tab = u'\t';
constexpr QStringView LineEnd = u"\r\n";

void appendQuoted(QString &out, QStringView field)
{
    out += Quote;
    if (!field.contains(Quote)) {
        out += field;
    } else {
        for (QChar c : field) {
            out += c;
            if (c == Quote)
                out += Quote;
        }
    }
    out += Quote;
}

// Writes the number into the tail of a fixed buffer; no allocation on this path,
// which runs twice for every exported row.
void appendGeneralNumber(QString &out, Currency value, QStringView decimalPoint)
{
    const qint64 units = value.units();
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    quint64 whole = magnitude / quint64(Currency::Scale);
    quint64 fraction = magnitude % quint64(Currency::Scale);

    char16_t digits[24];
    char16_t *end = digits + std::size(digits);
    char16_t *begin = end;
    do {
        *--begin = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (negative)
        *--begin = u'-';
    out.append(reinterpret_cast<const QChar *>(begin), end - begin);

    if (fraction == 0)
        return;
    char16_t fractionDigits[4];
    int count = 4;
    for (int i = 3; i >= 0; --i) {
        fractionDigits[i] = char16_t(u'0' + fraction % 10);
        fraction /= 10;
    }
    while (fractionDigits[count - 1] == u'0')
        --count;
    out += decimalPoint;
    out.append(reinterpret_cast<const QChar *>(fractionDigits), count);
}

// Lists are sorted and grouped by date, so a few hundred distinct days cover
// a hundred thousand rows; formatting each day once keeps QLocale out of the loop.
class DateTexts
{
public:
    explicit DateTexts(const QLocale &locale)
        : m_locale(locale), m_pattern(fourDigitYearDatePattern(locale))
    {
    }

    const QString &text(const QDate &date)
    {
        const qint64 day = date.toJulianDay();
        auto it = m_texts.constFind(day);
        if (it == m_texts.constEnd())
            it = m_texts.insert(day, date.isValid() ? m_locale.toString(date, m_pattern) : QString());
        return it.value();
    }

private:
    QLocale m_locale;
    QString m_pattern;
    QHash<qint64, QString> m_texts;
};

} // namespace

QString fourDigitYearDatePattern(const QLocale &locale)
{
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression year(QStringLiteral("y+"));
    pattern.replace(year, QStringLiteral("yyyy"));
    return pattern;
}

QString generalNumberText(Currency value, const QLocale &locale)
{
    QString out;
    appendGeneralNumber(out, value, locale.decimalPoint());
    return out;
}

QString exportText(const QList<ListedDeadline> &rows, const ExportTexts &texts, const QLocale &locale)
{
    QString out;
    out.reserve(128 + rows.size() * 128);
    for (std::size_t i = 0; i < texts.captions.size(); ++i) {
        if (i > 0)
            out += Tab;
        out += texts.captions[i];
    }
    out += LineEnd;

    const QString decimalPoint = locale.decimalPoint();
    DateTexts dates(locale);
    for (const ListedDeadline &row : rows) {
        appendQuoted(out, texts.typeName(row.type));
        out += Tab;
        appendQuoted(out, texts.stateName(row.done));
        out += Tab;
        appendQuoted(out, dates.text(row.date));
        out += Tab;
        appendQuoted(out, row.shownDescription);
        out += Tab;
        out += Quote;
        appendGeneralNumber(out, row.amount, decimalPoint);
        out += Quote;
        out += Tab;
        out += Quote;
        appendGeneralNumber(out, row.balance, decimalPoint);
        out += Quote;
        out += Tab;
        appendQuoted(out, row.counterpartyName);
        out += Tab;
        appendQuoted(out, row.counterpartyNotes);
        out += LineEnd;
    }
    return out;
}

QByteArray encodeExportText(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}
