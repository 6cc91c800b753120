// Turns places CSVs into one location.dat, at build time: the sample places, then the world list.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "placesfile/place_record.h"
#include "placesfile/places_csv.h"

namespace {

// The records of one CSV; false, after saying why on standard error, when any line is bad.
bool ReadPlaces(const char* path, std::vector<orvalin::PlaceRecord>& records) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << path << ": cannot be read\n";
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  const orvalin::CsvPlaces places = orvalin::ParsePlacesCsv(text.str());
  for (const auto& p : places.problems) std::cerr << path << ':' << p.line << ": " << p.why << '\n';
  for (const auto& place : places.places) records.push_back(place.record);
  return places.problems.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: orvalin-make-places PLACES.csv... location.dat\n";
    return 2;
  }
  std::vector<orvalin::PlaceRecord> records;
  for (int k = 1; k + 1 < argc; ++k) {
    if (!ReadPlaces(argv[k], records)) return 1;
  }
  std::ofstream out(argv[argc - 1], std::ios::binary | std::ios::trunc);
  for (const auto& record : records) {
    const orvalin::RecordBytes bytes = orvalin::EncodeRecord(record);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return out.good() ? 0 : 1;
}
