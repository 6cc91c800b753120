// ReadNumber never crashes, returns a finite number or fails with Overflow, and the general text
// of a number reads back as the same text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/failure.h"
#include "common/read_number.h"
#include "engine/helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  double x = 0;
  try {
    x = orvalin::ReadNumber(text);
  } catch (const orvalin::Failure& f) {
    if (f.fault() != orvalin::Fault::Overflow) std::abort();
    return 0;
  }
  if (!std::isfinite(x)) std::abort();
  const std::string shown = orvalin::NumberText(x);
  if (orvalin::NumberText(orvalin::ReadNumber(shown)) != shown) std::abort();
  try {
    (void)orvalin::RoundToInt16(x);
  } catch (const orvalin::Failure& f) {
    if (f.fault() != orvalin::Fault::Overflow || std::fabs(x) < 32767) std::abort();
  }
  return 0;
}
