// Places as CSV text (UTF-8, a header line, RFC 4180 quoting): the sample places and the import
// and export of the places tool.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "placesfile/place_record.h"

namespace orvalin {

// The columns in their order (tools/make_world_places.py writes them too); the world list adds
// each place's IANA time zone.
inline constexpr std::array<std::string_view, 5> kPlacesCsvColumns = {"name", "country", "latitude",
                                                                      "longitude", "gmt"};
inline constexpr std::string_view kZoneColumn = "zone";
// The header line without its break: the columns joined by commas, the zone's last if asked for.
std::string PlacesCsvHeader(bool with_zone = false);

struct CsvProblem {
  std::size_t line = 0;  // from 1, the header being line 1
  std::string why;
};

// One good place of a CSV text.
struct CsvPlace {
  PlaceRecord record;
  std::size_t line = 0;  // the line it starts on
  std::string zone;      // the zone column, "" without one
};

struct CsvPlaces {
  std::vector<CsvPlace> places;
  std::vector<CsvProblem> problems;  // empty when every line is good
};

// Every line is checked; a bad line is listed with its number and why, never half taken. Cells
// are separated by commas, or by semicolons when the header is. Angles may be typed in any form
// of engine/angle_forms.h and are stored in the window's; the offset may carry a plus sign.
// Control characters come escaped ("\x1B", common/escaped_text.h), as the export writes them; a
// line longer than any place could fill is refused by its number before it is split.
CsvPlaces ParsePlacesCsv(std::string_view text);

// The same reading, handing each good place to `each` and each problem to `problem` in the order
// of their lines, keeping neither.
void ForEachCsvPlace(std::string_view text, const std::function<void(const CsvPlace&)>& each,
                     const std::function<void(const CsvProblem&)>& problem);

// One record's line of the places CSV, texts without their filling blanks, control characters
// escaped, its line break included.
std::string PlacesCsvLine(const PlaceRecord& record);

}  // namespace orvalin
