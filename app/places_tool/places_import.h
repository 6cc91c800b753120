// A places CSV read for import: its encoding, its lines, and the rules of check on every place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "placesfile/place_record.h"

namespace orvalin {

enum class CsvEncoding { Utf8, Cp1252 };

// "utf-8" or "cp1252"; BadUsage naming `option` otherwise.
CsvEncoding ReadEncoding(std::string_view option, std::string_view text);

struct ImportedPlaces {
  std::vector<PlaceRecord> records;   // only when nothing is wrong
  std::vector<std::string> problems;  // "FILE:LINE: why", in the order of the lines
  std::size_t bad_lines = 0;
};

// Every line of the file `name` (holding `bytes`) read as a place and judged by exactly the rules
// of check. A file that is not UTF-8 when it should be is refused at its first bad byte.
ImportedPlaces ReadImport(std::string_view bytes, CsvEncoding encoding, std::string_view name);

}  // namespace orvalin
