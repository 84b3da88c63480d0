#include "export/TextExport.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringEncoder>

#include <cstring>
#include <limits>

namespace {

// The longest general number: a sign, 15 whole digits, a separator of up to a few
// characters and 4 decimals.
constexpr qsizetype NumberRoom = 32;

// Writes the number at `to` and returns the end; no allocation on this path, which
// runs twice for every exported row.
QChar *writeGeneralNumber(QChar *to, Currency value, QStringView decimalPoint)
{
    const qint64 units = value.units();
    const bool negative = units < 0;
    // The magnitude as unsigned, so the most negative amount survives.
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    quint64 whole = magnitude / quint64(Currency::Scale);
    quint64 fraction = magnitude % quint64(Currency::Scale);

    char16_t digits[20];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (negative)
        *to++ = u'-';
    while (count > 0)
        *to++ = QChar(digits[--count]);

    if (fraction == 0)
        return to;
    char16_t decimals[4];
    for (int i = 3; i >= 0; --i) {
        decimals[i] = char16_t(u'0' + fraction % 10);
        fraction /= 10;
    }
    count = 4;
    while (decimals[count - 1] == u'0')
        --count;
    std::memcpy(to, decimalPoint.data(), decimalPoint.size() * sizeof(QChar));
    to += decimalPoint.size();
    for (int i = 0; i < count; ++i)
        *to++ = QChar(decimals[i]);
    return to;
}

// An amount the file holds out of range is written as words, never as a number a
// spreadsheet would add up.
QChar *writeAmount(QChar *to, std::optional<Currency> value, QStringView decimalPoint, QStringView outOfRange)
{
    if (value)
        return writeGeneralNumber(to, *value, decimalPoint);
    std::memcpy(to, outOfRange.data(), outOfRange.size() * sizeof(QChar));
    return to + outOfRange.size();
}

// Builds the text in one buffer grown ahead of each line and written through a
// pointer: a hundred thousand rows of eight fields make a million small appends,
// and each QString append checks for sharing and room on its own.
class LineWriter
{
public:
    explicit LineWriter(qsizetype expected) { m_text.resize(expected); }

    // Room for at least `size` characters; valid until the next call.
    QChar *room(qsizetype size)
    {
        if (m_used + size > m_text.size())
            m_text.resize(qMax(m_text.size() * 2, m_used + size));
        return m_text.data() + m_used;
    }
    void commit(const QChar *end) { m_used = end - m_text.constData(); }

    QString take()
    {
        m_text.truncate(m_used);
        return std::move(m_text);
    }

private:
    QString m_text;
    qsizetype m_used = 0;
};

QChar *put(QChar *to, QStringView text)
{
    // An empty view may hold no storage at all, and memcpy must not see its null.
    if (text.isEmpty())
        return to;
    std::memcpy(to, text.data(), text.size() * sizeof(QChar));
    return to + text.size();
}

// A field in double quotes, every quote inside doubled; needs 2 + 2 * size.
QChar *putQuoted(QChar *to, QStringView field)
{
    *to++ = u'"';
    if (!field.contains(u'"')) {
        to = put(to, field);
    } else {
        for (QChar c : field) {
            *to++ = c;
            if (c == u'"')
                *to++ = u'"';
        }
    }
    *to++ = u'"';
    return to;
}

QString quotedWithTab(const QString &text)
{
    QString out(2 + 2 * text.size() + 1, Qt::Uninitialized);
    QChar *end = putQuoted(out.data(), text);
    *end++ = u'\t';
    out.truncate(end - out.constData());
    return out;
}

// Lists are sorted and grouped by date, so a few thousand distinct days cover a
// hundred thousand rows; each day is formatted and quoted once.
class DateFields
{
public:
    explicit DateFields(const QLocale &locale)
        : m_locale(locale), m_pattern(fourDigitYearDatePattern(locale))
    {
    }

    const QString &field(const QDate &date)
    {
        const qint64 day = date.isValid() ? date.toJulianDay() : std::numeric_limits<qint64>::min();
        auto it = m_fields.constFind(day);
        if (it == m_fields.constEnd())
            it = m_fields.insert(day, quotedWithTab(date.isValid() ? m_locale.toString(date, m_pattern) : QString()));
        return it.value();
    }

private:
    QLocale m_locale;
    QString m_pattern;
    QHash<qint64, QString> m_fields;
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
    const QString decimalPoint = locale.decimalPoint();
    QString out(NumberRoom + decimalPoint.size(), Qt::Uninitialized);
    out.truncate(writeGeneralNumber(out.data(), value, decimalPoint) - out.constData());
    return out;
}

QString exportText(const QList<ListedDeadline> &rows, const ExportTexts &texts, const QLocale &locale)
{
    LineWriter writer(256 + rows.size() * 128);
    qsizetype headerSize = 2;
    for (const QString &caption : texts.captions)
        headerSize += caption.size() + 1;
    QChar *to = writer.room(headerSize);
    for (std::size_t i = 0; i < texts.captions.size(); ++i) {
        if (i > 0)
            *to++ = u'\t';
        to = put(to, texts.captions[i]);
    }
    to = put(to, u"\r\n");
    writer.commit(to);

    // The fields that take one of a few values, quoted once with their tab.
    const QString credit = quotedWithTab(texts.typeName(1));
    const QString debit = quotedWithTab(texts.typeName(-1));
    const QString appointment = quotedWithTab(texts.typeName(-2));
    const QString noType = quotedWithTab(QString());
    const QString closed = quotedWithTab(texts.stateName(true));
    const QString open = quotedWithTab(texts.stateName(false));
    const QString decimalPoint = locale.decimalPoint();
    DateFields dates(locale);

    for (const ListedDeadline &row : rows) {
        const QString &type = row.type == 1 ? credit : row.type == -1 ? debit : row.type == -2 ? appointment : noType;
        const QString &state = row.done ? closed : open;
        const QString &date = dates.field(row.date);
        const qsizetype size = type.size() + state.size() + date.size()
            + 2 * (NumberRoom + decimalPoint.size() + texts.outOfRange.size() + 3)
            + 2 * (row.shownDescription.size() + row.counterpartyName.size() + row.counterpartyNotes.size())
            + 32;   // quotes, tabs and the line end
        to = writer.room(size);
        to = put(to, type);
        to = put(to, state);
        to = put(to, date);
        to = putQuoted(to, row.shownDescription);
        to = put(to, u"\t\"");
        to = writeAmount(to, row.amount, decimalPoint, texts.outOfRange);
        to = put(to, u"\"\t\"");
        to = writeAmount(to, row.balance, decimalPoint, texts.outOfRange);
        to = put(to, u"\"\t");
        to = putQuoted(to, row.counterpartyName);
        *to++ = u'\t';
        to = putQuoted(to, row.counterpartyNotes);
        to = put(to, u"\r\n");
        writer.commit(to);
    }
    return writer.take();
}

QByteArray encodeExportText(const QString &text, QStringConverter::Encoding encoding)
{
#ifndef Q_OS_WIN
    // Qt takes the system encoding to be UTF-8 everywhere but on Windows; its direct
    // UTF-8 converter gives the same bytes in half the time of the System one.
    if (encoding == QStringConverter::System)
        encoding = QStringConverter::Utf8;
#endif
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}
