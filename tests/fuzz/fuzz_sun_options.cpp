// The table tool's options of the sun (--at, --elevation, --horizon, --golden-hour, --blue-hour,
// --twilight) and its --now moment: any text is either refused as bad usage or read into values
// within their stated ranges, and a moment read back writes as it was read.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/sun_options.h"
#include "cli/sun_script.h"
#include "cli/tool_errors.h"

namespace {

void CheckSettings(const orvalin::SunSettings& s) {
  if (!std::isfinite(s.horizon) || s.horizon > 89 || s.horizon < -92) std::abort();
  if (s.at && (*s.at < 0 || *s.at >= 24)) std::abort();
  for (const auto& band : {s.golden, s.blue}) {
    if (band && !(band->low < band->high)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string_view option =
      orvalin::kSunOptionRules[data[0] % std::size(orvalin::kSunOptionRules)].name;
  const std::string argument = std::string(option) + "=" + text;
  try {
    const orvalin::CommandLine cl({argument}, orvalin::kSunOptionRules);
    CheckSettings(orvalin::ReadSunSettings(cl));
  } catch (const orvalin::BadUsage&) {
  }
  try {
    const auto moment = orvalin::ParseIsoMoment("--now", text);
    (void)moment;
  } catch (const orvalin::BadUsage&) {
  }
  return 0;
}
