#!/usr/bin/python3
"""The other device of the sync tests: a CalDAV client nobody here wrote
(python3-caldav) reading and changing the calendar named "Quelvo".

Usage: caldav_peer.py URL USER PASSWORD COMMAND [ARGS]
  calendars                  names of the user's calendars, one per line
  list                       SUMMARY|DTSTART|RRULE of every event, sorted
  add UID SUMMARY DTSTART [RRULE]
  edit SUMMARY NEW_SUMMARY   changes the summary (and description) of that event
  delete SUMMARY
"""
import sys

import caldav
import icalendar

url, user, password, command, *args = sys.argv[1:]
principal = caldav.DAVClient(url=url, username=user, password=password).principal()
if command == "calendars":
    for c in principal.calendars():
        print(c.name)
    sys.exit(0)
calendar = next(c for c in principal.calendars() if c.name == "Quelvo")


def events():
    for e in calendar.events():
        cal = icalendar.Calendar.from_ical(e.data)
        for v in cal.walk("VEVENT"):
            yield e, v


def find(summary):
    for e, v in events():
        if str(v.get("SUMMARY")) == summary:
            return e
    sys.exit(f"sem o evento {summary!r}")


if command == "list":
    rows = []
    for _, v in events():
        rule = v.get("RRULE")
        rows.append("|".join([str(v.get("SUMMARY")), v.decoded("DTSTART").strftime("%Y%m%dT%H%M"),
                              rule.to_ical().decode() if rule else ""]))
    print("\n".join(sorted(rows)))
elif command == "add":
    uid, summary, start, *rule = args
    lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//teste//outro aparelho//PT", "BEGIN:VEVENT",
             f"UID:{uid}", "DTSTAMP:20261201T120000Z", f"DTSTART:{start}", f"SUMMARY:{summary}"]
    if rule:
        lines.append(f"RRULE:{rule[0]}")
    lines += ["END:VEVENT", "END:VCALENDAR", ""]
    calendar.save_event("\r\n".join(lines))
elif command == "edit":
    old, new = args
    e = find(old)
    cal = icalendar.Calendar.from_ical(e.data)
    for v in cal.walk("VEVENT"):
        v["SUMMARY"] = icalendar.vText(new)
        if "DESCRIPTION" in v:
            v["DESCRIPTION"] = icalendar.vText(new)
    e.data = cal.to_ical().decode()
    e.save()
elif command == "delete":
    find(args[0]).delete()
else:
    sys.exit(f"comando desconhecido: {command}")
