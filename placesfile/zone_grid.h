// The time zone of any point of the Earth, from data/zone-grid.txt (tools/make_zone_grid.py): a
// tree of cells that halve down to where the zones' boundaries are drawn.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

class ZoneGrid {
 public:
  // nullopt when the text is not such a grid.
  static std::optional<ZoneGrid> Parse(std::string_view text);

  // The IANA zone at a point (degrees, North and East positive); "" outside the Earth's ranges
  // or where the tree is damaged.
  std::string ZoneAt(double latitude, double longitude_east) const;

 private:
  std::vector<std::string> zones_;
  std::string tree_;
};

}  // namespace orvalin
