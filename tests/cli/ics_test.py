"""orvalin-table --format ics read back by a real iCalendar parser and imported by a real client,
Debian's khal: every line within 75 octets and ended by CRLF; an event for each sunrise and
sunset that the JSON of the same days gives, two on a day that holds two; instants without DTEND,
spans that end after they start, none of them busy; each title's time the start as a calendar
shows it on the place's own clock; UIDs that stay the same from one run to the next; and khal
imports the year without a warning and lists each event at the time of its title; with the
moon, its rises, sets and every principal phase among them."""
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile
from zoneinfo import ZoneInfo

import icalendar

# Tromsø holds polar days and nights, and days with two sunsets on its own clock.
ARGS = ["--lat", "69.6492", "--lon", "18.9553", "--year", "2027"]
SPANS = ["--golden-hour", "--blue-hour", "--twilight", "civil", "--moon"]
ZONE = "Europe/Oslo"
INSTANTS = ("sunrise", "sunset", "dawn", "dusk", "moonrise", "moonset", "moon")
TITLE_TIME = re.compile(r" (\d\d:\d\d) \u2014 ")
KHAL_CONFIG = """[calendars]
[[sun]]
path = {folder}/calendar
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
local_timezone = {zone}
default_timezone = {zone}
[sqlite]
path = {folder}/khal.db
"""


def run(table, *extra):
    return subprocess.run([table, *ARGS, *extra], check=True, stdout=subprocess.PIPE).stdout


def expected_events(table):
    """(kind, date, ordinal) to the moment of every sunrise and sunset the JSON gives."""
    expected = {}
    for day in json.loads(run(table, "--tz", ZONE, "--format", "json"))["days"]:
        for kind in ("sunrise", "sunset"):
            value = day[kind]
            for n, event in enumerate(value if isinstance(value, list) else [value] * bool(value)):
                moment = datetime.datetime.fromisoformat(event["time"])
                expected[(kind, day["date"], n + 1)] = moment.astimezone(datetime.timezone.utc)
    return expected


def check_events(events, expected):
    zone = ZoneInfo(ZONE)
    found = {}
    for event in events:
        uid = str(event["UID"])
        start = event.decoded("DTSTART")
        assert start.utcoffset() == datetime.timedelta(0), uid
        assert str(event["TRANSP"]) == "TRANSPARENT", uid
        title = str(event["SUMMARY"])
        assert TITLE_TIME.search(title).group(1) == start.astimezone(zone).strftime("%H:%M"), title
        kind = uid.split("-")[0]
        if kind not in INSTANTS:
            assert event.decoded("DTEND") > start, uid
            continue
        assert "DTEND" not in event, uid
        if kind in ("sunrise", "sunset"):
            date, rest = uid[len(kind) + 1:][:10], uid[len(kind) + 12:].split("-")
            found[(kind, date, int(rest[0]) if len(rest) > 1 else 1)] = start
    assert found.keys() == expected.keys(), set(found.keys()) ^ set(expected.keys())
    for key, start in found.items():
        assert abs((start - expected[key]).total_seconds()) <= 1, key
    assert ("sunset", "2027-07-27", 2) in found, "Tromsø sets twice on 27 July 2027"


def check_khal(khal, raw, count):
    """khal imports the calendar without a word and lists each event at its title's time."""
    base = "/dev/shm" if os.path.isdir("/dev/shm") else None  # khal writes a file an event
    with tempfile.TemporaryDirectory(dir=base) as folder:
        os.mkdir(os.path.join(folder, "calendar"))
        config = os.path.join(folder, "config")
        with open(config, "w", encoding="utf-8") as f:
            f.write(KHAL_CONFIG.format(folder=folder, zone=ZONE))
        calendar = os.path.join(folder, "sun.ics")
        with open(calendar, "wb") as f:
            f.write(raw)
        imported = subprocess.run([khal, "-c", config, "import", "--batch", calendar],
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, check=True)
        assert imported.stdout == b"", imported.stdout.decode()
        listed = subprocess.run([khal, "-c", config, "list", "--day-format", "", "--format",
                                 "{start} {title}", "2027-01-01", "366d"],
                                stdout=subprocess.PIPE, check=True).stdout.decode()
    lines = {line for line in listed.splitlines() if line}
    for line in lines:
        assert line[11:16] == TITLE_TIME.search(line).group(1), line
    assert len(lines) == count, (len(lines), count)


def main(table, khal):
    raw = run(table, "--format", "ics", *SPANS)
    lines = raw.split(b"\r\n")
    assert lines[-1] == b"", "the calendar ends with CRLF"
    assert all(b"\n" not in line and len(line) <= 75 for line in lines), "folded at 75 octets"
    calendar = icalendar.Calendar.from_ical(raw)
    assert ZONE in str(calendar["X-WR-CALDESC"]), "the calendar names its clock"
    events = calendar.walk("VEVENT")
    check_events(events, expected_events(table))
    uids = [str(e["UID"]) for e in events]
    assert len(set(uids)) == len(uids), "one UID an event"
    again = icalendar.Calendar.from_ical(run(table, "--format", "ics", *SPANS)).walk("VEVENT")
    assert [str(e["UID"]) for e in again] == uids, "UIDs are stable"
    phases = run(table, "--tz", ZONE, "--moon-phases", "--format", "csv").splitlines()[1:]
    assert len([u for u in uids if u.startswith("moon-phase-")]) == len(phases), "every phase"
    check_khal(khal, raw, len(events))
    print(f"{len(events)} events read back and imported")


if __name__ == "__main__":
    main(*sys.argv[1:])
