#include "cli/day_span.h"

#include <charconv>
#include <optional>

#include "engine/date_text.h"
#include "cli/tool_errors.h"

namespace orvalin {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

// The numbers of a text of dash-separated digit groups with the given lengths (min, max each).
std::optional<std::vector<int>> Groups(std::string_view text,
                                       std::initializer_list<std::pair<int, int>> lengths) {
  std::vector<int> numbers;
  std::size_t at = 0;
  for (const auto& [shortest, longest] : lengths) {
    if (!numbers.empty()) {
      if (at >= text.size() || text[at] != '-') return std::nullopt;
      ++at;
    }
    std::size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    const auto length = static_cast<int>(end - at);
    if (length < shortest || length > longest) return std::nullopt;
    int n = 0;
    std::from_chars(text.data() + at, text.data() + end, n);
    numbers.push_back(n);
    at = end;
  }
  if (at != text.size()) return std::nullopt;
  return numbers;
}

[[noreturn]] void Bad(std::string_view option, std::string_view text, std::string_view why) {
  throw BadUsage(std::string(option) + " \"" + std::string(text) + "\": " + std::string(why));
}

year CheckedYear(std::string_view option, std::string_view text, int y) {
  if (y < 1) Bad(option, text, "the year must be from 1 to 9999");
  return year{y};
}

month CheckedMonth(std::string_view option, std::string_view text, int m) {
  if (m < 1 || m > 12) Bad(option, text, "the month must be from 01 to 12");
  return month{static_cast<unsigned>(m)};
}

}  // namespace

Day ParseDayText(std::string_view option, std::string_view text) {
  const auto n = Groups(text, {{1, 2}, {1, 2}, {4, 4}});
  if (!n) Bad(option, text, "expected a date DD-MM-YYYY, e.g. 21-06-2009");
  const Day d{CheckedYear(option, text, (*n)[2]), CheckedMonth(option, text, (*n)[1]),
              day{static_cast<unsigned>((*n)[0])}};
  if (!d.ok()) Bad(option, text, "there is no such day");
  return d;
}

std::pair<Day, Day> ParseMonthText(std::string_view option, std::string_view text) {
  const auto n = Groups(text, {{1, 2}, {4, 4}});
  if (!n) Bad(option, text, "expected a month MM-YYYY, e.g. 06-2009");
  const year y = CheckedYear(option, text, (*n)[1]);
  const month m = CheckedMonth(option, text, (*n)[0]);
  return {Day{y / m / 1}, Day{y / m / std::chrono::last}};
}

std::pair<Day, Day> ParseYearText(std::string_view option, std::string_view text) {
  const auto n = Groups(text, {{4, 4}});
  if (!n) Bad(option, text, "expected a year YYYY, e.g. 2009");
  const year y = CheckedYear(option, text, (*n)[0]);
  return {Day{y / 1 / 1}, Day{y / 12 / 31}};
}

std::vector<Day> DaysFromTo(Day first, Day last) {
  std::vector<Day> days;
  const std::chrono::sys_days end{last};
  for (std::chrono::sys_days d{first}; d <= end; d += std::chrono::days{1}) days.emplace_back(d);
  return days;
}

}  // namespace orvalin
