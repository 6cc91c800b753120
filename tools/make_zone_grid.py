#!/usr/bin/env python3
"""Rebuild data/zone-grid.txt: the time zone of any point of the Earth, as a compact tree.

A maintainer's script, run by hand; neither the build nor the tests run it. It fetches the
pinned npm package @photostructure/tz-lookup (CC0 1.0; its tree is drawn from Evan Siroky's
timezone-boundary-builder, whose data is ODbL 1.0, itself made from OpenStreetMap) with
`npm pack` into a temporary folder and copies out its zone names and its tree, unchanged:

  line 1   orvalin-zone-grid 1
  line 2   the number of zones, n
  n lines  the IANA zone names, in the tree's order
  last     the tree: 48 x 24 cells of 7.5 degrees, each cell two characters, then nodes of four
           children of two characters each, halving the cell at each level (placesfile/
           zone_grid.cpp reads it)

    python3 tools/make_zone_grid.py               # fetch, rebuild data/zone-grid.txt
    python3 tools/make_zone_grid.py --from DIR    # DIR/photostructure-tz-lookup-<v>.tgz
    python3 tools/make_zone_grid.py --check       # only check the committed file

The script checks the copy by looking up known places with its own reading of the tree.
"""

from __future__ import annotations

import argparse
import re
import sys
import tarfile
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_world_places as world  # noqa: E402

DEFAULT_OUT = world.REPO / "data" / "zone-grid.txt"
PACKAGE = ("@photostructure/tz-lookup", "11.7.0",
           "sha512-QbKHXvleluMIlAHf2JiQTJNU5rLQBeQhLobyRqgXZ6NNGKqNikaRkjYviJ4nMU7Y75QE7bBYM8xjiFGjAukyhw==")
TARBALL = "photostructure-tz-lookup-11.7.0.tgz"
MEMBER = "package/tz.js"
MAGIC = "orvalin-zone-grid 1"
# Places whose zone is known, some a few kilometres from a border.
KNOWN = [(46.2, 6.15, "Europe/Zurich"), (27.7, 85.3, "Asia/Kathmandu"),
         (46.194, 6.236, "Europe/Paris"), (-33.87, 151.21, "Australia/Sydney"),
         (40.71, -74.0, "America/New_York"), (47.56, 52.71, "Asia/Atyrau"),
         (64.14, -21.94, "Atlantic/Reykjavik"), (19.08, 72.88, "Asia/Kolkata"),
         (47.57, -52.71, "America/St_Johns"), (-13.83, -171.76, "Pacific/Apia")]


def parse(tz_js: str) -> tuple[list[str], str]:
    tree = re.search(r'var X="([^"\\]*)"', tz_js)
    zones = re.search(r'T=\[([^\]]*)\]', tz_js)
    if not tree or not zones:
        raise world.Fail("tz.js no longer holds X=\"...\" and T=[...]")
    names = [z.strip('"') for z in zones.group(1).split(",")]
    return names, tree.group(1)


def lookup(zones: list[str], tree: str, lat: float, lon: float) -> str:
    """The package's own walk of the tree (placesfile/zone_grid.cpp does the same)."""
    if lat >= 90:
        return "Etc/GMT"
    leaves = 3136 - len(zones)
    x = 48 * (180 + lon) / 360.00000000000006
    y = 24 * (90 - lat) / 180.00000000000003
    col, row = int(x), int(y)
    at = 96 * row + 2 * col
    k = 56 * ord(tree[at]) + ord(tree[at + 1]) - 1995
    node = -1
    while k < leaves:
        node = node + k + 1
        y = 2 * (y - row) % 2
        row = int(y)
        x = 2 * (x - col) % 2
        col = int(x)
        at = 8 * node + 4 * row + 2 * col + 2304
        k = 56 * ord(tree[at]) + ord(tree[at + 1]) - 1995
    return zones[k - leaves]


def render(zones: list[str], tree: str) -> str:
    return "\n".join([MAGIC, str(len(zones)), *zones, tree]) + "\n"


def check(text: str) -> int:
    lines = text.split("\n")
    if lines[0] != MAGIC or lines[-1] != "":
        raise world.Fail(f"the file must begin with {MAGIC!r} and end with a line break")
    count = int(lines[1])
    zones, tree = lines[2:2 + count], lines[2 + count]
    if len(lines) != count + 4:
        raise world.Fail("the zone count does not match the lines")
    unknown = [z for z in zones if z not in world.known_zones()]
    if unknown:
        raise world.Fail(f"zones unknown to zoneinfo: {unknown}")
    for lat, lon, want in KNOWN:
        got = lookup(zones, tree, lat, lon)
        if got != want:
            raise world.Fail(f"{lat}, {lon} gives {got}, not {want}")
    return count


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", type=Path, default=DEFAULT_OUT)
    ap.add_argument("--check", action="store_true")
    ap.add_argument("--from", dest="from_dir", type=Path)
    args = ap.parse_args()
    try:
        if args.check:
            print(f"{args.out}: {check(args.out.read_text(encoding='ascii'))} zones, well formed")
            return 0
        name, version, integrity = PACKAGE
        with tempfile.TemporaryDirectory(prefix="orvalin-zones-") as tmp:
            if args.from_dir:
                path = args.from_dir / TARBALL
                world.check_integrity(path, integrity)
            else:
                print(f"fetching {name}@{version}", file=sys.stderr)
                path = world.npm_pack(name, version, integrity, Path(tmp))
            with tarfile.open(path, "r:gz") as tar:
                tz_js = tar.extractfile(MEMBER).read().decode("utf-8")
        text = render(*parse(tz_js))
        count = check(text)
        args.out.write_text(text, encoding="ascii")
    except world.Fail as e:
        print(f"make_zone_grid: {e}", file=sys.stderr)
        return 1
    print(f"wrote {count} zones and the tree ({len(text)} bytes) to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
