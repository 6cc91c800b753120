// Towns' names and codes, countries' and divisions' names read from any text, and a look-up of
// "Name, Area" over the towns: never failing, never finding a record that is not there.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "placesfile/finder_fold.h"
#include "placesfile/place_finder.h"
#include "placesfile/world_areas.h"
#include "placesfile/world_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Places, names, areas and the text looked up, parted by form feeds.
  std::array<std::string, 4> parts;
  std::size_t part = 0;
  for (std::size_t k = 0; k < size; ++k) {
    const auto c = static_cast<char>(data[k]);
    if (c == '\f' && part + 1 < parts.size()) {
      ++part;
    } else {
      parts[part] += c;
    }
  }
  const auto& [places, names, areas_csv, typed] = parts;
  const orvalin::WorldAreas areas = orvalin::WorldAreas::Parse(areas_csv);
  for (const bool exact : {false, true}) {
    for (const auto& area : areas.Named(orvalin::FinderFoldUtf8(typed), exact)) {
      if (area.country.size() != 2) std::abort();
    }
  }
  const orvalin::WorldList world = orvalin::WorldList::Parse(places, names, {}, areas_csv);
  std::string bytes;
  for (const auto& town : world.Towns()) {
    if (!town.code.empty() && town.code.size() != 2) std::abort();
    bytes.append(town.record.data(), town.record.size());
  }
  const orvalin::PlaceFinder finder(bytes, world);
  for (const auto& found : finder.Find(typed)) {
    if (found.record < 1 || found.record > orvalin::RecordsIn(bytes)) std::abort();
  }
  return 0;
}
