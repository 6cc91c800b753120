#include "cli/table/day_span.h"

#include "cli/args/tool_errors.h"
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

// "2009-06-21" as "21-06-2009" and "2009-06" as "06-2009": the ISO order is the window's reversed.
// Any other text comes back as it is.
std::string WindowOrder(std::string_view text) {
  constexpr std::size_t kIsoYearDigits = 4;
  if (text.size() <= kIsoYearDigits || text[kIsoYearDigits] != '-') return std::string(text);
  std::string reversed;
  for (auto dash = text.rfind('-'); dash != std::string_view::npos; dash = text.rfind('-')) {
    reversed.append(text.substr(dash + 1)).push_back('-');
    text = text.substr(0, dash);
  }
  return reversed.append(text);
}

Day StrictDay(std::string_view option, std::string_view text, std::string_view window_order,
              std::string_view expected) {
  if (const auto d = ReadStrictDate(window_order)) return *d;
  Bad(option, text, WhyNoDay(window_order, expected));
}

}  // namespace

Day ParseDayText(std::string_view option, std::string_view text) {
  return StrictDay(option, text, WindowOrder(text),
                   "expected a date DD-MM-YYYY or YYYY-MM-DD, e.g. 21-06-2009 or 2009-06-21");
}

std::pair<Day, Day> ParseMonthText(std::string_view option, std::string_view text) {
  const Day first = StrictDay(option, text, "1-" + WindowOrder(text),
                              "expected a month MM-YYYY or YYYY-MM, e.g. 06-2009 or 2009-06");
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

CivilDate CivilDateOf(Day d) {
  return {static_cast<int>(static_cast<unsigned>(d.day())),
          static_cast<int>(static_cast<unsigned>(d.month())), static_cast<int>(d.year())};
}

}  // namespace orvalin
