// A whole places CSV text of records, as the export writes it a line at a time.
#pragma once

#include <string>
#include <vector>

#include "placesfile/places_csv.h"

namespace orvalin::testing {

inline std::string PlacesCsv(const std::vector<PlaceRecord>& records) {
  std::string out(kPlacesCsvHeader);
  out += '\n';
  for (const auto& r : records) out += PlacesCsvLine(r);
  return out;
}

}  // namespace orvalin::testing
