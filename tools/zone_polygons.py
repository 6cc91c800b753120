"""The time zones' boundaries as the npm package geo-tz holds them, read without node.

geo-tz (code MIT; data from timezone-boundary-builder, ODbL 1.0, © OpenStreetMap contributors)
keeps a quadtree index (`data/timezones.geojson.index.json`): each leaf either names the zones
that fill it, is missing where no zone is (the open sea), or points into
`data/timezones.geojson.geo.dat` at a geobuf FeatureCollection of the zones' polygons clipped to
the leaf. make_zone_grid.py asks it which zones a point or a rectangle meets.
"""

from __future__ import annotations

import json

EDGE = 179.9999  # geo-tz's quadtree stops short of the poles and the antimeridian
TOP = 89.9999
BANDS = 64  # horizontal bands per clipped polygon, so that a point's test reads few edges


# ---------------------------------------------------------------------------------------- geobuf

def _varint(b: memoryview, i: int) -> tuple[int, int]:
    result = shift = 0
    while True:
        c = b[i]
        i += 1
        result |= (c & 0x7F) << shift
        if c < 0x80:
            return result, i
        shift += 7


def _fields(b: memoryview):
    i = 0
    while i < len(b):
        key, i = _varint(b, i)
        number, wire = key >> 3, key & 7
        if wire == 0:
            value, i = _varint(b, i)
        elif wire == 2:
            size, i = _varint(b, i)
            value, i = b[i:i + size], i + size
        elif wire in (1, 5):
            width = 8 if wire == 1 else 4
            value, i = b[i:i + width], i + width
        else:
            raise ValueError(f"protobuf wire type {wire}")
        yield number, value


def _packed(b: memoryview) -> list[int]:
    out, i = [], 0
    while i < len(b):
        value, i = _varint(b, i)
        out.append(value)
    return out


def _rings(b: memoryview, scale: float) -> list[list[tuple[float, float]]]:
    """The rings of a Polygon or MultiPolygon geometry, each without its closing point."""
    kind, lengths, coords = 0, [], []
    for number, value in _fields(b):
        if number == 1:
            kind = value
        elif number == 2:
            lengths = _packed(value)
        elif number == 3:
            coords = [(v >> 1) ^ -(v & 1) for v in _packed(value)]
    if kind not in (4, 5):
        raise ValueError(f"geometry type {kind}, not a polygon")
    if not lengths:
        sizes = [len(coords) // 2]
    elif kind == 4:
        sizes = lengths
    else:  # polygons, then per polygon its ring count and their sizes
        sizes, j = [], 1
        for _ in range(lengths[0]):
            sizes += lengths[j + 1:j + 1 + lengths[j]]
            j += lengths[j] + 1
    rings, at = [], 0
    for size in sizes:
        x = y = 0
        ring = []
        for k in range(size):  # each ring's coordinates are deltas from its previous point
            x += coords[at + 2 * k]
            y += coords[at + 2 * k + 1]
            ring.append((x / scale, y / scale))
        rings.append(ring)
        at += 2 * size
    return rings


def read_collection(b: memoryview) -> list[tuple[str, list]]:
    """(tzid, rings) of each feature of a geobuf FeatureCollection."""
    keys, precision, collection = [], 6, None
    for number, value in _fields(b):
        if number == 1:
            keys.append(bytes(value).decode())
        elif number == 3:
            precision = value
        elif number == 4:
            collection = value
    features = []
    for number, feature in _fields(collection):
        if number != 1:
            continue
        geometry, values, properties = None, [], []
        for n, value in _fields(feature):
            if n == 1:
                geometry = value
            elif n == 13:
                values += [bytes(s).decode() for k, s in _fields(value) if k == 1]
            elif n == 14:
                properties = _packed(value)
        pairs = dict(zip(properties[0::2], properties[1::2]))
        tzid = next(values[v] for k, v in pairs.items() if keys[k] == "tzid")
        features.append((tzid, _rings(geometry, 10.0 ** precision)))
    return features


# ------------------------------------------------------------------------------ clipped polygons

class Polygon:
    """One zone's polygons clipped to a leaf (its domain: left, bottom, right, top)."""

    def __init__(self, zone: str, rings: list, domain: tuple) -> None:
        self.zone, self.domain = zone, domain
        left, bottom, right, top = domain
        self.edges = []  # (x min, y min, x max, y max, x1, y1, x2, y2)
        for ring in rings:
            for (x1, y1), (x2, y2) in zip(ring, ring[1:] + ring[:1]):
                if (x1, y1) != (x2, y2):
                    self.edges.append((min(x1, x2), min(y1, y2), max(x1, x2), max(y1, y2),
                                       x1, y1, x2, y2))
        # The clipping's own edges along the leaf's sides are no boundary of the zone.
        self.boundary = [e for e in self.edges
                         if not ((e[4] == e[6] and (abs(e[4] - left) < 1e-9 or abs(e[4] - right) < 1e-9))
                                 or (e[5] == e[7] and (abs(e[5] - bottom) < 1e-9 or abs(e[5] - top) < 1e-9)))]
        self.band = (top - bottom) / BANDS or 1.0
        self.bands = [[] for _ in range(BANDS)]
        for e in self.edges:
            for k in range(self._band_of(e[1]), self._band_of(e[3]) + 1):
                self.bands[k].append(e)

    def _band_of(self, y: float) -> int:
        return max(0, min(BANDS - 1, int((y - self.domain[1]) / self.band)))

    def contains(self, x: float, y: float) -> bool:
        inside = False
        for _, _, _, _, x1, y1, x2, y2 in self.bands[self._band_of(y)]:
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
        return inside


class Filled:
    """A leaf that one zone fills (the first, where geo-tz names several)."""

    def __init__(self, zones: list[str], domain: tuple) -> None:
        self.zone, self.zones, self.domain = zones[0], zones, domain


def _children(bounds: tuple):
    left, bottom, right, top = bounds
    mid_x, mid_y = (left + right) / 2, (bottom + top) / 2
    return (("a", (mid_x, mid_y, right, top)), ("b", (left, mid_y, mid_x, top)),
            ("c", (left, bottom, mid_x, mid_y)), ("d", (mid_x, bottom, right, mid_y)))


class Boundaries:
    def __init__(self, index_json: str, dat: bytes) -> None:
        index = json.loads(index_json)
        self.names, self.lookup, self.dat = index["timezones"], index["lookup"], memoryview(dat)
        self.chunks: dict[int, list[Polygon]] = {}

    def _chunk(self, leaf: dict, bounds: tuple) -> list[Polygon]:
        pos = leaf["pos"]
        if pos not in self.chunks:
            self.chunks[pos] = [Polygon(zone, rings, bounds) for zone, rings in
                                read_collection(self.dat[pos:pos + leaf["len"]])]
        return self.chunks[pos]

    def _leaf(self, leaf, bounds: tuple) -> list:
        if isinstance(leaf, list):
            return [Filled([self.names[i] for i in leaf], bounds)]
        return self._chunk(leaf, bounds)

    def parts_in(self, rect: tuple) -> list:
        """The Filled leaves and clipped Polygons whose leaves overlap rect."""
        out = []

        def walk(node: dict, children) -> None:
            for key, bounds in children:
                leaf = node.get(key)
                if (leaf is None or bounds[0] >= rect[2] or bounds[2] <= rect[0]
                        or bounds[1] >= rect[3] or bounds[3] <= rect[1]):
                    continue
                if isinstance(leaf, list) or "pos" in leaf:
                    out.extend(self._leaf(leaf, bounds))
                else:
                    walk(leaf, _children(bounds))
        walk(self.lookup, _children((-EDGE, -TOP, EDGE, TOP)))
        return out

    def zones_at(self, x: float, y: float) -> list[str]:
        """The zones at a point as geo-tz's find() walks its index; [] at sea."""
        x, y = min(max(x, -EDGE), EDGE), min(max(y, -TOP), TOP)
        node, bounds = self.lookup, (-EDGE, -TOP, EDGE, TOP)
        while True:
            left, bottom, right, top = bounds
            mid_x, mid_y = (left + right) / 2, (bottom + top) / 2
            key = ("a" if x >= mid_x else "b") if y >= mid_y else ("c" if x < mid_x else "d")
            bounds = dict(_children(bounds))[key]
            node = node.get(key)
            if node is None:
                return []
            if isinstance(node, list):
                return [self.names[i] for i in node]
            if "pos" in node:
                return [p.zone for p in self._chunk(node, bounds) if p.contains(x, y)]
