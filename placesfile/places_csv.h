// Places as CSV text (UTF-8, a header line, RFC 4180 quoting): the sample places and the import
// and export of the places tool.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "placesfile/place_record.h"

namespace orvalin {

inline constexpr std::string_view kPlacesCsvHeader = "name,country,latitude,longitude,gmt";

struct CsvProblem {
  std::size_t line = 0;  // from 1, the header being line 1
  std::string why;
};

struct CsvPlaces {
  std::vector<PlaceRecord> records;
  std::vector<CsvProblem> problems;  // empty when every line is good
};

// Every line is checked; a bad line is listed with its number and why, never half taken.
CsvPlaces ParsePlacesCsv(std::string_view text);
// The same reading, handing each good place to `each` in turn instead of keeping it; the
// problems.
std::vector<CsvProblem> ForEachCsvPlace(std::string_view text,
                                        const std::function<void(const PlaceRecord&)>& each);

// The header, then one line a record, texts without their filling blanks.
std::string PlacesCsv(const std::vector<PlaceRecord>& records);
// One record's line of that text, its line break included.
std::string PlacesCsvLine(const PlaceRecord& record);

}  // namespace orvalin
