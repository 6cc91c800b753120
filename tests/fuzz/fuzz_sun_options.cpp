// The table tool's options of the sun (--at, --elevation, --horizon, --golden-hour, --blue-hour,
// --twilight) and of its scripts (the --now moment, the --offset minutes): any text is either
// refused as bad usage or read into values within their stated ranges.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/args/tool_errors.h"
#include "cli/table/sun_options.h"
#include "cli/table/sun_script.h"

namespace {

using std::chrono::sys_days;
using std::chrono::year;

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
    const orvalin::Instant moment = orvalin::ParseIsoMoment("--now", text);
    if (moment < orvalin::Instant{sys_days{year{1} / 1 / 1}} ||
        moment >= orvalin::Instant{sys_days{year{10000} / 1 / 1}}) {
      std::abort();
    }
  } catch (const orvalin::BadUsage&) {
  }
  try {
    if (!(std::fabs(orvalin::ParseOffsetMinutes("--offset", text)) <= 1440)) std::abort();
  } catch (const orvalin::BadUsage&) {
  }
  return 0;
}
