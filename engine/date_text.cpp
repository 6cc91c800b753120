#include "engine/date_text.h"

#include <cstdio>

#include "common/read_number.h"

namespace orvalin {
namespace {

bool IsDigits(std::string_view text, std::size_t shortest, std::size_t longest) {
  if (text.size() < shortest || text.size() > longest) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

DateParts SplitDateText(std::string_view text) {
  DateParts parts;
  const std::size_t p1 = text.find('-');
  if (p1 == std::string_view::npos) {
    parts.year = text;
    return parts;
  }
  parts.has_day = true;
  parts.day = text.substr(0, p1);
  const std::size_t p2 = text.find('-', p1 + 1);
  if (p2 == std::string_view::npos) {
    parts.year = text;
    return parts;
  }
  parts.has_month = true;
  parts.month = text.substr(p1 + 1, p2 - p1 - 1);
  parts.year = text.substr(p2 + 1);
  return parts;
}

std::optional<DateNumbers> ReadDateNumbers(std::string_view text, PartRanges ranges) {
  const DateParts parts = SplitDateText(text);
  if (!parts.has_day) return std::nullopt;
  const bool typed = ranges == PartRanges::Typed;
  DateNumbers date;
  date.day = RoundToInt16(ReadNumber(parts.day));
  if (typed && (date.day < 1 || date.day > 31 || !parts.has_month)) return std::nullopt;
  if (parts.has_month) date.month = RoundToInt16(ReadNumber(parts.month));
  if (typed && (date.month < 1 || date.month > 12)) return std::nullopt;
  const double year = ReadNumber(parts.year);
  if (typed && year > kLatestTypedYear) return std::nullopt;
  date.year = RoundToInt16(year);
  return date;
}

std::optional<std::chrono::year_month_day> ReadStrictDate(std::string_view text) {
  const DateParts parts = SplitDateText(text);
  if (!parts.has_month || !IsDigits(parts.day, 1, 2) || !IsDigits(parts.month, 1, 2) ||
      !IsDigits(parts.year, 4, 4)) {
    return std::nullopt;
  }
  // Digits only: the numbers read whole and fit.
  const DateNumbers n = *ReadDateNumbers(text, PartRanges::Unchecked);
  const std::chrono::year_month_day date{std::chrono::year{n.year},
                                         std::chrono::month{static_cast<unsigned>(n.month)},
                                         std::chrono::day{static_cast<unsigned>(n.day)}};
  if (!date.ok() || date.year() < std::chrono::year{1}) return std::nullopt;
  return date;
}

std::string DateText(std::chrono::year_month_day date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u-%02u-%04d", static_cast<unsigned>(date.day()),
                static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
  return text;
}

}  // namespace orvalin
