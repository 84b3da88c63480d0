#include "import/DeadlineImport.h"

#include "export/TextExport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTimeZone>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>

namespace {

// One record of a delimited file: its fields and the line it starts on.
struct Record
{
    int line = 0;
    QStringList fields;
    bool unclosed = false;   // a quoted field ran to the end of the text
};

// Splits delimited text into records: fields in double quotes may hold the
// separator, line breaks and doubled quotes; lines end in CR LF, LF or CR.
class RecordReader
{
public:
    RecordReader(QStringView text, QChar separator) : m_text(text), m_separator(separator)
    {
        if (m_text.startsWith(QChar(0xfeff)))
            m_pos = 1;
    }

    bool next(Record &record)
    {
        for (;;) {
            if (m_pos >= m_text.size())
                return false;
            record.line = m_line;
            record.fields.clear();
            record.unclosed = false;
            bool anyQuote = false;
            for (;;) {
                QString field;
                if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                    anyQuote = true;
                    if (!readQuoted(field)) {
                        record.fields.append(field);
                        record.unclosed = true;
                        return true;
                    }
                }
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && m_text[m_pos] != m_separator && m_text[m_pos] != u'\n'
                       && m_text[m_pos] != u'\r')
                    ++m_pos;
                // Characters after a closing quote are kept, as spreadsheets do.
                field += m_text.mid(start, m_pos - start);
                record.fields.append(field);
                if (m_pos < m_text.size() && m_text[m_pos] == m_separator) {
                    ++m_pos;
                    continue;
                }
                skipLineEnd();
                break;
            }
            // A blank line is no record.
            if (record.fields.size() == 1 && record.fields.constFirst().isEmpty() && !anyQuote)
                continue;
            return true;
        }
    }

private:
    // Past the opening quote to past the closing one; false at the end of the text.
    bool readQuoted(QString &field)
    {
        ++m_pos;
        for (;;) {
            const qsizetype quote = m_text.indexOf(u'"', m_pos);
            const qsizetype end = quote < 0 ? m_text.size() : quote;
            const QStringView part = m_text.mid(m_pos, end - m_pos);
            m_line += int(part.count(u'\n'));
            field += part;
            if (quote < 0) {
                m_pos = m_text.size();
                return false;
            }
            if (quote + 1 < m_text.size() && m_text[quote + 1] == u'"') {
                field += u'"';
                m_pos = quote + 2;
                continue;
            }
            m_pos = quote + 1;
            return true;
        }
    }

    void skipLineEnd()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == u'\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
        ++m_line;
    }

    QStringView m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// Dates repeat down a file; each distinct text is read once.
class DateReader
{
public:
    DateReader(const QLocale &locale, const QString &pattern) : m_locale(locale), m_pattern(pattern) {}

    QDate read(const QString &text)
    {
        auto found = m_dates.constFind(text);
        if (found == m_dates.constEnd())
            found = m_dates.insert(text, parse(text.trimmed()));
        return found.value();
    }

private:
    QDate parse(const QString &text) const
    {
        QDate date = m_locale.toDate(text, m_pattern);
        if (!date.isValid())
            date = QDate::fromString(text, m_pattern);
        // A time after the day, as some programs write it.
        if (!date.isValid()) {
            static const QRegularExpression timeStart(QStringLiteral("[ T]"));
            const qsizetype cut = text.indexOf(timeStart);
            if (cut > 0)
                date = m_locale.toDate(text.left(cut), m_pattern);
        }
        return date;
    }

    QLocale m_locale;
    QString m_pattern;
    QHash<QString, QDate> m_dates;
};

// An amount in the locale's writing: its decimal separator, optionally its
// grouping (and blanks) between digits, an optional sign. Exact, or nothing.
std::optional<Currency> readAmount(QStringView text, const QLocale &locale, bool grouping)
{
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (text.mid(i).startsWith(decimal)) {
            plain += u'.';
            i += decimal.size() - 1;
        } else if (grouping && !group.isEmpty() && text.mid(i).startsWith(group)) {
            // Groups of exactly three digits, or it was meant as something else:
            // "12,5" in English is no hundred and twenty-five.
            const QStringView after = text.mid(i + group.size());
            const bool three = after.size() >= 3 && after[0].isDigit() && after[1].isDigit() && after[2].isDigit()
                && (after.size() == 3 || !after[3].isDigit());
            if (!three)
                return std::nullopt;
            i += group.size() - 1;
        } else if (grouping && (c.isSpace() || c == QChar(0xa0) || c == QChar(0x202f))) {
            continue;
        } else if (c == u'\u2212') {
            plain += u'-';
        } else if (c == u'.') {
            // A point that is not the locale's decimal separator is no part of a
            // plain number: "1.500" in Italian is fifteen hundred, never 1.5.
            return std::nullopt;
        } else {
            plain += c;
        }
    }
    const QString trimmed = plain.trimmed();
    if (trimmed.startsWith(u'+'))
        return Currency::parse(QStringView(trimmed).mid(1), u'.');
    return Currency::parse(trimmed, u'.');
}

int typeFromName(const QString &text, const QList<ExportTexts> &languages)
{
    const QString name = text.trimmed();
    for (const ExportTexts &texts : languages) {
        for (int type : {1, -1, -2}) {
            if (name.compare(texts.typeName(type), Qt::CaseInsensitive) == 0)
                return type;
        }
    }
    return 0;
}

// "Rent 3 of 12" split into "Rent", 3 and 12; nothing without a counter.
struct Counter
{
    QString base;
    int position = 0;
    int size = 0;
};

std::optional<Counter> counterOf(const QString &shown, const QString &counterWord)
{
    if (counterWord.isEmpty())
        return std::nullopt;
    auto numberBefore = [&shown](qsizetype end, qsizetype &start) -> int {
        start = end;
        while (start > 0 && shown[start - 1].isDigit() && shown[start - 1].unicode() < 128 && end - start < 6)
            --start;
        return start == end ? -1 : QStringView(shown).mid(start, end - start).toInt();
    };
    qsizetype start = 0;
    const int size = numberBefore(shown.size(), start);
    if (size < 2)
        return std::nullopt;
    const QString middle = u' ' + counterWord + u' ';
    if (!QStringView(shown).left(start).endsWith(middle))
        return std::nullopt;
    const qsizetype positionEnd = start - middle.size();
    const int position = numberBefore(positionEnd, start);
    if (position < 1 || position > size || start < 1 || shown[start - 1] != u' ')
        return std::nullopt;
    return Counter{shown.left(start - 1), position, size};
}

// Rows whose counters say they belong together become recurrences again: same
// type, client/supplier, base description and size; a position seen twice starts
// another group. A counter alone in its group stays part of the description.
void regroup(QList<ParsedRow> &rows, const QString &counterWord)
{
    struct Group
    {
        QList<qsizetype> members;
        QList<Counter> counters;
        QSet<int> positions;
    };
    QList<Group> groups;
    QHash<QString, qsizetype> open;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ImportRow &row = rows[i].row;
        const std::optional<Counter> counter = counterOf(row.description, counterWord);
        if (!counter)
            continue;
        const QString key = QString::number(row.type) + u'\x1f' + counter->base + u'\x1f'
            + row.counterpartyName.toCaseFolded() + u'\x1f' + QString::number(counter->size);
        auto found = open.find(key);
        if (found == open.end() || groups[found.value()].positions.contains(counter->position)) {
            groups.append(Group{});
            found = open.insert(key, groups.size() - 1);
        }
        Group &group = groups[found.value()];
        group.members.append(i);
        group.counters.append(*counter);
        group.positions.insert(counter->position);
    }
    int key = 0;
    for (Group &group : groups) {
        if (group.members.size() < 2)
            continue;
        ++key;
        QList<qsizetype> order(group.members.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            const QDate da = rows[group.members[a]].row.date, db = rows[group.members[b]].row.date;
            return da != db ? da < db : group.counters[a].position < group.counters[b].position;
        });
        const QChar cadence = cadenceBetween(rows[group.members[order[0]]].row.date,
                                             rows[group.members[order[1]]].row.date);
        for (qsizetype n = 0; n < order.size(); ++n) {
            ImportRow &row = rows[group.members[order[n]]].row;
            row.description = group.counters[order[n]].base;
            row.groupKey = key;
            row.groupRow = int(n + 1);
            row.groupSize = int(order.size());
            row.groupType = cadence;
        }
    }
}

} // namespace

QList<ImportRow> ImportParse::importRows() const
{
    QList<ImportRow> out;
    out.reserve(rows.size());
    for (const ParsedRow &parsed : rows)
        out.append(parsed.row);
    return out;
}

QString decodeImportText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder system(QStringConverter::System);
        text = system.decode(bytes);
        // Where the system's encoding is UTF-8 too, the bytes were Latin-1 or
        // Windows-1252, which older exports wrote.
        if (system.hasError())
            text = QString::fromLatin1(bytes);
    }
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return text;
}

ImportKind detectImportKind(const QString &fileName, const QString &text, const QList<ExportTexts> &languages)
{
    if (QFileInfo(fileName).suffix().compare(QStringLiteral("ics"), Qt::CaseInsensitive) == 0
        || text.startsWith(QStringLiteral("BEGIN:VCALENDAR")))
        return ImportKind::Calendar;
    const QStringList header = csvHeader(text, u'\t');
    for (const ExportTexts &texts : languages) {
        if (std::equal(texts.captions.begin(), texts.captions.end(), header.begin(), header.end()))
            return ImportKind::ExportText;
    }
    return ImportKind::Csv;
}

ImportParse parseExportText(const QString &text, const QList<ExportTexts> &languages, const QLocale &locale)
{
    ImportParse parse;
    RecordReader reader(text, u'\t');
    Record record;
    const ExportTexts *texts = nullptr;
    if (reader.next(record)) {
        for (const ExportTexts &candidate : languages) {
            if (std::equal(candidate.captions.begin(), candidate.captions.end(), record.fields.begin(),
                           record.fields.end()))
                texts = &candidate;
        }
    }
    if (!texts) {
        parse.refused.append({1, LineFault::NotAnExport, {}});
        return parse;
    }
    auto typeOf = [texts](const QString &name) {
        for (int type : {1, -1, -2}) {
            if (name == texts->typeName(type))
                return type;
        }
        return 0;
    };
    DateReader dates(locale, fourDigitYearDatePattern(locale));
    while (reader.next(record)) {
        const QStringList &f = record.fields;
        auto refuse = [&](LineFault fault, const QString &detail = {}) {
            parse.refused.append({record.line, fault, detail});
        };
        if (record.unclosed) {
            refuse(LineFault::UnclosedQuote);
            break;
        }
        if (f.size() != int(texts->captions.size())) {
            refuse(LineFault::FieldCount, QString::number(f.size()));
            continue;
        }
        ImportRow row;
        row.type = typeOf(f[0]);
        if (row.type == 0) {
            refuse(LineFault::UnknownType, f[0]);
            continue;
        }
        if (f[1] != texts->closed && f[1] != texts->open) {
            refuse(LineFault::UnknownState, f[1]);
            continue;
        }
        row.done = f[1] == texts->closed;
        row.date = dates.read(f[2]);
        if (!row.date.isValid()) {
            refuse(LineFault::BadDate, f[2]);
            continue;
        }
        if (f[4] == texts->outOfRange) {
            refuse(LineFault::AmountOutOfRange);
            continue;
        }
        const std::optional<Currency> value = readAmount(f[4], locale, false);
        if (!value || value->units() < 0) {
            refuse(LineFault::BadAmount, f[4]);
            continue;
        }
        row.value = *value;
        if (row.type != -2) {
            const std::optional<Currency> total = readAmount(f[5], locale, false);
            if (!total || total->units() != value->units() * row.type) {
                refuse(LineFault::TotalMismatch, f[5]);
                continue;
            }
        }
        row.description = f[3];
        row.counterpartyName = f[6].trimmed();
        row.counterpartyNotes = f[7];
        parse.rows.append({record.line, std::move(row)});
    }
    regroup(parse.rows, texts->counterWord);
    return parse;
}

QLocale guessExportLocale(const QString &text, const QList<ExportTexts> &languages, const QList<QLocale> &candidates)
{
    // A few hundred lines tell; a cut inside a quoted field costs every candidate alike.
    constexpr int SampleLines = 200;
    qsizetype end = 0;
    for (int n = 0; n < SampleLines && end >= 0; ++n)
        end = text.indexOf(u'\n', end + 1);
    const QString sample = end < 0 ? text : text.left(end + 1);
    QLocale best = candidates.value(0);
    qsizetype most = -1;
    for (const QLocale &locale : candidates) {
        const qsizetype read = parseExportText(sample, languages, locale).rows.size();
        if (read > most) {
            most = read;
            best = locale;
        }
    }
    return best;
}

QChar guessCsvSeparator(const QString &text)
{
    const QStringView first = QStringView(text).left(text.indexOf(u'\n') < 0 ? text.size() : text.indexOf(u'\n'));
    QChar best = u',';
    qsizetype most = 0;
    for (QChar candidate : {u',', u';', u'\t'}) {
        bool quoted = false;
        qsizetype count = 0;
        for (QChar c : first) {
            if (c == u'"')
                quoted = !quoted;
            else if (!quoted && c == candidate)
                ++count;
        }
        if (count > most) {
            most = count;
            best = candidate;
        }
    }
    return best;
}

QStringList csvHeader(const QString &text, QChar separator)
{
    RecordReader reader(text, separator);
    Record record;
    if (!reader.next(record))
        return {};
    for (QString &field : record.fields)
        field = field.trimmed();
    return record.fields;
}

CsvMapping guessCsvMapping(const QStringList &header)
{
    // The usual captions of bank and calendar exports, in the five languages.
    static const QList<std::pair<QStringList, int CsvMapping::*>> names = {
        {{"date", "data", "fecha", "datum", "due", "scadenza", "échéance"}, &CsvMapping::date},
        {{"description", "descrizione", "descripción", "descripcion", "beschreibung", "subject", "oggetto", "concept", "libellé", "verwendungszweck"}, &CsvMapping::description},
        {{"amount", "importo", "montant", "importe", "betrag", "value", "valore"}, &CsvMapping::amount},
        {{"type", "tipo", "typ"}, &CsvMapping::type},
        {{"client/supplier", "cliente/fornitore", "client", "supplier", "cliente", "fornitore", "kunde", "lieferant", "payee", "counterparty", "client/fournisseur", "cliente/proveedor", "kunde/lieferant"}, &CsvMapping::counterparty},
        {{"notes", "note", "notas", "notizen", "memo"}, &CsvMapping::notes},
    };
    CsvMapping mapping;
    for (const auto &[words, member] : names) {
        for (qsizetype i = 0; i < header.size() && mapping.*member < 0; ++i) {
            if (words.contains(header[i].toLower()))
                mapping.*member = int(i);
        }
    }
    return mapping;
}

ImportParse parseCsv(const QString &text, const CsvMapping &mapping, const CsvFormat &format,
                     const QList<ExportTexts> &typeNames)
{
    ImportParse parse;
    RecordReader reader(text, format.separator);
    Record record;
    if (!reader.next(record))
        return parse;
    const int needed = 1 + std::max({mapping.date, mapping.description, mapping.amount, mapping.type,
                                     mapping.counterparty, mapping.notes});
    DateReader dates(format.locale, format.datePattern);
    auto field = [&record](int column) {
        return column < 0 ? QString() : record.fields.value(column).trimmed();
    };
    while (reader.next(record)) {
        auto refuse = [&](LineFault fault, const QString &detail = {}) {
            parse.refused.append({record.line, fault, detail});
        };
        if (record.unclosed) {
            refuse(LineFault::UnclosedQuote);
            break;
        }
        if (record.fields.size() < needed) {
            refuse(LineFault::FieldCount, QString::number(record.fields.size()));
            continue;
        }
        ImportRow row;
        row.date = dates.read(field(mapping.date));
        if (!row.date.isValid()) {
            refuse(LineFault::BadDate, field(mapping.date));
            continue;
        }
        const QString amountText = field(mapping.amount);
        std::optional<Currency> amount = Currency();
        if (!amountText.isEmpty()) {
            amount = readAmount(amountText, format.locale, true);
            if (!amount) {
                refuse(LineFault::BadAmount, amountText);
                continue;
            }
        }
        const QString typeText = field(mapping.type);
        if (!typeText.isEmpty()) {
            row.type = typeFromName(typeText, typeNames);
            if (row.type == 0) {
                refuse(LineFault::UnknownType, typeText);
                continue;
            }
        } else {
            row.type = amount->units() > 0 ? 1 : amount->units() < 0 ? -1 : -2;
        }
        if (amount->units() == std::numeric_limits<qint64>::min()) {
            refuse(LineFault::BadAmount, amountText);
            continue;
        }
        row.value = row.type == -2 ? Currency() : Currency::fromUnits(std::abs(amount->units()));
        row.description = field(mapping.description);
        row.counterpartyName = field(mapping.counterparty);
        row.notes = mapping.notes < 0 ? QString() : record.fields.value(mapping.notes);
        parse.rows.append({record.line, std::move(row)});
    }
    return parse;
}

ImportParse parseImport(const QByteArray &bytes, const ImportOptions &options, const QList<ExportTexts> &languages)
{
    switch (options.kind) {
    case ImportKind::Calendar:
        return parseCalendarEvents(bytes);
    case ImportKind::Csv:
        return parseCsv(decodeImportText(bytes), options.mapping, options.format, languages);
    case ImportKind::ExportText:
        break;
    }
    return parseExportText(decodeImportText(bytes), languages, options.format.locale);
}

QChar cadenceBetween(const QDate &first, const QDate &second)
{
    const qint64 days = first.daysTo(second);
    if (days == 1)
        return u'd';
    if (days == 7)
        return u'w';
    if (days == 14)
        return u'2';
    static const QList<std::pair<int, QChar>> months = {{1, u'm'}, {2, u'b'}, {3, u's'}, {4, u'4'}, {6, u'q'}, {12, u'y'}};
    for (const auto &[count, code] : months) {
        QDate next = first.addMonths(count);
        // A run on the months' last days stays on them.
        const bool monthEnd = first.addDays(1).month() != first.month();
        if (monthEnd && count != 12)
            next = QDate(next.year(), next.month(), next.daysInMonth());
        if (next == second)
            return code;
    }
    return u'n';
}
