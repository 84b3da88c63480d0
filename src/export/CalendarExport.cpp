#include "export/CalendarExport.h"

#include "export/SafeFileWriter.h"
#include "platform/MoneyFormatter.h"

#include <QBuffer>
#include <QHash>

#include <libical/ical.h>

#include <algorithm>
#include <memory>

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct PropertyFree
{
    void operator()(icalproperty *p) const { icalproperty_free(p); }
};
using Property = std::unique_ptr<icalproperty, PropertyFree>;

// Ours, and reserved so that it can never be anybody else's.
constexpr char UidDomain[] = "@deadlines.orvel2.invalid";

const QByteArray ProductId = QByteArrayLiteral("-//Orvel 2//Deadlines " ORVEL_VERSION "//EN");

// Calendar text may hold tabs and line breaks (escaped by libical) but no other
// control character; a lone CR would otherwise vanish and glue two lines together.
QByteArray calendarText(const QString &text)
{
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t' && c != u'\n') || c.unicode() == 0x7f;
    });
    if (plain)
        return text.toUtf8();
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            clean += u'\n';
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\t' || c == u'\n' || (c.unicode() >= 0x20 && c.unicode() != 0x7f)) {
            clean += c;
        }
    }
    return clean.toUtf8();
}

icaltimetype dayOf(const QDate &date)
{
    icaltimetype day = icaltime_null_date();
    day.year = date.year();
    day.month = date.month();
    day.day = date.day();
    return day;
}

// libical's text of one property or component: its lines, escaped and folded,
// each ending in CR LF.
void appendProperty(QByteArray &out, icalproperty *property)
{
    char *text = icalproperty_as_ical_string_r(property);
    out += text;
    icalmemory_free_buffer(text);
}

QByteArray componentText(icalcomponent *component)
{
    char *text = icalcomponent_as_ical_string_r(component);
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

QByteArray uidBytes(const ListedDeadline &row)
{
    QByteArray uid = QByteArrayLiteral("orvel2-");
    uid += QByteArray::number(row.sheetId);
    uid += '-';
    uid += QByteArray::number(row.rowId);
    uid += UidDomain;
    return uid;
}

QString summaryOf(const ListedDeadline &row, const QString &counterWord)
{
    if (row.groupId <= 0 || row.groupSize <= 0)
        return row.description;
    QString summary = row.description;
    summary += u' ';
    summary += QString::number(row.groupRow);
    summary += u' ';
    summary += counterWord;
    summary += u' ';
    summary += QString::number(row.groupSize);
    return summary;
}

QString descriptionOf(const ListedDeadline &row, const ExportTexts &texts, const MoneyFormatter &money)
{
    QString text;
    auto addLine = [&text](const QString &line) {
        if (!text.isEmpty())
            text += u'\n';
        text += line;
    };
    if (row.type != -2)
        addLine(texts.captions[4] + QStringLiteral(": ")
                + (row.amount ? money.format(*row.amount) : texts.outOfRange));
    if (!row.counterpartyName.isEmpty())
        addLine(texts.captions[6] + QStringLiteral(": ") + row.counterpartyName);
    if (!row.counterpartyNotes.isEmpty())
        addLine(texts.captions[7] + QStringLiteral(": ") + row.counterpartyNotes);
    if (!row.notes.isEmpty()) {
        if (!text.isEmpty())
            text += u'\n';
        addLine(row.notes);
    }
    return text;
}

// Writes the events. A VEVENT's text is its BEGIN line, each property's lines and
// its END line, so each event is put together from property texts that libical
// writes, escapes and folds. The profile of the straightforward way (a component
// tree per deadline, serialised whole) showed malloc and free inside libical taking
// most of the time, so the properties that are the same for every event are
// written once, those that repeat (dates, type) once per value, and only the
// deadline's own texts per event.
class EventWriter
{
public:
    EventWriter(const icaltimetype &stamp, const ExportTexts &texts)
        : m_texts(texts),
          m_uid(icalproperty_new_uid("")),
          m_summary(icalproperty_new_summary("")),
          m_description(icalproperty_new_description(""))
    {
        Component event(icalcomponent_new(ICAL_VEVENT_COMPONENT));
        const QByteArray empty = componentText(event.get());   // "BEGIN:VEVENT\r\nEND:VEVENT\r\n"
        const qsizetype split = empty.indexOf("\r\n") + 2;
        m_begin = empty.left(split);
        m_end = empty.mid(split);

        appendProperty(m_fixed, Property(icalproperty_new_dtstamp(stamp)).get());
        // A deadline marks a day; it does not make the user busy.
        appendProperty(m_fixed, Property(icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT)).get());
    }

    void append(QByteArray &out, const ListedDeadline &row, const QString &summary, const QString &description)
    {
        out += m_begin;
        icalproperty_set_uid(m_uid.get(), uidBytes(row).constData());
        appendProperty(out, m_uid.get());
        out += m_fixed;
        out += datesOf(row.date);
        appendText(out, m_summary.get(), icalproperty_set_summary, summary);
        appendText(out, m_description.get(), icalproperty_set_description, description);
        out += categoryOf(row.type);
        out += m_end;
    }

private:
    static void appendText(QByteArray &out, icalproperty *property, void (*set)(icalproperty *, const char *),
                           const QString &text)
    {
        if (text.isEmpty())
            return;
        set(property, calendarText(text).constData());
        appendProperty(out, property);
    }

    const QByteArray &datesOf(const QDate &date)
    {
        auto it = m_dates.constFind(date.toJulianDay());
        if (it == m_dates.constEnd()) {
            QByteArray lines;
            appendProperty(lines, Property(icalproperty_new_dtstart(dayOf(date))).get());
            appendProperty(lines, Property(icalproperty_new_dtend(dayOf(date.addDays(1)))).get());
            it = m_dates.insert(date.toJulianDay(), lines);
        }
        return it.value();
    }

    const QByteArray &categoryOf(int type)
    {
        auto it = m_categories.constFind(type);
        if (it == m_categories.constEnd()) {
            QByteArray lines;
            const QString name = m_texts.typeName(type);
            if (!name.isEmpty())
                appendProperty(lines, Property(icalproperty_new_categories(calendarText(name).constData())).get());
            it = m_categories.insert(type, lines);
        }
        return it.value();
    }

    const ExportTexts &m_texts;
    Property m_uid;
    Property m_summary;
    Property m_description;
    QByteArray m_begin;
    QByteArray m_end;
    QByteArray m_fixed;
    QHash<qint64, QByteArray> m_dates;
    QHash<int, QByteArray> m_categories;
};

} // namespace

QString calendarUid(const ListedDeadline &row)
{
    return QString::fromLatin1(uidBytes(row));
}

bool writeCalendar(QIODevice &device, const QList<ListedDeadline> &rows, const ExportTexts &texts,
                   const QDateTime &stamp, const QLocale &locale)
{
    Q_ASSERT(stamp.isValid());
    const icaltimetype stampTime = icaltime_from_timet_with_zone(
        time_t(stamp.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());

    // The calendar's own lines come from libical too; the events go between its
    // properties and its closing line.
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(ProductId.constData()));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    const QByteArray calendarLines = componentText(calendar.get());
    static constexpr QByteArrayView Closing = "END:VCALENDAR\r\n";
    Q_ASSERT(calendarLines.endsWith(Closing));

    // Written out in chunks that reuse one buffer: a calendar of a long list runs to
    // tens of megabytes, and fresh memory for all of it cost more than writing it.
    static constexpr qsizetype ChunkSize = 256 * 1024;
    QByteArray chunk;
    chunk.reserve(ChunkSize + 64 * 1024);
    auto flush = [&device, &chunk]() {
        const bool written = SafeFileWriter::writeAll(device, chunk);
        chunk.resize(0);
        return written;
    };

    chunk += QByteArrayView(calendarLines).chopped(Closing.size());
    const MoneyFormatter money(locale);
    EventWriter writer(stampTime, texts);
    for (const ListedDeadline &row : rows) {
        if (row.done || !row.date.isValid())
            continue;
        writer.append(chunk, row, summaryOf(row, texts.counterWord), descriptionOf(row, texts, money));
        if (chunk.size() >= ChunkSize && !flush())
            return false;
    }
    chunk += Closing;
    return flush();
}

QByteArray exportCalendar(const QList<ListedDeadline> &rows, const ExportTexts &texts,
                          const QDateTime &stamp, const QLocale &locale)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeCalendar(buffer, rows, texts, stamp, locale);
    return buffer.data();
}
