#!/usr/bin/python3
"""Makes tests/places_tool/sun_reference.csv: the sun's day at seeded places and dates, computed by
an independent ephemeris, for the accuracy test. Run by a maintainer after a change to the
engine's method; the test itself needs only the committed file.

Needs Debian's python3-ephem (apt-get install python3-ephem): a VSOP87 sun. The events are those
of the sun's centre at an altitude of -0.61 degrees with no refraction, the engine's definition,
within the universal-time day; the elevation is the sun's at its culmination.
"""
import argparse
import csv
import math
import random

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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default="tests/places_tool/sun_reference.csv")
    out = parser.parse_args().output
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
