// The data files shipped beside the world list (the list, its names file, the zone tree), read
// whole as plain files of bounded size: a device, a FIFO or a runaway file, named by
// $ORVALIN_WORLD_PLACES or left by a broken install, is refused instead of hanging a program or
// filling its memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/problem.h"

namespace orvalin {

struct DataFileText {
  std::string text;   // empty unless read
  bool read = false;  // false for a missing file, which callers take as no data, and a refusal
  Problem problem;    // why the file was refused, naming it: "the zone tree PATH is ..."
};

// `what` names the file in a refusal: "the world list of places".
DataFileText ReadDataFile(const std::string& path, std::string_view what, std::uintmax_t limit);

}  // namespace orvalin
