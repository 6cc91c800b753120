// A zone grid or a world list and its names file read from any text: refused, or answering
// within its own zones, never reading beyond what it holds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "placesfile/world_list.h"
#include "placesfile/zone_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto grid = orvalin::ZoneGrid::Parse(text)) {
    for (double lat = -90; lat <= 90; lat += 22.5) {
      for (double lon = -180; lon <= 180; lon += 45) (void)grid->ZoneAt(lat, lon);
    }
  }
  // Places, names and a grid, parted by form feeds.
  const std::size_t first = text.find('\f');
  const std::size_t second = first == std::string::npos ? first : text.find('\f', first + 1);
  const std::string places = text.substr(0, first);
  const std::string names =
      first == std::string::npos ? "" : text.substr(first + 1, second - first - 1);
  const std::string zones = second == std::string::npos ? "" : text.substr(second + 1);
  const orvalin::WorldList list = orvalin::WorldList::Parse(places, names, zones);
  for (const auto& town : list.Towns()) {
    if (!town.code.empty() && town.code.size() != 2) std::abort();
  }
  (void)list.ZoneAt({}, 12.5, -45.25);
  return 0;
}
