#!/usr/bin/python3
"""Makes the references of the accuracy tests, computed by an independent ephemeris. Run by a
maintainer after a change to the engine's method; the tests themselves need only the committed
files.

- tests/engine/sun_reference.csv: the sun's day at seeded places and dates, within the
  universal-time day; the elevation is the sun's at its culmination.
- with --positions, tests/engine/sun_positions_reference.csv: the sun's azimuth and geometric
  elevation at random places and moments, and the crossings of the golden and blue hours' edges
  within their UT days.
- with --local-days, tests/cli/local_days_reference.csv: a whole year of days at places of the
  world list on their own zones, each day from its first moment on the zone's clock to the next
  day's: every sunrise and sunset in it and the time the sun spends above the horizon altitude.
- with --next-events, tests/cli/next_events_reference.csv: every event that orvalin-table --next
  answers, through a year at a few places, as moments in UT.

Needs Debian's python3-ephem (apt-get install python3-ephem): a VSOP87 sun. The events are those
of the sun's centre at an altitude of -0.61 degrees with no refraction, the engine's definition.
"""
import argparse
import csv
import datetime
import math
import random
from zoneinfo import ZoneInfo

import ephem

HORIZON_DEG = -0.61
SEED = 20270301
ROWS = 400
POLAR_SHARE = 0.15     # rows beyond the polar circles, where days without sunrise or sunset lie
FIRST_YEAR, LAST_YEAR = 1900, 2100
HEADER = ["latitude", "longitude_west", "date", "status", "sunrise_h", "sunrise_azimuth",
          "culmination_h", "culmination_azimuth", "sunset_h", "sunset_azimuth", "day_length_h",
          "elevation"]


def hours_into(day_start, when):
    return (float(when) - float(day_start)) * 24


def event(observer, sun, day_start, find):
    """Hours UT of an event within the day and the sun's azimuth then, or None."""
    observer.date = day_start
    try:
        when = find(sun)
    except (ephem.AlwaysUpError, ephem.NeverUpError):
        return None
    hours = hours_into(day_start, when)
    if hours >= 24:
        return None
    observer.date = when
    sun.compute(observer)
    return hours, math.degrees(float(sun.az))


def sun_day(latitude, longitude_west, year, month, day):
    observer = ephem.Observer()
    observer.lat = str(latitude)
    observer.lon = str(-longitude_west)
    observer.elevation = 0
    observer.pressure = 0  # no refraction: the horizon altitude holds it
    observer.horizon = str(HORIZON_DEG)
    sun = ephem.Sun()
    start = ephem.Date((year, month, day))
    rise = event(observer, sun, start, lambda s: observer.next_rising(s, use_center=True))
    culmination = event(observer, sun, start, observer.next_transit)
    sunset = event(observer, sun, start, lambda s: observer.next_setting(s, use_center=True))
    elevation = None
    if culmination:
        observer.date = start + culmination[0] / 24
        sun.compute(observer)
        elevation = math.degrees(float(sun.alt))
    observer.date = start + 0.5
    sun.compute(observer)
    up = math.degrees(float(sun.alt)) > HORIZON_DEG
    if rise and sunset:
        status, length = "complete", (sunset[0] - rise[0]) % 24
    elif not rise and not sunset:
        status, length = ("no sunset" if up else "no sunrise"), (24.0 if up else 0.0)
    else:
        status, length = "one event", None
    return [status, *(rise or (None, None)), *(culmination or (None, None)),
            *(sunset or (None, None)), length, elevation]


def places(rng):
    for _ in range(ROWS):
        if rng.random() < POLAR_SHARE:
            latitude = rng.choice((-1, 1)) * rng.uniform(66.6, 89.5)
        else:
            latitude = rng.uniform(-66.5, 66.5)
        year = rng.randint(FIRST_YEAR, LAST_YEAR)
        month = rng.randint(1, 12)
        day = rng.randint(1, 28)
        yield round(latitude, 4), round(rng.uniform(-180, 180), 4), year, month, day


def cell(value):
    if value is None:
        return ""
    return value if isinstance(value, str) else f"{value:.6f}"


LOCAL_YEAR = 2027
LOCAL_SEED = 20271207
LOCAL_DRAWN = 200        # places drawn from the whole world list
LOCAL_NORTHERN = 24      # and from those beyond 64 degrees, where the polar edges lie
SAMPLE_MINUTES = 10      # the altitude is sampled this often, crossings then bisected
# Places named in reports of wrong events, always included (name, country).
LOCAL_NAMED = [("Chicago", "United States"), ("New Delhi", "India"), ("Reykjavík", "Iceland"),
               ("Magadan", "Russia"), ("Tromsø", "Norway"), ("Denver", "United States"),
               ("Mexico City", "Mexico"), ("Dhaka", "Bangladesh"), ("Apia", "Samoa"),
               ("Longyearbyen", "Svalbard & Jan Mayen"), ("Fairbanks", "United States"),
               ("Murmansk", "Russia"), ("Norilsk", "Russia"), ("Anadyr", "Russia")]


def degrees(text):
    d, m, s, hemisphere = text.split()
    value = int(d) + int(m) / 60 + int(s) / 3600
    return -value if hemisphere in "SW" else value


def world_places(path):
    with open(path, encoding="utf-8") as f:
        return [row for row in csv.DictReader(f) if row["zone"]]


def chosen_places(rows, named_keys=LOCAL_NAMED, northern_count=LOCAL_NORTHERN,
                  drawn=LOCAL_DRAWN, seed=LOCAL_SEED, polar_latitude=64):
    """The named places, then some drawn beyond a latitude, then some from the whole list."""
    rng = random.Random(seed)
    named = [r for key in named_keys for r in rows if (r["name"], r["country"]) == key][:len(named_keys)]
    northern = [r for r in rows if abs(degrees(r["latitude"])) >= polar_latitude and r not in named]
    chosen = named + rng.sample(northern, northern_count)
    rest = [r for r in rows if r not in chosen]
    return chosen + rng.sample(rest, drawn)


class Altitudes:
    """The sun's centre less an altitude, degrees, at moments given as ephem dates."""

    def __init__(self, latitude, longitude_west, altitude=HORIZON_DEG):
        self.altitude = altitude
        self.observer = ephem.Observer()
        self.observer.lat = str(latitude)
        self.observer.lon = str(-longitude_west)
        self.observer.elevation = 0
        self.observer.pressure = 0  # no refraction: the horizon altitude holds it
        self.sun = ephem.Sun()

    def __call__(self, when):
        self.observer.date = when
        self.sun.compute(self.observer)
        return math.degrees(float(self.sun.alt)) - self.altitude

    def azimuth(self):
        return math.degrees(float(self.sun.az))


def crossings(height, start, end):
    """(ephem date, rising) of every crossing from start to end, sampled then bisected."""
    step = SAMPLE_MINUTES / 1440
    found = []
    t, h = start, height(start)
    while t < end:
        u = t + step
        hu = height(u)
        if (h > 0) != (hu > 0):
            a, b, ha = t, u, h
            while b - a > 0.001 / 86400:
                m = (a + b) / 2
                hm = height(m)
                if (hm > 0) == (ha > 0):
                    a, ha = m, hm
                else:
                    b = m
            found.append(((a + b) / 2, hu > 0))
        t, h = u, hu
    return found


def day_start(zone, date):
    """The first moment of a calendar day on a zone's clock, as an ephem date (UTC)."""
    local = datetime.datetime(date.year, date.month, date.day, tzinfo=ZoneInfo(zone))
    return ephem.Date(local.astimezone(datetime.timezone.utc).replace(tzinfo=None))


def local_days(row):
    """One line a day: rises and sunsets as seconds after the day's first moment (';' between
    several), then the seconds the sun is above the horizon altitude in the day."""
    latitude, longitude_west = degrees(row["latitude"]), -degrees(row["longitude"])
    height = Altitudes(latitude, longitude_west)
    first = datetime.date(LOCAL_YEAR, 1, 1)
    days = [first + datetime.timedelta(days=n)
            for n in range((datetime.date(LOCAL_YEAR + 1, 1, 1) - first).days + 1)]
    starts = [day_start(row["zone"], d) for d in days]
    events = crossings(height, starts[0], starts[-1])
    lines = []
    for start, end in zip(starts, starts[1:]):
        inside = [(t, rising) for t, rising in events if start <= t < end]
        up = height(start) > 0
        length, since = 0.0, start
        for t, rising in inside:
            if not rising:
                length += t - since
            since = t
        if (inside[-1][1] if inside else up):
            length += end - since
        seconds = lambda t: f"{(t - start) * 86400:.1f}"
        rises = ";".join(seconds(t) for t, rising in inside if rising)
        sets = ";".join(seconds(t) for t, rising in inside if not rising)
        lines.append(f"{rises},{sets},{length * 86400:.1f}")
    return latitude, longitude_west, lines


def write_local_days(out, world):
    places = chosen_places(world_places(world))
    with open(out, "w", encoding="utf-8") as f:
        f.write(f"# {LOCAL_YEAR}, a line a day from 1 January, after each place's line; made by "
                f"tools/make-sun-reference.py --local-days, ephem {ephem.__version__}\n")
        for row in places:
            latitude, longitude_west, lines = local_days(row)
            f.write(f"place,{row['name']},{latitude:.6f},{longitude_west:.6f},{row['zone']}\n")
            f.write("\n".join(lines) + "\n")
    print(f"{out}: {len(places)} places, {LOCAL_YEAR}, ephem {ephem.__version__}")


POSITION_SEED = 20271208
POSITIONS = 300
BANDS = (-4.0, 6.0, -6.0)  # the edges of the golden and blue hours


def write_positions(out, world):
    """A line a place and moment: the sun's azimuth and geometric elevation then, and the
    crossings of each band edge within that UT day, in hours, 'r' or 's' after each."""
    rng = random.Random(POSITION_SEED)
    rows = rng.sample(world_places(world), POSITIONS)
    with open(out, "w", encoding="utf-8") as f:
        f.write("latitude,longitude_west,utc,azimuth,elevation," +
                ",".join(f"crossings_{b:g}" for b in BANDS) + "\n")
        for row in rows:
            latitude, longitude_west = degrees(row["latitude"]), -degrees(row["longitude"])
            day = datetime.date(LOCAL_YEAR, 1, 1) + datetime.timedelta(days=rng.randrange(365))
            start = ephem.Date((day.year, day.month, day.day))
            moment = ephem.Date(start + rng.randrange(86400) / 86400)
            sun = Altitudes(latitude, longitude_west, 0.0)
            elevation = sun(moment)
            cells = [f"{latitude:.6f}", f"{longitude_west:.6f}",
                     moment.datetime().strftime("%Y-%m-%dT%H:%M:%SZ"), f"{sun.azimuth():.6f}",
                     f"{elevation:.6f}"]
            for band in BANDS:
                found = crossings(Altitudes(latitude, longitude_west, band), start, start + 1)
                cells.append(";".join(f"{(t - start) * 24:.6f}{'r' if rising else 's'}"
                                      for t, rising in found))
            f.write(",".join(cells) + "\n")
    print(f"{out}: {POSITIONS} moments, ephem {ephem.__version__}")


NEXT_PLACES = [("Tromsø", "Norway"), ("New Delhi", "India"), ("Quito", "Ecuador")]
# Each event as the sun crossing an altitude, rising (True) or setting (False); the golden hour
# lies from -4 to 6 degrees, the blue hour from -6 to -4, civil dawn and dusk at -6.
NEXT_CROSSINGS = {
    "sunrise": [(HORIZON_DEG, True)], "sunset": [(HORIZON_DEG, False)],
    "dawn": [(-6.0, True)], "dusk": [(-6.0, False)],
    "golden-hour-start": [(-4.0, True), (6.0, False)], "golden-hour-end": [(6.0, True), (-4.0, False)],
    "blue-hour-start": [(-6.0, True), (-4.0, False)], "blue-hour-end": [(-4.0, True), (-6.0, False)],
}


def culminations(latitude, longitude_west, start, end):
    observer = Altitudes(latitude, longitude_west).observer
    sun, found = ephem.Sun(), []
    observer.date = start
    while True:
        when = observer.next_transit(sun)
        if when >= end:
            return found
        found.append(when)
        observer.date = when + 1 / 86400


def write_next_events(out, world):
    """A line a place, then a line an event: its kind and its moment, seconds from the year's
    first moment in UT."""
    rows = world_places(world)
    start, end = ephem.Date((LOCAL_YEAR, 1, 1)), ephem.Date((LOCAL_YEAR + 1, 1, 1))
    with open(out, "w", encoding="utf-8") as f:
        f.write(f"# {LOCAL_YEAR} from 1 January 0 h UT; made by tools/make-sun-reference.py "
                f"--next-events, ephem {ephem.__version__}\n")
        for key in NEXT_PLACES:
            row = next(r for r in rows if (r["name"], r["country"]) == key)
            latitude, longitude_west = degrees(row["latitude"]), -degrees(row["longitude"])
            f.write(f"place,{row['name']},{latitude:.6f},{longitude_west:.6f}\n")
            found = {altitude: crossings(Altitudes(latitude, longitude_west, altitude), start, end)
                     for altitude in {a for c in NEXT_CROSSINGS.values() for a, _ in c}}
            events = [("culmination", t) for t in culminations(latitude, longitude_west, start, end)]
            for kind, wanted in NEXT_CROSSINGS.items():
                events += [(kind, t) for altitude, rising in wanted
                           for t, r in found[altitude] if r == rising and t < end]
            for kind, t in sorted(events, key=lambda e: (e[0], e[1])):
                f.write(f"{kind},{(t - start) * 86400:.1f}\n")
    print(f"{out}: {len(NEXT_PLACES)} places, {LOCAL_YEAR}, ephem {ephem.__version__}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--local-days", action="store_true")
    parser.add_argument("--positions", action="store_true")
    parser.add_argument("--next-events", action="store_true")
    parser.add_argument("--world", default="data/world-places.csv")
    parser.add_argument("--output")
    args = parser.parse_args()
    if args.positions:
        write_positions(args.output or "tests/engine/sun_positions_reference.csv", args.world)
        return
    if args.next_events:
        write_next_events(args.output or "tests/cli/next_events_reference.csv", args.world)
        return
    if args.local_days:
        write_local_days(args.output or "tests/cli/local_days_reference.csv", args.world)
        return
    out = args.output or "tests/engine/sun_reference.csv"
    with open(out, "w", newline="", encoding="utf-8") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(HEADER)
        for latitude, longitude_west, year, month, day in places(random.Random(SEED)):
            row = sun_day(latitude, longitude_west, year, month, day)
            writer.writerow([latitude, longitude_west, f"{year:04d}-{month:02d}-{day:02d}",
                             *map(cell, row)])
    print(f"{out}: {ROWS} rows, ephem {ephem.__version__}")


if __name__ == "__main__":
    main()
