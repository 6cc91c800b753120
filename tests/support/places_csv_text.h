// A whole places CSV text of records, as the export writes it a line at a time, and the records
// read from one.
#pragma once

#include <string>
#include <vector>

#include "placesfile/places_csv.h"

namespace orvalin::testing {

inline std::string PlacesCsv(const std::vector<PlaceRecord>& records) {
  std::string out = PlacesCsvHeader();
  out += '\n';
  for (const auto& r : records) out += PlacesCsvLine(r);
  return out;
}

inline std::vector<PlaceRecord> RecordsOf(const CsvPlaces& csv) {
  std::vector<PlaceRecord> records;
  for (const CsvPlace& place : csv.places) records.push_back(place.record);
  return records;
}

}  // namespace orvalin::testing
