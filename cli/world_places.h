// The world list of places with their time zones: a CSV of name, country, latitude, longitude
// ("64 8 8 N", as the window types them), offset and zone.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/sun_table.h"

namespace orvalin {

class WorldPlaces {
 public:
  // ToolFailure when the text is not the world list (places CSV with a zone column); a line that
  // cannot be read is left out.
  static WorldPlaces Parse(std::string_view csv);

  // The zone of the place of the list with the same name and coordinates (within an arc
  // minute); nullopt when there is none.
  std::optional<std::string> ZoneOf(const TablePlace& place) const;

 private:
  struct Entry {
    double latitude, longitude_west;
    std::string zone;
  };
  std::unordered_multimap<std::string, Entry> by_name_;
};

// The clocks of the world list's places, the list read at the first question and each zone
// once: reading a zone is far dearer than copying it.
class PlaceClocks {
 public:
  // ToolFailure, naming the place, when the list has none like it or its zone is unknown here.
  Clock For(const TablePlace& place);

 private:
  std::optional<WorldPlaces> list_;
  std::map<std::string, Clock> clocks_;
};

// Where the list is read from: $ORVALIN_WORLD_PLACES, else the installed copy, else the one of
// the source tree the program was built from.
std::string WorldPlacesPath();

}  // namespace orvalin
