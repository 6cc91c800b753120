// Zone names and local rows: a name is refused or gives a clock whose row of any day, at any
// place, is that day; a clock too far from universal time stops the table with a ClockFailure,
// never a read outside the days computed. For "local", the system's own zone is set to a rule of
// any whole offset first, as a user's TZ may be.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/table/sun_table.h"
#include "clock/clock.h"
#include "tests/support/table_rows.h"

namespace {

// The day (2 bytes), the hour, latitude, longitude, twilight, the offset of a "local" rule.
constexpr std::size_t kNumbers = 7;
constexpr int kFirstDay = -62'000;  // days from 1970 back to about 1800

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kNumbers) return 0;
  const std::uint8_t* n = data;
  const std::string name(reinterpret_cast<const char*>(data) + kNumbers, size - kNumbers);
  if (name == "local") ::setenv("TZ", ("XYZ" + std::to_string(n[6] - 128)).c_str(), 1);
  const std::optional<orvalin::Clock> clock = orvalin::Clock::Zone(name);
  if (!clock) return 0;
  const orvalin::Day day{
      std::chrono::sys_days{std::chrono::days{kFirstDay + (n[0] << 8 | n[1]) * 3}}};
  orvalin::TablePlace place;
  place.latitude = (n[3] - 128) * 89.0 / 128;
  place.longitude_east = (n[4] - 128) * 180.0 / 128;
  orvalin::SunSettings settings;
  if (n[5] & 1) settings.twilight = -6.0 * (1 + n[5] % 3);
  try {
    (void)clock->At(day, n[2] * 24.0 / 255);
    if (orvalin::ComputeRow(place, day, *clock, settings).date != day) std::abort();
  } catch (const orvalin::ClockFailure&) {
  }
  return 0;
}
