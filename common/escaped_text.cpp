#include "common/escaped_text.h"

#include <cstdio>

#include "common/text.h"

namespace orvalin {
namespace {

constexpr char kEscape = '\\';
constexpr std::size_t kHexEscapeSize = 4;  // \xHH

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendHexEscape(std::string& out, char32_t c) {
  char escape[kHexEscapeSize + 1];
  std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
  out += escape;
}

}  // namespace

std::string EscapeControls(std::string_view utf8, Backslash backslash) {
  std::string out;
  for (const char32_t c : CodePoints(utf8)) {
    if (c == kEscape && backslash == Backslash::Escaped) {
      out += "\\\\";
    } else if (IsControlCharacter(c)) {
      AppendHexEscape(out, c);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string UnescapeControls(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const std::string_view rest = utf8.substr(i);
    if (rest.starts_with("\\\\")) {
      out += kEscape;
      ++i;
    } else if (rest.size() >= kHexEscapeSize && rest.starts_with("\\x") && HexValue(rest[2]) >= 0 &&
               HexValue(rest[3]) >= 0) {
      AppendUtf8(out, static_cast<char32_t>(HexValue(rest[2]) * 16 + HexValue(rest[3])));
      i += kHexEscapeSize - 1;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::string HexEscape(char c) {
  std::string out;
  AppendHexEscape(out, static_cast<unsigned char>(c));
  return out;
}

bool StartsLikeFormula(std::string_view cell) {
  return !cell.empty() && std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos;
}

}  // namespace orvalin
