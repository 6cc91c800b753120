#include "common/out_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "common/text.h"

namespace orvalin {

std::string Decimal(double value, int digits) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
  std::string text(buffer, result.ptr);
  // No "-0.000000": a value that rounds to zero is zero.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string ShortestDecimal(double value) {
  char buffer[400];  // the longest fixed form of a double
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

namespace {

constexpr long long kSecondsPerDay = 86'400;

// `value` (0 or more) in decimal, zero-padded to `width` digits: printf is slow for millions of
// rows.
void AppendDigits(std::string& out, long long value, int width) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int pad = n; pad < width; ++pad) out += '0';
  while (n > 0) out += digits[--n];
}

void AppendOffset(std::string& out, int offset_seconds) {
  const int offset_minutes = std::abs(offset_seconds) / 60;
  out += offset_seconds < 0 ? '-' : '+';
  AppendDigits(out, offset_minutes / 60, 2);
  out += ':';
  AppendDigits(out, offset_minutes % 60, 2);
}

}  // namespace

std::string IsoDate(std::chrono::year_month_day date) {
  std::string text;
  text.reserve(10);
  AppendDigits(text, static_cast<int>(date.year()), 4);
  text += '-';
  AppendDigits(text, static_cast<unsigned>(date.month()), 2);
  text += '-';
  AppendDigits(text, static_cast<unsigned>(date.day()), 2);
  return text;
}

std::string IsoTimestamp(std::chrono::year_month_day date, double hours, int offset_seconds) {
  long long seconds = std::llround(hours * 3600);
  std::chrono::sys_days day{date};
  // 23:59:59.6 rounds into the next day.
  day += std::chrono::days{seconds / kSecondsPerDay};
  seconds %= kSecondsPerDay;
  std::string text = IsoDate(std::chrono::year_month_day{day});
  text += 'T';
  AppendDigits(text, seconds / 3600, 2);
  text += ':';
  AppendDigits(text, seconds / 60 % 60, 2);
  text += ':';
  AppendDigits(text, seconds % 60, 2);
  AppendOffset(text, offset_seconds);
  return text;
}

std::string OffsetText(int offset_seconds) {
  std::string text;
  AppendOffset(text, offset_seconds);
  return text;
}

std::string ClockText(double hours, bool minutes, bool time_of_day) {
  const long long unit = minutes ? 60 : 1;
  long long n = std::llround(hours * 3600 / static_cast<double>(unit));
  if (time_of_day) n = std::min(n, kSecondsPerDay / unit - 1);
  const long long seconds = n * unit;
  std::string text;
  AppendDigits(text, seconds / 3600, 2);
  text += ':';
  AppendDigits(text, seconds / 60 % 60, 2);
  if (!minutes) {
    text += ':';
    AppendDigits(text, seconds % 60, 2);
  }
  return text;
}

std::string Columns(const std::vector<std::vector<std::string>>& rows,
                    const std::vector<bool>& right_aligned) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], CharacterCount(row[c]));
    }
  }
  std::string out;
  for (const auto& row : rows) out += ColumnsLine(row, widths, right_aligned);
  return out;
}

std::string ColumnsLine(const std::vector<std::string>& row, const std::vector<std::size_t>& widths,
                        const std::vector<bool>& right_aligned) {
  std::string line;
  for (std::size_t c = 0; c < row.size(); ++c) {
    const std::string fill(widths[c] - std::min(widths[c], CharacterCount(row[c])), ' ');
    const bool right = c < right_aligned.size() && right_aligned[c];
    if (c > 0) line += "  ";
    line += right ? fill + row[c] : row[c] + fill;
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line + '\n';
}

}  // namespace orvalin
