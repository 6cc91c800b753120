// Texts are UTF-8 std::strings in the logic; the places file holds Windows-1252 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvalin {

// C0 controls, DEL and C1 controls: characters that drive a terminal rather than show.
constexpr bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// The character of the UTF-8 sequence that starts at byte `at`, and its length in bytes; length 0
// when none valid does (a stray byte, an overlong form, a surrogate, past U+10FFFF, cut short).
struct Utf8Sequence {
  char32_t code_point = 0;
  std::size_t length = 0;
};
Utf8Sequence Utf8SequenceAt(std::string_view utf8, std::size_t at);

// Code points of a UTF-8 text; a byte that does not start a valid sequence counts as U+FFFD.
std::u32string CodePoints(std::string_view utf8);
std::string Utf8(std::u32string_view code_points);
void AppendUtf8(std::string& out, char32_t code_point);

// Number of characters (code points) of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

// A fixed-length text: cut to `width` characters or filled on the right with blanks.
std::string FixedText(std::string_view utf8, std::size_t width);
// The text without the blanks that fill a fixed-length field on the right.
std::string WithoutFilling(std::string_view text);

// Edits (a byte added, dropped or changed) that turn one text into the other; counting may stop
// past `limit`: anything above it only says "further".
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit);

// Windows-1252 code of a character, or -1 when it has none.
int Cp1252Code(char32_t code_point);
char32_t Cp1252Character(unsigned char byte);

// Bytes to UTF-8, and back; a character with no Windows-1252 code becomes "?".
std::string DecodeCp1252(std::string_view bytes);
std::string EncodeCp1252(std::string_view utf8);

// A JSON string literal of UTF-8 text, quotes included: control characters (C0, DEL and C1)
// escaped, bytes that are not UTF-8 read as U+FFFD.
std::string JsonString(std::string_view utf8);

}  // namespace orvalin
