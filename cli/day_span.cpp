#include "cli/day_span.h"

#include "cli/tool_errors.h"
#include "engine/date_text.h"

namespace orvalin {
namespace {

[[noreturn]] void Bad(std::string_view option, std::string_view text, std::string_view why) {
  throw BadUsage(std::string(option) + " \"" + std::string(text) + "\": " + std::string(why));
}

// Why a text that ReadStrictDate refused is no day. Every digit made a 1 gives a real day exactly
// when the text has the shape d-m-yyyy; with the shape right, day 1 and then month 1 tell whether
// the year or the month is wrong.
std::string_view WhyNoDay(std::string_view text, std::string_view expected) {
  std::string ones(text);
  for (char& c : ones) c = c >= '0' && c <= '9' ? '1' : c;
  if (!ReadStrictDate(ones)) return expected;
  const DateParts parts = SplitDateText(text);
  if (!ReadStrictDate("1-1-" + std::string(parts.year))) return "the year must be from 1 to 9999";
  if (!ReadStrictDate("1-" + std::string(parts.month) + "-" + std::string(parts.year))) {
    return "the month must be from 01 to 12";
  }
  return "there is no such day";
}

Day StrictDay(std::string_view option, std::string_view text, std::string_view reading,
              std::string_view expected) {
  if (const auto d = ReadStrictDate(reading)) return *d;
  Bad(option, text, WhyNoDay(reading, expected));
}

}  // namespace

Day ParseDayText(std::string_view option, std::string_view text) {
  return StrictDay(option, text, std::string(text),
                   "expected a date DD-MM-YYYY, e.g. 21-06-2009");
}

std::pair<Day, Day> ParseMonthText(std::string_view option, std::string_view text) {
  const Day first = StrictDay(option, text, "1-" + std::string(text),
                              "expected a month MM-YYYY, e.g. 06-2009");
  return {first, Day{first.year() / first.month() / std::chrono::last}};
}

std::pair<Day, Day> ParseYearText(std::string_view option, std::string_view text) {
  const Day first =
      StrictDay(option, text, "1-1-" + std::string(text), "expected a year YYYY, e.g. 2009");
  return {first, Day{first.year() / 12 / 31}};
}

std::vector<Day> DaysFromTo(Day first, Day last) {
  std::vector<Day> days;
  const std::chrono::sys_days end{last};
  for (std::chrono::sys_days d{first}; d <= end; d += std::chrono::days{1}) days.emplace_back(d);
  return days;
}

std::string DayText(Day d) { return DateText(d); }

}  // namespace orvalin
