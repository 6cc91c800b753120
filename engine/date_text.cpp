#include "engine/date_text.h"

#include <cstdio>

namespace orvalin {
namespace {

bool IsDigits(std::string_view text, std::size_t shortest, std::size_t longest) {
  if (text.size() < shortest || text.size() > longest) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

unsigned Number(std::string_view digits) {
  unsigned n = 0;
  for (const char c : digits) n = n * 10 + static_cast<unsigned>(c - '0');
  return n;
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

std::optional<std::chrono::year_month_day> ReadStrictDate(std::string_view text) {
  const DateParts parts = SplitDateText(text);
  if (!parts.has_month || !IsDigits(parts.day, 1, 2) || !IsDigits(parts.month, 1, 2) ||
      !IsDigits(parts.year, 4, 4)) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year{static_cast<int>(Number(parts.year))},
                                         std::chrono::month{Number(parts.month)},
                                         std::chrono::day{Number(parts.day)}};
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
