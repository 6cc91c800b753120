// The day-span options: a text is refused naming the option, or read to real days of the years
// 1 to 9999 that their ISO and window forms read back to.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/args/tool_errors.h"
#include "cli/table/day_span.h"
#include "common/out_text.h"

namespace {

using orvalin::Day;

bool InRange(Day d) {
  return d.ok() && d.year() >= std::chrono::year{1} && d.year() <= std::chrono::year{9999};
}

template <typename Parse>
void Refused(Parse&& parse, const char* option) {
  try {
    parse();
  } catch (const orvalin::BadUsage& refused) {
    if (std::string(refused.what()).rfind(std::string(option) + " \"", 0) != 0) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Refused(
      [&] {
        const Day d = orvalin::ParseDayText("--date", text);
        if (!InRange(d) || orvalin::ParseDayText("--date", orvalin::IsoDate(d)) != d ||
            orvalin::ParseDayText("--date", orvalin::DateText(d)) != d) {
          std::abort();
        }
      },
      "--date");
  Refused(
      [&] {
        const auto [first, last] = orvalin::ParseMonthText("--month", text);
        if (!InRange(first) || !InRange(last) || first.day() != std::chrono::day{1} ||
            first.year() / first.month() != last.year() / last.month() ||
            Day{std::chrono::sys_days(last) + std::chrono::days{1}}.day() != std::chrono::day{1}) {
          std::abort();
        }
      },
      "--month");
  Refused(
      [&] {
        const auto [first, last] = orvalin::ParseYearText("--year", text);
        if (!InRange(first) || first != first.year() / 1 / 1 || last != first.year() / 12 / 31) {
          std::abort();
        }
      },
      "--year");
  return 0;
}
