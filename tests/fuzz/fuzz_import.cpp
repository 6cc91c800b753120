// The import reader: a file of any bytes, read as UTF-8 or Windows-1252, lists at most the first
// hundred problems and counts them all, each naming the file and a line; a file without problems
// gives as many records as it counts, each one the rules of check accept.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/places/places_import.h"
#include "placesfile/place_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto encoding = data[0] & 1 ? orvalin::CsvEncoding::Cp1252 : orvalin::CsvEncoding::Utf8;
  const orvalin::ImportedPlaces places = orvalin::ReadImport(
      std::string(reinterpret_cast<const char*>(data) + 1, size - 1), encoding, "f.csv");
  if (places.problems.size() != std::min(places.problem_count, orvalin::kListedProblems) ||
      places.bad_lines > places.problem_count ||
      (places.bad_lines == 0) != places.problems.empty()) {
    std::abort();
  }
  for (const std::string& p : places.problems) {
    if (p.rfind("f.csv:", 0) != 0) std::abort();
  }
  if (places.problem_count != 0) return 0;
  std::size_t count = 0;
  orvalin::EachImportedRecord(places, [&](std::string_view record) {
    ++count;
    for (const orvalin::PlaceProblem& p : orvalin::CheckRecord(1, record)) {
      if (!p.in_bytes) std::abort();
    }
  });
  if (count != places.count) std::abort();
  return 0;
}
