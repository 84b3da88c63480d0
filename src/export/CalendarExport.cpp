#include "export/CalendarExport.h"

#include "store/MoneyFormat.h"

#include <libical/ical.h>

#include <memory>

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

const QByteArray ProductId = QByteArrayLiteral("-//Orvel 2//Deadlines " ORVEL_VERSION "//EN");

// Calendar text may hold tabs and line breaks (escaped by libical) but no other
// control character; a lone CR would otherwise vanish and glue two lines together.
QByteArray calendarText(const QString &text)
{
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

QString summaryOf(const ListedDeadline &row, const QString &counterWord)
{
    if (row.groupId <= 0 || row.groupSize <= 0)
        return row.description;
    return QStringLiteral("%1 %2 %3 %4").arg(row.description).arg(row.groupRow).arg(counterWord).arg(row.groupSize);
}

QString descriptionOf(const ListedDeadline &row, const ExportTexts &texts, const QLocale &locale)
{
    QStringList lines;
    if (row.type != -2)
        lines << texts.captions[4] + QStringLiteral(": ") + formatMoney(row.amount, locale);
    if (!row.counterpartyName.isEmpty())
        lines << texts.captions[6] + QStringLiteral(": ") + row.counterpartyName;
    if (!row.counterpartyNotes.isEmpty())
        lines << texts.captions[7] + QStringLiteral(": ") + row.counterpartyNotes;
    if (!row.notes.isEmpty()) {
        if (!lines.isEmpty())
            lines << QString();
        lines << row.notes;
    }
    return lines.join(u'\n');
}

void addText(icalcomponent *event, icalproperty *(*make)(const char *), const QString &text)
{
    if (!text.isEmpty())
        icalcomponent_add_property(event, make(calendarText(text).constData()));
}

} // namespace

QString calendarUid(const ListedDeadline &row)
{
    return QStringLiteral("orvel2-%1-%2@deadlines.orvel2.invalid").arg(row.sheetId).arg(row.rowId);
}

QByteArray exportCalendar(const QList<ListedDeadline> &rows, const ExportTexts &texts,
                          const QDateTime &stamp, const QLocale &locale)
{
    Q_ASSERT(stamp.isValid());
    const icaltimetype stampTime = icaltime_from_timet_with_zone(
        time_t(stamp.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());

    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(ProductId.constData()));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));

    for (const ListedDeadline &row : rows) {
        if (row.done || !row.date.isValid())
            continue;
        icalcomponent *event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(event, icalproperty_new_uid(calendarUid(row).toUtf8().constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(stampTime));
        icalcomponent_add_property(event, icalproperty_new_dtstart(dayOf(row.date)));
        icalcomponent_add_property(event, icalproperty_new_dtend(dayOf(row.date.addDays(1))));
        addText(event, icalproperty_new_summary, summaryOf(row, texts.counterWord));
        addText(event, icalproperty_new_description, descriptionOf(row, texts, locale));
        addText(event, icalproperty_new_categories, texts.typeName(row.type));
        // A deadline marks a day; it does not make the user busy.
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar.get(), event);
    }

    char *text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}
