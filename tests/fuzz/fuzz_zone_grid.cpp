// A zone grid or a world list and its names file read from any text: refused, or answering
// within its own zones, never reading beyond what it holds. A grid is tried as given, then made
// whole (its header written, missing cells of one zone added) so that the fuzzer reaches the
// cells' trees past the check value.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "placesfile/world_list.h"
#include "placesfile/zone_grid.h"

namespace {

constexpr std::size_t kCells = 48 * 24;
constexpr std::string_view kFirstZoneAlone = "100\n";

// `lines` is the zone count's line, the zones, then the cells.
std::string MadeWhole(std::string_view lines) {
  const std::size_t end = lines.find('\n');
  const std::string count(lines.substr(0, end));
  if (end == std::string_view::npos || count.empty() || count.size() > 4 ||
      count.find_first_not_of("0123456789") != std::string::npos) {
    return {};
  }
  std::string body(lines.substr(end + 1));
  if (!body.empty() && body.back() != '\n') body += '\n';
  for (auto n = static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n'));
       n < std::stoul(count) + kCells; ++n) {
    body += kFirstZoneAlone;
  }
  char check[9];
  std::snprintf(check, sizeof check, "%08x", orvalin::ZoneGridCheckValue(body));
  return "orvalin-zone-grid 2\n" + count + " " + check + "\n" + body;
}

void Walk(std::string_view text) {
  if (const auto grid = orvalin::ZoneGrid::Parse(text)) {
    for (double lat = -90; lat <= 90; lat += 22.5) {
      for (double lon = -180; lon <= 180; lon += 45) (void)grid->ZoneAt(orvalin::Latitude(lat), orvalin::Longitude(lon));
    }
    (void)grid->ZoneAt(orvalin::Latitude(46.2), orvalin::Longitude(6.15));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Walk(text);
  Walk(MadeWhole(text));
  // Places, names and a grid made whole, parted by form feeds.
  const std::size_t first = text.find('\f');
  const std::size_t second = first == std::string::npos ? first : text.find('\f', first + 1);
  const std::string places = text.substr(0, first);
  const std::string names =
      first == std::string::npos ? "" : text.substr(first + 1, second - first - 1);
  const std::string zones = second == std::string::npos ? "" : MadeWhole(text.substr(second + 1));
  const orvalin::WorldList list = orvalin::WorldList::Parse(places, names, zones);
  for (const auto& town : list.Towns()) {
    if (!town.code.empty() && town.code.size() != 2) std::abort();
  }
  (void)list.ZoneAt({}, orvalin::Latitude(12.5), orvalin::Longitude(-45.25));
  return 0;
}
