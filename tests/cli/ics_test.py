"""orvalin-table --format ics read by a real iCalendar parser: every line within 75 octets and
ended by CRLF, two events a day, each at the sunrise or sunset that the CSV of the same days
gives, with UIDs that stay the same from one run to the next."""
import csv
import datetime
import io
import subprocess
import sys

import icalendar

ARGS = ["--lat", "46 12 0 N", "--lon", "6 9 0 E", "--month", "06-2027", "--tz", "Europe/Zurich"]


def run(table, *extra):
    return subprocess.run([table, *ARGS, *extra], check=True, stdout=subprocess.PIPE).stdout


def main(table):
    raw = run(table, "--format", "ics")
    lines = raw.split(b"\r\n")
    assert lines[-1] == b"", "the calendar ends with CRLF"
    assert all(b"\n" not in line and len(line) <= 75 for line in lines), "folded at 75 octets"
    calendar = icalendar.Calendar.from_ical(raw)
    events = calendar.walk("VEVENT")
    rows = list(csv.DictReader(io.StringIO(run(table, "--format", "csv").decode())))
    expected = {}
    for row in rows:
        for kind in ("sunrise", "sunset"):
            moment = datetime.datetime.fromisoformat(row[f"{kind}_time"])
            expected[(kind, row["date"])] = moment.astimezone(datetime.timezone.utc)
    assert len(events) == 2 * len(rows) == len(expected), (len(events), len(rows))
    for event in events:
        kind = "sunrise" if str(event["UID"]).startswith("sunrise") else "sunset"
        date = str(event["UID"])[len(kind) + 1:][:10]
        start = event.decoded("DTSTART")
        assert start.tzinfo is not None and start.utcoffset() == datetime.timedelta(0)
        assert abs((start - expected[(kind, date)]).total_seconds()) <= 1, event["UID"]
        assert str(event["SUMMARY"]).startswith(kind.capitalize() + " "), event["SUMMARY"]
        assert "\u2014" in str(event["SUMMARY"])
    uids = [str(e["UID"]) for e in events]
    assert len(set(uids)) == len(uids), "one UID an event"
    again = icalendar.Calendar.from_ical(run(table, "--format", "ics")).walk("VEVENT")
    assert [str(e["UID"]) for e in again] == uids, "UIDs are stable"
    print(f"{len(events)} events of {len(rows)} days read back")


if __name__ == "__main__":
    main(sys.argv[1])
