// The places a look-up found, as the tools write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/table/table_format.h"
#include "cli/table/world_places.h"
#include "placesfile/place_finder.h"

namespace orvalin {

// How many spellings a failed look-up suggests.
inline constexpr std::size_t kSpellings = 5;
// How many places orvalin-places find lists without --limit.
inline constexpr long long kFoundLines = 10;

// A text typed to find a place as messages show it: control characters escaped, and past 60
// characters only the first 60 then "…".
std::string ShownQuery(std::string_view typed);

// "Sydney, Australia (record 22)".
std::string PlaceLine(const PlaceRecord& record, std::int64_t n);

// Why nothing was found, with the nearest spellings when there are any.
std::string NoPlaceFound(const std::string& file, std::string_view typed,
                         const std::vector<std::string>& spellings);

// What a look-up could not search when the world list, or its other names, cannot be read; ""
// when it could search them.
std::string UnsearchedWorld(const std::string& file, PlaceZones& zones);

// One place a line, best first. Text: "NAME, COUNTRY", latitude, longitude, zone, record number
// and the other name that matched. CSV: a header line, then those cells. JSON: a list.
void WriteFoundPlaces(std::ostream& out, TableFormat format, std::string_view file,
                      const std::vector<FoundPlace>& found, PlaceZones& zones);

}  // namespace orvalin
