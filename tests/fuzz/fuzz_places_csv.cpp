// Every place a CSV import accepts exports and imports back unchanged; bad lines are numbered
// within the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "placesfile/places_csv.h"
#include "tests/support/places_csv_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const orvalin::CsvPlaces places = orvalin::ParsePlacesCsv(text);
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (const auto& p : places.problems) {
    if (p.line < 1 || p.line > lines || p.why.empty()) std::abort();
  }
  const orvalin::CsvPlaces back =
      orvalin::ParsePlacesCsv(orvalin::testing::PlacesCsv(orvalin::testing::RecordsOf(places)));
  if (!back.problems.empty() ||
      orvalin::testing::RecordsOf(back) != orvalin::testing::RecordsOf(places)) {
    std::abort();
  }
  return 0;
}
