#include "cli/out_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

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

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    const auto u = static_cast<unsigned char>(c);
    // A C1 control (U+0080 to U+009F, two bytes in UTF-8) drives some terminals as ESC does.
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
    if (u == 0xC2 && next >= 0x80 && next <= 0x9F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", next);
      out += escape;
      ++i;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (u < 0x20 || u == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string CsvCell(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
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

std::string WithoutFilling(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

}  // namespace orvalin
