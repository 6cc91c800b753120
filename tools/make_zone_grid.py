#!/usr/bin/env python3
"""Rebuild data/zone-grid.txt: the time zone of any point of the Earth, as a compact tree.

A maintainer's script, run by hand (about ten minutes); neither the build nor the tests run it.
It fetches two pinned npm packages with `npm pack` into a temporary folder:

  @photostructure/tz-lookup  a coarse tree of the zones (CC0 1.0), kept wherever it is right
  geo-tz                     the zones' boundaries (code MIT; data ODbL 1.0, see zone_polygons.py)

Both are drawn from Evan Siroky's timezone-boundary-builder. The coarse tree is refined, cell by
cell, wherever a zone whose clock differs from the tree's answer reaches into the cell, down to
cells of 7.5 / 2^FINEST degrees (about 1.6 km); then further at every town of
data/world-places.csv whose answer keeps another clock than the town's own zone (see CLOCK_FROM).

  line 1   orvalin-zone-grid 2
  line 2   the number of zones, n, and the CRC-32 of the lines after it (8 hex digits)
  n lines  the IANA zone names
  1152     one line per cell of 7.5 degrees, row after row from the north, west to east: its
           zone count c (one digit), its zones (two digits each, indices into the names), then
           its tree breadth first, four slots a node (north-west, north-east, south-west,
           south-east): 0 for a child node, k for its k-th zone; two slots a digit when c <= 7.
           Digits are 0-9A-Za-z-_ (0 to 63). A cell of one zone has no slots.

    python3 tools/make_zone_grid.py               # fetch, rebuild data/zone-grid.txt
    python3 tools/make_zone_grid.py --from DIR    # DIR holds the two pinned .tgz files
    python3 tools/make_zone_grid.py --check       # only check the committed file
"""

from __future__ import annotations

import argparse
import collections
import csv
import datetime as dt
import re
import sys
import tarfile
import tempfile
import zlib
import zoneinfo
from functools import cache
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_world_places as world  # noqa: E402
import zone_polygons  # noqa: E402

DEFAULT_OUT = world.REPO / "data" / "zone-grid.txt"
TOWNS = world.REPO / "data" / "world-places.csv"
COARSE = ("@photostructure/tz-lookup", "11.7.0",
          "sha512-QbKHXvleluMIlAHf2JiQTJNU5rLQBeQhLobyRqgXZ6NNGKqNikaRkjYviJ4nMU7Y75QE7bBYM8xjiFGjAukyhw==")
BOUNDARIES = ("geo-tz", "8.1.9",
              "sha512-J5hjHEJNJGc7D9WLz9mYJmkWgdCXrn9/rX74/qTdir7lHypz2Xq8aXKzDKbvg189nNtwMYZGsvnB9GoVt9ejxw==")
COARSE_TARBALL, BOUNDARIES_TARBALL = "photostructure-tz-lookup-11.7.0.tgz", "geo-tz-8.1.9.tgz"
COARSE_MEMBER = "package/tz.js"
INDEX_MEMBER = "package/data/timezones.geojson.index.json"
DAT_MEMBER = "package/data/timezones.geojson.geo.dat"
MAGIC = "orvalin-zone-grid 2"
COLUMNS, ROWS, CELL = 48, 24, 7.5
DIGITS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_"
PACKED = 7  # most zones of a cell written two slots a digit
FINEST = 9  # levels below a cell where clocks meet: 7.5 / 512 degrees
TOWN_FINEST = 20  # levels below a cell at a town: under a metre
TOWN_DEPTH, TOWN_REACH = FINEST + 1, 0.005  # a town's own zone kept in cells of about 800 m
# Two zones keep the same clock when their offsets agree from CLOCK_FROM to CLOCK_UNTIL
# (tests/cli/zone_clocks_test.cpp compares the towns' clocks over the same years).
CLOCK_FROM, CLOCK_UNTIL = 2015, 2038
SAMPLE_DAYS = 3
KNOWN = [(46.2, 6.15, "Europe/Zurich"), (27.7, 85.3, "Asia/Kathmandu"),
         (46.194, 6.236, "Europe/Paris"), (-33.87, 151.21, "Australia/Sydney"),
         (40.71, -74.0, "America/New_York"), (47.56, 52.71, "Asia/Atyrau"),
         (64.14, -21.94, "Atlantic/Reykjavik"), (19.08, 72.88, "Asia/Kolkata"),
         (47.57, -52.71, "America/St_Johns"), (-13.83, -171.76, "Pacific/Apia"),
         (65.8481, 24.1466, "Europe/Helsinki"), (9.5511, 1.1861, "Africa/Lome"),
         (28.3411, -100.8511, "America/Monterrey"), (-54.8, -68.3, "America/Argentina/Ushuaia"),
         (7.2425, -70.7322, "America/Caracas")]


# ---------------------------------------------------------------------------------------- clocks

def _offset(zone: zoneinfo.ZoneInfo, t: int) -> float:
    return dt.datetime.fromtimestamp(t, zone).utcoffset().total_seconds()


@cache
def clock(name: str) -> tuple:
    """The zone's offset at CLOCK_FROM and each change of it until CLOCK_UNTIL, to the second."""
    zone = zoneinfo.ZoneInfo(name)
    start = int(dt.datetime(CLOCK_FROM, 1, 1, tzinfo=dt.timezone.utc).timestamp())
    end = int(dt.datetime(CLOCK_UNTIL, 1, 1, tzinfo=dt.timezone.utc).timestamp())
    step = SAMPLE_DAYS * 86400
    changes, before = [_offset(zone, start)], _offset(zone, start)
    for t in range(start, end, step):
        after = _offset(zone, t + step)
        if after != before:
            low, high = t, t + step
            while high - low > 1:
                mid = (low + high) // 2
                low, high = (mid, high) if _offset(zone, mid) == before else (low, mid)
            changes.append((high, after))
            before = after
    return tuple(changes)


# ------------------------------------------------------------------------------ the coarse tree

def coarse_tree(tz_js: str) -> dict:
    """tz-lookup's tree: per cell (column, row) a zone name or a list of four children."""
    found_tree = re.search(r'var X="([^"\\]*)"', tz_js)
    found_zones = re.search(r'T=\[([^\]]*)\]', tz_js)
    if not found_tree or not found_zones:
        raise world.Fail("tz.js no longer holds X=\"...\" and T=[...]")
    tree = found_tree.group(1)
    zones = [z.strip('"') for z in found_zones.group(1).split(",")]
    leaves = 3136 - len(zones)

    def node(at: int, parent: int):
        k = 56 * ord(tree[at]) + ord(tree[at + 1]) - 1995
        if k >= leaves:
            return zones[k - leaves]
        here = parent + k + 1
        return [node(8 * here + 2 * i + 2304, here) for i in range(4)]
    return {(c, r): node(96 * r + 2 * c, -1) for r in range(ROWS) for c in range(COLUMNS)}


def cell_rect(column: int, row: int) -> tuple:
    west, north = -180 + CELL * column, 90 - CELL * row
    return (west, north - CELL, west + CELL, north)


def quarters(rect: tuple) -> list[tuple]:
    """North-west, north-east, south-west, south-east, as the tree orders a node's children."""
    left, bottom, right, top = rect
    mid_x, mid_y = (left + right) / 2, (bottom + top) / 2
    return [(left, mid_y, mid_x, top), (mid_x, mid_y, right, top),
            (left, bottom, mid_x, mid_y), (mid_x, bottom, right, mid_y)]


# ------------------------------------------------------------------------------------ refinement

def _area(a: tuple, b: tuple) -> float:
    return max(0.0, min(a[2], b[2]) - max(a[0], b[0])) * max(0.0, min(a[3], b[3]) - max(a[1], b[1]))


def _reaching(rect: tuple, parts: list) -> list:
    """The parts (part, its boundary's edges in rect, or None where it fills rect) in rect."""
    out = []
    for part, edges in parts:
        if _area(rect, part.domain) <= 0:
            continue
        if edges is None:
            out.append((part, None))
            continue
        left, bottom, right, top = rect
        inside = [e for e in edges if not (e[2] < left or e[0] > right or e[3] < bottom or e[1] > top)]
        if inside:
            out.append((part, inside))
        else:
            d = part.domain
            x = (max(left, d[0]) + min(right, d[2])) / 2
            y = (max(bottom, d[1]) + min(top, d[3])) / 2
            if part.contains(x, y):
                out.append((part, None))
    return out


class Refiner:
    def __init__(self, boundaries: zone_polygons.Boundaries) -> None:
        self.boundaries = boundaries

    def answer(self, coarse: str, x: float, y: float) -> str:
        """The zone at a point: the coarse tree's unless the boundaries put another clock there."""
        zones = self.boundaries.zones_at(x, y)
        if not zones or any(clock(z) == clock(coarse) for z in zones):
            return coarse
        return zones[0]

    def walk(self, coarse, rect: tuple, depth: int):
        if isinstance(coarse, list):
            return self._merged([self.walk(c, q, depth + 1) for c, q in zip(coarse, quarters(rect))])
        others, same = [], []
        for part in self.boundaries.parts_in(rect):
            zones = part.zones if isinstance(part, zone_polygons.Filled) else [part.zone]
            alike = any(clock(z) == clock(coarse) for z in zones)
            filled = isinstance(part, zone_polygons.Filled)
            (same if alike else others).append((part, None if filled else part.boundary))
        return self.refine(coarse, rect, depth, others, same)

    def refine(self, coarse: str, rect: tuple, depth: int, others: list, same: list):
        others = _reaching(rect, others)
        if not others:
            return coarse
        same = _reaching(rect, same)
        x, y = (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2
        if len({clock(p.zone) for p, _ in others + same}) == 1:
            # One clock, and perhaps the sea, where any answer serves.
            here = self.boundaries.zones_at(x, y)
            names = [p.zone for p, _ in others]
            return here[0] if here and here[0] in names else names[0]
        if depth >= FINEST:
            return self.answer(coarse, x, y)
        return self._merged([self.refine(coarse, q, depth + 1, others, same)
                             for q in quarters(rect)])

    @staticmethod
    def _merged(children: list):
        if all(isinstance(c, str) for c in children) and len(set(children)) == 1:
            return children[0]
        return children


# ---------------------------------------------------------------------------------- the towns

def towns() -> list[tuple[float, float, str, str]]:
    """(latitude, longitude East, zone, name) of each town, the angles read as the programs do."""
    def angle(text: str) -> float:
        d, m, s, letter = text.split()
        value = float(d) + float(m) / 60 + float(s) / 3600
        return -value if letter in "SW" else value
    with TOWNS.open(encoding="utf-8", newline="") as f:
        return [(angle(r["latitude"]), angle(r["longitude"]), r["zone"], r["name"])
                for r in csv.DictReader(f)]


def path_to(lat: float, lon: float) -> tuple[tuple[int, int], list[int]]:
    """The cell and the endless quarters (0 to 3) a point lies in, as zone_grid.cpp walks them."""
    x = COLUMNS * (180 + lon) / 360.00000000000006
    y = ROWS * (90 - lat) / 180.00000000000003
    column, row = int(x), int(y)
    cell, steps = (column, row), []
    for _ in range(TOWN_FINEST + 4):
        y = (2 * (y - row)) % 2
        row = int(y)
        x = (2 * (x - column)) % 2
        column = int(x)
        steps.append(2 * row + column)
    return cell, steps


def lookup(tree: dict, lat: float, lon: float) -> str:
    if lat >= 90:
        return "Etc/GMT"
    cell, steps = path_to(lat, lon)
    node = tree[cell]
    for step in steps:
        if isinstance(node, str):
            return node
        node = node[step]
    raise world.Fail(f"the tree is deeper than {TOWN_FINEST + 4} levels at {lat}, {lon}")


def refine_down(tree: dict, coarse: dict, refiner: Refiner, lat: float, lon: float,
                zone: str) -> bool:
    """Splits the leaves down a town's path, each quarter on the boundaries' answer at its
    middle, until the town's leaf keeps the town's clock; False when none down to TOWN_FINEST
    does."""
    cell, steps = path_to(lat, lon)
    rect, parent, key, node = cell_rect(*cell), tree, cell, tree[cell]
    coarse_zone = lookup(coarse, lat, lon)
    for step in steps[:TOWN_FINEST]:
        if isinstance(node, str):
            node = [refiner.answer(coarse_zone, (q[0] + q[2]) / 2, (q[1] + q[3]) / 2)
                    for q in quarters(rect)]
            parent[key] = node
        parent, key, rect = node, step, quarters(rect)[step]
        node = node[step]
        if isinstance(node, str) and clock(node) == clock(zone):
            return True
    return False


def paint(node, rect: tuple, square: tuple, zone: str, depth: int):
    """The node with every cell of depth TOWN_DEPTH that meets square on zone."""
    if _area(rect, square) <= 0:
        return node
    if depth == TOWN_DEPTH:
        return zone
    children = [node] * 4 if isinstance(node, str) else node
    return Refiner._merged([paint(c, q, square, zone, depth + 1)
                            for c, q in zip(children, quarters(rect))])


def mend_towns(tree: dict, coarse: dict, refiner: Refiner) -> tuple[int, list[str]]:
    """Refines the tree at each town whose answer keeps another clock than the town's zone;
    where the boundaries themselves put it on another clock (a zone drawn otherwise, zones
    overlapping), the town's zone is kept TOWN_REACH degrees around it. (Towns refined, those.)"""
    mended, disagree = 0, []
    for lat, lon, zone, name in towns():
        if clock(lookup(tree, lat, lon)) == clock(zone):
            continue
        mended += 1
        if refine_down(tree, coarse, refiner, lat, lon, zone):
            continue
        disagree.append(name)
        square = (lon - TOWN_REACH, lat - TOWN_REACH, lon + TOWN_REACH, lat + TOWN_REACH)
        for key, node in tree.items():
            tree[key] = paint(node, cell_rect(*key), square, zone, 0)
    return mended, disagree


# -------------------------------------------------------------------------------------- the text

def encode_cell(node, index: dict[str, int]) -> str:
    if isinstance(node, str):
        return DIGITS[1] + DIGITS[index[node] // 64] + DIGITS[index[node] % 64]
    palette, slots, queue = [], [], collections.deque([node])
    while queue:
        for child in queue.popleft():
            if isinstance(child, str):
                if child not in palette:
                    palette.append(child)
                slots.append(palette.index(child) + 1)
            else:
                slots.append(0)
                queue.append(child)
    if len(palette) >= len(DIGITS):
        raise world.Fail(f"a cell of {len(palette)} zones")
    if len(palette) <= PACKED:
        digits = "".join(DIGITS[8 * a + b] for a, b in zip(slots[0::2], slots[1::2]))
    else:
        digits = "".join(DIGITS[v] for v in slots)
    return (DIGITS[len(palette)] + "".join(DIGITS[index[z] // 64] + DIGITS[index[z] % 64]
                                           for z in palette) + digits)


def decode_cell(line: str, zones: list[str]):
    count = DIGITS.index(line[0])
    palette = [zones[64 * DIGITS.index(line[1 + 2 * k]) + DIGITS.index(line[2 + 2 * k])]
               for k in range(count)]
    digits = [DIGITS.index(c) for c in line[1 + 2 * count:]]
    slots = [v for d in digits for v in divmod(d, 8)] if count <= PACKED else digits
    if not slots:
        return palette[0]
    nodes = [[None] * 4 for _ in range(slots.count(0) + 1)]
    made = 0
    for at, value in enumerate(slots):
        if value == 0:
            made += 1
        nodes[at // 4][at % 4] = nodes[made] if value == 0 else palette[value - 1]
    return nodes[0]


def render(tree: dict) -> str:
    zones = sorted({z for node in tree.values() for z in _leaves(node)})
    index = {z: k for k, z in enumerate(zones)}
    body = "\n".join([*zones, *(encode_cell(tree[(c, r)], index)
                                for r in range(ROWS) for c in range(COLUMNS))]) + "\n"
    return f"{MAGIC}\n{len(zones)} {zlib.crc32(body.encode('ascii')):08x}\n{body}"


def _leaves(node):
    if isinstance(node, str):
        yield node
    else:
        for child in node:
            yield from _leaves(child)


def parse(text: str) -> dict:
    lines = text.split("\n")
    if lines[0] != MAGIC or lines[-1] != "":
        raise world.Fail(f"the file must begin with {MAGIC!r} and end with a line break")
    count, check = lines[1].split()
    body = text.split("\n", 2)[2]
    if int(check, 16) != zlib.crc32(body.encode("ascii")):
        raise world.Fail("the check value does not match")
    zones, cells = lines[2:2 + int(count)], lines[2 + int(count):-1]
    if len(cells) != COLUMNS * ROWS:
        raise world.Fail("the zone count does not match the lines")
    unknown = [z for z in zones if z not in world.known_zones()]
    if unknown:
        raise world.Fail(f"zones unknown to zoneinfo: {unknown}")
    return {(k % COLUMNS, k // COLUMNS): decode_cell(line, zones) for k, line in enumerate(cells)}


def check(text: str) -> str:
    tree = parse(text)
    for lat, lon, want in KNOWN:
        got = lookup(tree, lat, lon)
        if got != want:
            raise world.Fail(f"{lat}, {lon} gives {got}, not {want}")
    wrong = [name for lat, lon, zone, name in towns() if clock(lookup(tree, lat, lon)) != clock(zone)]
    if wrong:
        raise world.Fail(f"{len(wrong)} towns on another clock: {wrong[:10]}")
    nodes = sum(1 for node in tree.values() for _ in _nodes(node))
    return f"{text.count(chr(10)) - 2 - COLUMNS * ROWS} zones, {nodes} nodes, every town on its clock"


def _nodes(node):
    if not isinstance(node, str):
        yield node
        for child in node:
            yield from _nodes(child)


def build(coarse_js: str, index_json: str, dat: bytes) -> str:
    coarse = coarse_tree(coarse_js)
    refiner = Refiner(zone_polygons.Boundaries(index_json, dat))
    tree = {}
    for (column, row), node in coarse.items():
        tree[(column, row)] = refiner.walk(node, cell_rect(column, row), 0)
        if column == COLUMNS - 1:
            print(f"row {row + 1} of {ROWS}", file=sys.stderr)
    mended, disagree = mend_towns(tree, coarse, refiner)
    print(f"{mended} towns refined; {len(disagree)} placed by their own zone against the "
          f"boundaries: {disagree}", file=sys.stderr)
    return render(tree)


def fetch(from_dir: Path | None, tmp: Path) -> tuple[str, str, bytes]:
    paths = []
    for (name, version, integrity), tarball in ((COARSE, COARSE_TARBALL),
                                                (BOUNDARIES, BOUNDARIES_TARBALL)):
        if from_dir:
            paths.append(from_dir / tarball)
            world.check_integrity(paths[-1], integrity)
        else:
            print(f"fetching {name}@{version}", file=sys.stderr)
            paths.append(world.npm_pack(name, version, integrity, tmp))
    with tarfile.open(paths[0], "r:gz") as tar:
        coarse_js = tar.extractfile(COARSE_MEMBER).read().decode("utf-8")
    with tarfile.open(paths[1], "r:gz") as tar:
        index_json = tar.extractfile(INDEX_MEMBER).read().decode("utf-8")
        dat = tar.extractfile(DAT_MEMBER).read()
    return coarse_js, index_json, dat


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", type=Path, default=DEFAULT_OUT)
    ap.add_argument("--check", action="store_true")
    ap.add_argument("--from", dest="from_dir", type=Path)
    args = ap.parse_args()
    try:
        if args.check:
            print(f"{args.out}: {check(args.out.read_text(encoding='ascii'))}")
            return 0
        with tempfile.TemporaryDirectory(prefix="orvalin-zones-") as tmp:
            text = build(*fetch(args.from_dir, Path(tmp)))
        summary = check(text)
        args.out.write_text(text, encoding="ascii")
    except world.Fail as e:
        print(f"make_zone_grid: {e}", file=sys.stderr)
        return 1
    print(f"wrote {args.out} ({len(text)} bytes): {summary}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
