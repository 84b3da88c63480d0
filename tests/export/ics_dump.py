#!/usr/bin/env python3
"""Reads an iCalendar file with the icalendar package and prints what it holds as
JSON, so a test can compare the events a calendar program would see with the
deadlines that were exported."""
import datetime
import json
import sys

import icalendar


def day_or_time(value):
    # A datetime is also a date; tell them apart so an all-day event cannot pass
    # for a timed one.
    if isinstance(value, datetime.datetime):
        return "time:" + value.isoformat()
    return "date:" + value.isoformat()


def categories(event):
    value = event.get("categories")
    if value is None:
        return []
    values = value if isinstance(value, list) else [value]
    out = []
    for v in values:
        out.extend(str(c) for c in getattr(v, "cats", [v]))
    return out


def main(path):
    with open(path, "rb") as f:
        calendar = icalendar.Calendar.from_ical(f.read())
    events = []
    for event in calendar.walk("VEVENT"):
        events.append({
            "uid": str(event.get("uid")),
            "dtstamp": day_or_time(event.decoded("dtstamp")),
            "dtstart": day_or_time(event.decoded("dtstart")),
            "dtend": day_or_time(event.decoded("dtend")),
            "summary": str(event.get("summary", "")),
            "description": str(event.get("description", "")),
            "categories": categories(event),
            "transp": str(event.get("transp", "")),
        })
    json.dump({
        "name": calendar.name,
        "prodid": str(calendar.get("prodid", "")),
        "version": str(calendar.get("version", "")),
        "events": events,
    }, sys.stdout, ensure_ascii=True)


if __name__ == "__main__":
    main(sys.argv[1])
