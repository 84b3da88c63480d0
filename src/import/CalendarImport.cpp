#include "import/DeadlineImport.h"

#include <QDateTime>
#include <QSet>

#include <libical/ical.h>

#include <memory>
#include <optional>

// Calendar events read as appointments through libical, apart from the text
// formats so that only this file speaks its C interface.

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QDate dayOf(icaltimetype time)
{
    if (!time.is_date && icaltime_is_utc(time)) {
        const QDateTime utc(QDate(time.year, time.month, time.day), QTime(time.hour, time.minute, time.second),
                            Qt::UTC);
        return utc.toLocalTime().date();
    }
    return QDate(time.year, time.month, time.day);
}

// The occurrences of an event, or a fault.
std::optional<LineFault> occurrencesOf(icalcomponent *event, icaltimetype start, QList<QDate> &dates)
{
    constexpr int MostMembers = 999;
    dates.append(dayOf(start));
    icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!rule)
        return std::nullopt;
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    if (recurrence.count <= 0 && icaltime_is_null_time(recurrence.until))
        return LineFault::RepeatsForever;
    QSet<QDate> excluded;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        excluded.insert(dayOf(icalproperty_get_exdate(p)));
    dates.clear();
    icalrecur_iterator *it = icalrecur_iterator_new(recurrence, start);
    if (!it)
        return LineFault::BadEvent;
    for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next) && dates.size() < MostMembers;
         next = icalrecur_iterator_next(it)) {
        const QDate day = dayOf(next);
        if (!excluded.contains(day))
            dates.append(day);
    }
    icalrecur_iterator_free(it);
    if (dates.isEmpty())
        dates.append(dayOf(start));
    return std::nullopt;
}

} // namespace

ImportParse parseCalendarEvents(const QByteArray &bytes)
{
    ImportParse parse;
    // Each event is read on its own, so that every refusal knows its line.
    const QList<QByteArray> lines = bytes.split('\n');
    int groupKey = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().compare("BEGIN:VEVENT", Qt::CaseInsensitive) != 0)
            continue;
        const int firstLine = int(i + 1);
        QByteArray block;
        int depth = 0;
        for (; i < lines.size(); ++i) {
            const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
            block += line;
            block += "\r\n";
            const QByteArray word = line.trimmed().toUpper();
            if (word.startsWith("BEGIN:"))
                ++depth;
            else if (word.startsWith("END:") && --depth == 0)
                break;
        }
        const Component event(icalparser_parse_string(block.constData()));
        if (!event || icalcomponent_isa(event.get()) != ICAL_VEVENT_COMPONENT) {
            parse.refused.append({firstLine, LineFault::BadEvent, {}});
            continue;
        }
        const icaltimetype start = icalcomponent_get_dtstart(event.get());
        if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) {
            parse.refused.append({firstLine, LineFault::NoDate, {}});
            continue;
        }
        QList<QDate> dates;
        if (const std::optional<LineFault> fault = occurrencesOf(event.get(), start, dates)) {
            parse.refused.append({firstLine, *fault, {}});
            continue;
        }
        ImportRow row;
        row.type = -2;
        row.description = QString::fromUtf8(icalcomponent_get_summary(event.get()));
        row.notes = QString::fromUtf8(icalcomponent_get_description(event.get()));
        if (dates.size() > 1) {
            row.groupKey = ++groupKey;
            row.groupSize = int(dates.size());
            row.groupType = cadenceBetween(dates[0], dates[1]);
        }
        for (qsizetype k = 0; k < dates.size(); ++k) {
            row.date = dates[k];
            row.groupRow = dates.size() > 1 ? int(k + 1) : 0;
            parse.rows.append({firstLine, row});
        }
    }
    return parse;
}
