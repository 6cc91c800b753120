// What is wrong with the records of a places file, as the window would meet it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

struct PlaceProblem {
  std::int64_t record = 0;  // from 1
  std::string what;
  // A control character or a byte that is no character: what only an escape in a CSV, written
  // by the export, can bring back.
  bool in_bytes = false;
};

// The problems of record n, given its bytes (fewer than 72 for a partial last record): texts with
// control characters or bytes that are no Windows-1252 character, an empty name, angle texts the
// window cannot read without its messages (or whose letter or size does not suit them), an offset
// from GMT that no zone has (IsUsableGmt), and a record shorter than 72 bytes.
std::vector<PlaceProblem> CheckRecord(std::int64_t n, std::string_view raw);

}  // namespace orvalin
