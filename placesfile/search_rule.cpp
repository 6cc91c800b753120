#include "placesfile/search_rule.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace orvalin {
namespace {

constexpr char32_t Folded(char32_t c) { return c >= U'a' && c <= U'z' ? c - 32 : c; }

// The folded character of every byte of a stored name.
const std::array<char32_t, 256>& FoldedBytes() {
  static const std::array<char32_t, 256> table = [] {
    std::array<char32_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = Folded(Cp1252Character(static_cast<unsigned char>(b)));
    return t;
  }();
  return table;
}

using FoldedName = std::array<char32_t, kNameWidth>;

// The folded 20-character name of a record's bytes.
void FoldName(std::string_view record_bytes, FoldedName& out) {
  const std::string_view name = record_bytes.substr(0, kNameWidth);
  const auto& table = FoldedBytes();
  out.fill(U' ');
  for (std::size_t c = 0; c < name.size(); ++c) out[c] = table[static_cast<unsigned char>(name[c])];
}

bool IsHit(std::u32string_view folded_text, std::u32string_view folded_name) {
  if (folded_text.empty()) return false;
  const auto start = folded_name.substr(0, std::min(folded_text.size(), kNameWidth));
  return folded_text.find(start) != std::u32string_view::npos;
}

// The folded code points of a typed UTF-8 text.
std::u32string FoldedText(std::string_view typed) {
  std::string text(typed);
  FoldCase(text);
  return CodePoints(text);
}

}  // namespace

void FoldCase(std::string& text) {
  // Bytes of UTF-8 sequences are all above 127, so only the letters a to z change.
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

std::optional<std::int64_t> FirstPlaceFound(
    std::string_view typed, std::int64_t count,
    const std::function<std::string_view(std::int64_t)>& record_at) {
  const std::u32string wanted = FoldedText(typed);
  FoldedName name{};
  for (std::int64_t n = 1; n <= count; ++n) {
    FoldName(record_at(n), name);
    if (IsHit(wanted, {name.data(), name.size()})) return n;
  }
  return std::nullopt;
}

}  // namespace orvalin
