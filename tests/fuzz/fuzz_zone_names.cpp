// Names given to --tz that are no zone: what is suggested instead is a zone, a few at most, and
// the files of the database that are no zones are never taken for one.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "clock/clock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  if (name.ends_with("Factory") && orvalin::Clock::Zone(name)) std::abort();
  if (orvalin::Clock::Zone(name)) return 0;
  const std::vector<std::string> nearest = orvalin::Clock::ZonesLike(name);
  if (nearest.size() > 3) std::abort();
  for (const std::string& zone : nearest) {
    if (!orvalin::Clock::Zone(zone)) std::abort();
  }
  return 0;
}
