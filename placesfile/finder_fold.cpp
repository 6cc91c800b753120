#include "placesfile/finder_fold.h"

#include <array>
#include <string_view>

#include "common/text.h"

namespace orvalin {
namespace {

// U+00C0 to U+00FF; "" parts words (× and ÷).
constexpr std::array<std::string_view, 64> kLatin1 = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

// U+0100 to U+017F by base letter; I stands for "ij", O for "oe".
constexpr std::string_view kExtendedA =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiIIjjkkkllllllllllnnnnnnnnnooooooOOrrrrrrss"
    "ssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
static_assert(kExtendedA.size() == 0x80);

constexpr std::string_view kAbbreviations[][2] = {{"st", "saint"}, {"ste", "sainte"}};

// Adds one character's fold to the word; true when the character parts words instead.
bool FoldInto(char32_t c, std::string& word) {
  const auto add = [&](std::string_view s) {
    word += s;
    return false;
  };
  if (c < 0x80) {
    if (c >= 'A' && c <= 'Z') return add(std::string(1, static_cast<char>(c - 'A' + 'a')));
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      return add(std::string(1, static_cast<char>(c)));
    }
    return true;
  }
  if (c >= 0xC0 && c <= 0xFF) {
    const std::string_view f = kLatin1[c - 0xC0];
    return f.empty() || add(f);
  }
  if (c >= 0x100 && c <= 0x17F) {
    const char b = kExtendedA[c - 0x100];
    return add(b == 'I' ? "ij" : b == 'O' ? "oe" : std::string_view(&b, 1));
  }
  if (c == 0x192) return add("f");
  if (c >= 0x218 && c <= 0x21B) return add(c < 0x21A ? "s" : "t");  // ș ț
  if (c >= 0x300 && c <= 0x36F) return false;  // accents typed apart from their letter
  // Blanks, punctuation and signs.
  if (c < 0xC0 || (c >= 0x2000 && c <= 0x206F) || c == 0xFFFD) return true;
  AppendUtf8(word, c);
  return false;
}

void EndWord(std::string& word, std::string& out) {
  for (const auto& [short_form, long_form] : kAbbreviations) {
    if (word == short_form) word = long_form;
  }
  out += word;
  word.clear();
}

}  // namespace

std::string FinderFold(std::u32string_view text) {
  std::string out, word;
  out.reserve(text.size());
  for (const char32_t c : text) {
    if (FoldInto(c, word)) EndWord(word, out);
  }
  EndWord(word, out);
  return out;
}

std::string FinderFoldUtf8(std::string_view utf8) { return FinderFold(CodePoints(utf8)); }

std::string FinderFoldCp1252(std::string_view bytes) {
  std::u32string text(bytes.size(), U' ');
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    text[k] = Cp1252Character(static_cast<unsigned char>(bytes[k]));
  }
  return FinderFold(text);
}

}  // namespace orvalin
