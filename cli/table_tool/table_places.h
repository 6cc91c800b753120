// The places orvalin-table is asked for: judged from the command line, then found in the places
// file or the world list.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/table/sun_table.h"
#include "cli/table/world_places.h"

namespace orvalin {

// Everything about the places that can be judged without opening the file.
struct PlaceChoice {
  std::optional<std::string> file;  // --file
  std::string places_file;           // the file read: --file, else the places folder's
  std::vector<long long> records;
  std::vector<std::string> names;
  bool all = false;
  std::optional<TablePlace> typed;
};

// Every chosen place, read before any row is written: records by number, then by name.
std::vector<TablePlace> FindChosenPlaces(const PlaceChoice& choice, PlaceZones& zones,
                                         std::ostream& err);

}  // namespace orvalin
