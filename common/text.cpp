#include "common/text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace orvalin {
namespace {

// Bytes 0x80 to 0x9F of Windows-1252. The five unassigned bytes map to the C1 controls of the
// same value, as the system's own conversion does, so that every byte reads back unchanged.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (!IsScalarValue(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

Utf8Sequence Utf8SequenceAt(std::string_view s, std::size_t at) {
  const auto b = static_cast<unsigned char>(s[at]);
  std::size_t extra = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if (b < 0x80) return {b, 1};
  if ((b & 0xE0) == 0xC0) {
    extra = 1, c = b & 0x1F, minimum = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, c = b & 0x0F, minimum = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, c = b & 0x07, minimum = 0x10000;
  } else {
    return {};
  }
  if (at + extra >= s.size()) return {};
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto cont = static_cast<unsigned char>(s[at + k]);
    if ((cont & 0xC0) != 0x80) return {};
    c = (c << 6) | (cont & 0x3F);
  }
  if (c < minimum || !IsScalarValue(c)) return {};
  return {c, extra + 1};
}

std::u32string CodePoints(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const Utf8Sequence sequence = Utf8SequenceAt(s, i);
    out += sequence.length == 0 ? kReplacement : sequence.code_point;
    i += std::max<std::size_t>(sequence.length, 1);
  }
  return out;
}

std::string Utf8(std::u32string_view code_points) {
  std::string out;
  out.reserve(code_points.size());
  for (char32_t c : code_points) AppendUtf8(out, c);
  return out;
}

std::size_t CharacterCount(std::string_view utf8) { return CodePoints(utf8).size(); }

std::string FixedText(std::string_view utf8, std::size_t width) {
  std::u32string cps = CodePoints(utf8);
  cps.resize(width, U' ');
  return Utf8(cps);
}

std::string WithoutFilling(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
  const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  if (gap > limit) return limit + 1;
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    std::size_t least = row[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
      least = std::min(least, row[j]);
    }
    if (least > limit) return limit + 1;
  }
  return row[b.size()];
}

int Cp1252Code(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t k = 0; k < kHighControls.size(); ++k) {
    if (kHighControls[k] == c) return static_cast<int>(0x80 + k);
  }
  return -1;
}

char32_t Cp1252Character(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte};
}

std::string DecodeCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) AppendUtf8(out, Cp1252Character(static_cast<unsigned char>(b)));
  return out;
}

std::string EncodeCp1252(std::string_view utf8) {
  std::string out;
  for (char32_t c : CodePoints(utf8)) {
    const int code = Cp1252Code(c);
    out += static_cast<char>(code < 0 ? '?' : code);
  }
  return out;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char32_t c : CodePoints(utf8)) {
    switch (c) {
      case U'"': out += "\\\""; break;
      case U'\\': out += "\\\\"; break;
      case U'\b': out += "\\b"; break;
      case U'\f': out += "\\f"; break;
      case U'\n': out += "\\n"; break;
      case U'\r': out += "\\r"; break;
      case U'\t': out += "\\t"; break;
      default:
        // C1 controls (U+0080 to U+009F) drive some terminals as ESC does.
        if (IsControlCharacter(c)) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          AppendUtf8(out, c);
        }
    }
  }
  return out + "\"";
}

}  // namespace orvalin
