// Places as CSV text (UTF-8, a header line, RFC 4180 quoting): the sample places and the import
// and export of the places tool.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "placesfile/place_record.h"

namespace orvalin {

inline constexpr std::string_view kPlacesCsvHeader = "name,country,latitude,longitude,gmt";
// The same with each place's IANA time zone, as the world list has it.
inline constexpr std::string_view kWorldCsvHeader = "name,country,latitude,longitude,gmt,zone";

struct CsvProblem {
  std::size_t line = 0;  // from 1, the header being line 1
  std::string why;
};

struct CsvPlaces {
  std::vector<PlaceRecord> records;
  std::vector<std::size_t> lines;    // the line each record starts on
  std::vector<std::string> zones;    // by record: the zone column, "" without one
  std::vector<CsvProblem> problems;  // empty when every line is good
};

// Every line is checked; a bad line is listed with its number and why, never half taken. Cells
// are separated by commas, or by semicolons when the header is. Angles may be typed in any form
// of engine/angle_forms.h and are stored in the window's; the offset may carry a plus sign.
CsvPlaces ParsePlacesCsv(std::string_view text);

// The header, then one line a record, texts without their filling blanks.
std::string PlacesCsv(const std::vector<PlaceRecord>& records);

}  // namespace orvalin
