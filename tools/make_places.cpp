// Turns a places CSV into a location.dat, at build time, for the sample places.
#include <fstream>
#include <iostream>
#include <sstream>

#include "placesfile/place_record.h"
#include "placesfile/places_csv.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: orvalin-make-places PLACES.csv location.dat\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  const orvalin::CsvPlaces places = orvalin::ParsePlacesCsv(text.str());
  for (const auto& p : places.problems) {
    std::cerr << argv[1] << ':' << p.line << ": " << p.why << '\n';
  }
  if (!places.problems.empty()) return 1;
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  for (const auto& record : places.records) {
    const orvalin::RecordBytes bytes = orvalin::EncodeRecord(record);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return out.good() ? 0 : 1;
}
