// The time zone of any point of the Earth, from data/zone-grid.txt (tools/make_zone_grid.py): in
// each cell of 7.5 degrees, a tree of quarters that halve down to where zones of different clocks
// meet, to about 1.5 km there, and further at the world list's towns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "engine/coordinates.h"

namespace orvalin {

struct ZoneGridReading;

class ZoneGrid {
 public:
  // The grid of a text, or why the text is none: "is damaged: its check value does not match".
  static ZoneGridReading Read(std::string_view text);
  static std::optional<ZoneGrid> Parse(std::string_view text);

  // The IANA zone at a point (degrees, North and East positive); "" outside the Earth's ranges.
  std::string ZoneAt(Latitude latitude, Longitude longitude) const;

 private:
  struct Cell {
    std::uint32_t first_zone = 0;  // in palette_
    std::uint32_t first_slot = 0;  // in slots_
    std::uint32_t slot_count = 0;
  };
  Problem ReadCell(std::string_view line);

  std::vector<std::string> zones_;
  std::vector<std::uint16_t> palette_;  // indices into zones_, cell after cell
  // Four a node, nodes in breadth-first order: 0 for a child node, else 1 + its palette index.
  std::string slots_;
  std::vector<Cell> cells_;
};

// The check value the second line holds: the CRC-32 of the lines after it.
std::uint32_t ZoneGridCheckValue(std::string_view lines);

struct ZoneGridReading {
  std::optional<ZoneGrid> grid;
  Problem problem;
};

}  // namespace orvalin
