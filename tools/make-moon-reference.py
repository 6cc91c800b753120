#!/usr/bin/python3
"""Makes the references of the moon's accuracy tests, computed by an independent ephemeris. Run by
a maintainer after a change to the engine's moon; the tests need only the committed files.

- tests/cli/moon_local_days_reference.csv: a year of days at places of the world list on their
  own zones, each day from its first moment on the zone's clock to the next day's: every
  moonrise, moonset and upper transit in it, and the moon's light at 12:00 on the clock.
- with --positions, tests/engine/moon_positions_reference.csv: the moon's geocentric and
  topocentric place, elongation and illuminated fraction at random places and moments.
- with --phases, tests/engine/moon_phases_reference.csv: the year's principal phases.

Needs Debian's python3-ephem (apt-get install python3-ephem). Moonrise and moonset are the upper
limb at -34' with no refraction (pressure 0): the centre's geometric topocentric altitude at -34'
less the moon's apparent radius; the observer at height 0 on the ellipsoid.
"""
import argparse
import datetime
import importlib.util
import math
import random
from pathlib import Path
from zoneinfo import ZoneInfo

import ephem

_spec = importlib.util.spec_from_file_location(
    "sun_reference", Path(__file__).with_name("make-sun-reference.py"))
sun_reference = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(sun_reference)
degrees, world_places, day_start = (sun_reference.degrees, sun_reference.world_places,
                                    sun_reference.day_start)

YEAR = sun_reference.LOCAL_YEAR
LIMB_DEG = -34 / 60
SECONDS_PER_DAY = 86400
SAMPLE_MINUTES = 10      # the altitude is sampled this often, crossings then bisected
NEAR_DEG = 1.0           # a sampled extremum this near the limb's altitude is searched closely
GRAZING_DAYS = 0.5 / 24  # a stretch above or below shorter than this marks its ends as grazing
SEED = 20270302
NORTHERN = 26            # places drawn beyond 60 degrees
DRAWN = 156              # and from the whole world list
NAMED = [("Genève", "Switzerland"), ("Tromsø", "Norway"),
         ("Longyearbyen", "Svalbard & Jan Mayen"), ("Quito", "Ecuador"), ("New Delhi", "India"),
         ("Sydney", "Australia"),
         ("Reykjavík", "Iceland"), ("Chicago", "United States"), ("Apia", "Samoa"),
         ("Ushuaia", "Argentina"), ("Helsinki", "Finland"), ("Nuuk", "Greenland"),
         ("Anchorage", "United States"), ("Fairbanks", "United States"), ("Murmansk", "Russia"),
         ("Norilsk", "Russia"), ("Yellowknife", "Canada"), ("Vorkuta", "Russia")]


def observer_at(latitude, longitude_east, height=0.0):
    observer = ephem.Observer()
    observer.lat = str(latitude)
    observer.lon = str(longitude_east)
    observer.elevation = height
    observer.pressure = 0  # no refraction: the limb's altitude holds it
    return observer


class LimbHeight:
    """The moon's upper limb above -34', degrees, at moments given as ephem dates."""

    def __init__(self, latitude, longitude_east):
        self.observer = observer_at(latitude, longitude_east)
        self.moon = ephem.Moon()

    def __call__(self, when):
        self.observer.date = when
        self.moon.compute(self.observer)
        return math.degrees(float(self.moon.alt) + float(self.moon.radius)) - LIMB_DEG

    def azimuth(self, when):
        self(when)
        return math.degrees(float(self.moon.az))


def bisect(height, a, b, ha):
    while b - a > 0.001 / SECONDS_PER_DAY:
        m = (a + b) / 2
        hm = height(m)
        if (hm > 0) == (ha > 0):
            a, ha = m, hm
        else:
            b = m
    return (a + b) / 2


def extremum(height, a, b, highest):
    """The moment of the highest (or lowest) limb within [a, b], by golden section."""
    sign = 1 if highest else -1
    g = (math.sqrt(5) - 1) / 2
    while b - a > 1 / SECONDS_PER_DAY:
        c, d = b - g * (b - a), a + g * (b - a)
        if sign * height(c) > sign * height(d):
            b = d
        else:
            a = c
    return (a + b) / 2


def crossings(height, start, end):
    """(ephem date, rising) of every crossing from start to end: sampled, then bisected. Where
    three samples on one side have their middle one nearest the limb's altitude, and within
    NEAR_DEG of it, the extremum between them is found: past the altitude, it hides two
    crossings."""
    step = SAMPLE_MINUTES / 1440
    times = [start + k * step for k in range(int((end - start) / step) + 2)]
    values = [height(t) for t in times]
    found = []
    for k in range(len(times) - 1):
        if (values[k] > 0) != (values[k + 1] > 0):
            found.append((bisect(height, times[k], times[k + 1], values[k]), values[k + 1] > 0))
    for k in range(1, len(times) - 1):
        before, middle, after = values[k - 1:k + 2]
        below = middle <= 0
        if not ((before <= 0) == below == (after <= 0)) or abs(middle) > NEAR_DEG:
            continue
        turning = middle >= max(before, after) if below else middle <= min(before, after)
        if not turning:
            continue
        turn = extremum(height, times[k - 1], times[k + 1], below)
        at_turn = height(turn)
        if (at_turn <= 0) != below:
            found.append((bisect(height, times[k - 1], turn, before), below))
            found.append((bisect(height, turn, times[k + 1], at_turn), not below))
    found.sort()
    return [c for c in found if start <= c[0] < end]


def grazing(events, k):
    """Whether the stretch before or after crossing k lasts under GRAZING_DAYS."""
    t = events[k][0]
    return ((k > 0 and t - events[k - 1][0] < GRAZING_DAYS) or
            (k + 1 < len(events) and events[k + 1][0] - t < GRAZING_DAYS))


def transits(latitude, longitude_east, start, end):
    """(ephem date, elevation) of every upper transit from start to end."""
    observer = observer_at(latitude, longitude_east)
    moon = ephem.Moon()
    found = []
    t = observer.next_transit(moon, start=start)
    while t < end:
        observer.date = t
        moon.compute(observer)
        found.append((float(t), math.degrees(float(moon.alt))))
        t = observer.next_transit(moon, start=t)
    return found


def illuminated(moon, sun):
    """(1 + cos i) / 2 of the phase angle i, from the bodies' apparent geocentric places and
    distances (Meeus, Astronomical Algorithms, ch. 48). ephem's own moon_phase strays from it by
    up to 0.0025."""
    psi = float(ephem.separation((moon.g_ra, moon.g_dec), (sun.g_ra, sun.g_dec)))
    moon_distance, sun_distance = moon.earth_distance, sun.earth_distance
    i = math.atan2(sun_distance * math.sin(psi), moon_distance - sun_distance * math.cos(psi))
    return (1 + math.cos(i)) / 2


def light(when):
    """The illuminated fraction and the days since the last new moon, at an ephem date."""
    return (illuminated(ephem.Moon(when), ephem.Sun(when)),
            when - float(ephem.previous_new_moon(when)))


def noon(zone, date):
    local = datetime.datetime(date.year, date.month, date.day, 12, tzinfo=ZoneInfo(zone))
    return ephem.Date(local.astimezone(datetime.timezone.utc).replace(tzinfo=None))


def local_days(row):
    """One line a day: moonrises and moonsets as seconds after the day's first moment and their
    azimuths, '*' after a grazing one (';' between several), the transits' seconds and
    elevations, then the illuminated fraction and the age in days at 12:00."""
    latitude, longitude_east = degrees(row["latitude"]), degrees(row["longitude"])
    height = LimbHeight(latitude, longitude_east)
    first = datetime.date(YEAR, 1, 1)
    days = [first + datetime.timedelta(days=n)
            for n in range((datetime.date(YEAR + 1, 1, 1) - first).days + 1)]
    starts = [float(day_start(row["zone"], d)) for d in days]
    events = crossings(height, starts[0] - 1, starts[-1] + 1)
    culminations = transits(latitude, longitude_east, starts[0], starts[-1])
    lines = []
    for date, start, end in zip(days, starts, starts[1:]):
        seconds = lambda t: f"{(t - start) * SECONDS_PER_DAY:.1f}"
        cells = []
        for rising in (True, False):
            cells.append(";".join(
                f"{seconds(t)}/{height.azimuth(t):.3f}{'*' if grazing(events, k) else ''}"
                for k, (t, up) in enumerate(events) if up == rising and start <= t < end))
        cells.append(";".join(f"{seconds(t)}/{e:.3f}" for t, e in culminations
                              if start <= t < end))
        fraction, age = light(noon(row["zone"], date))
        cells += [f"{fraction:.4f}", f"{age:.4f}"]
        lines.append(",".join(cells))
    return latitude, longitude_east, lines


HEADER = ("# {year}, a line a day from 1 January after each place's line (place,name,latitude,"
          "longitude East,zone): rises,sets,transits,illuminated,age; a rise or set as seconds "
          "after the day's first moment/azimuth, '*' after a grazing one; a transit as "
          "seconds/elevation; ';' between several; the illuminated fraction and the age in days "
          "at 12:00; made by tools/make-moon-reference.py, ephem {version}\n")


def write_local_days(out, world):
    rows = world_places(world)
    places = sun_reference.chosen_places(rows, NAMED, NORTHERN, DRAWN, SEED, polar_latitude=60)
    with open(out, "w", encoding="utf-8") as f:
        f.write(HEADER.format(year=YEAR, version=ephem.__version__))
        for row in places:
            latitude, longitude_east, lines = local_days(row)
            f.write(f"place,{row['name']},{latitude:.6f},{longitude_east:.6f},{row['zone']}\n")
            f.write("\n".join(lines) + "\n")
    print(f"{out}: {len(places)} places, {YEAR}, ephem {ephem.__version__}")


POSITION_SEED = 20271209
POSITIONS = 300
HIGHEST = 3000  # metres: the observers' heights are drawn up to this
AU_KM = 149597870.7
POSITION_HEADER = ("latitude,longitude_east,height,utc,ra,dec,distance,topocentric_ra,"
                   "topocentric_dec,topocentric_distance,semi_diameter,azimuth,elevation,"
                   "elongation,illuminated,moon_phase")


def separation(a, b):
    """The angle between two bodies' apparent geocentric places, degrees."""
    return math.degrees(float(ephem.separation((a.g_ra, a.g_dec), (b.g_ra, b.g_dec))))


def write_positions(out, world):
    """A line a place and moment: the apparent geocentric right ascension, declination and
    distance (km), the same seen from the place and the semi-diameter, the azimuth and geometric
    elevation, the elongation from the sun, the illuminated fraction and ephem's own figure of
    it; angles in degrees."""
    rng = random.Random(POSITION_SEED)
    rows = rng.sample(world_places(world), POSITIONS)
    with open(out, "w", encoding="utf-8") as f:
        f.write(POSITION_HEADER + "\n")
        for row in rows:
            latitude, longitude_east = degrees(row["latitude"]), degrees(row["longitude"])
            height = round(rng.uniform(0, HIGHEST))
            when = datetime.datetime(YEAR, 1, 1) + datetime.timedelta(
                seconds=rng.randrange(365 * SECONDS_PER_DAY))
            moment = ephem.Date(when)  # whose own datetime() may fall short of the second
            observer = observer_at(latitude, longitude_east, height)
            observer.date = moment
            moon, sun = ephem.Moon(observer), ephem.Sun(observer)
            geocentric, geocentric_sun = ephem.Moon(moment), ephem.Sun(moment)
            values = [math.degrees(float(geocentric.g_ra)), math.degrees(float(geocentric.g_dec)),
                      geocentric.earth_distance * AU_KM, math.degrees(float(moon.ra)),
                      math.degrees(float(moon.dec)), moon.earth_distance * AU_KM,
                      math.degrees(float(moon.radius)), math.degrees(float(moon.az)),
                      math.degrees(float(moon.alt)), separation(moon, sun),
                      illuminated(geocentric, geocentric_sun), moon.moon_phase]
            f.write(",".join([f"{latitude:.6f}", f"{longitude_east:.6f}", str(height),
                              when.strftime("%Y-%m-%dT%H:%M:%SZ")] +
                             [f"{v:.7f}" for v in values]) + "\n")
    print(f"{out}: {POSITIONS} moments, ephem {ephem.__version__}")


PHASES = [("new", ephem.next_new_moon), ("first quarter", ephem.next_first_quarter_moon),
          ("full", ephem.next_full_moon), ("last quarter", ephem.next_last_quarter_moon)]


def write_phases(out):
    """The principal phases of the year in universal time, in order."""
    first, last = ephem.Date(f"{YEAR}/1/1"), ephem.Date(f"{YEAR + 1}/1/1")
    found = []
    for name, following in PHASES:
        t = following(first)
        while t < last:
            found.append((float(t), name))
            t = following(t)
    with open(out, "w", encoding="utf-8") as f:
        f.write("utc,phase\n")
        for t, name in sorted(found):
            when = ephem.Date(t).datetime()
            f.write(f"{when.strftime('%Y-%m-%dT%H:%M:%S')}.{when.microsecond // 100000}Z,{name}\n")
    print(f"{out}: {len(found)} phases, ephem {ephem.__version__}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--positions", action="store_true")
    parser.add_argument("--phases", action="store_true")
    parser.add_argument("--world", default="data/world-places.csv")
    parser.add_argument("--output")
    args = parser.parse_args()
    if args.positions:
        write_positions(args.output or "tests/engine/moon_positions_reference.csv", args.world)
    elif args.phases:
        write_phases(args.output or "tests/engine/moon_phases_reference.csv")
    else:
        write_local_days(args.output or "tests/cli/moon_local_days_reference.csv", args.world)


if __name__ == "__main__":
    main()
