// How a typed text finds a place by the start of its name.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "placesfile/place_record.h"

namespace orvalin {

// Small letters a to z become capitals; every other character stays as it is.
void FoldCase(std::string& text);

using FoldedName = std::array<char32_t, kNameWidth>;

// The folded 20-character name of a record's bytes; what a partial record lacks reads as blanks.
void FoldName(std::string_view record_bytes, FoldedName& out);

// The name's first k characters (all 20 when the text is longer) stand somewhere in the text: up
// to 20 characters, the text begins the name; beyond, the whole name lies inside the text. An
// empty text finds nothing. Both sides folded.
bool IsHit(std::u32string_view folded_text, std::u32string_view folded_name);

// The folded code points of a typed UTF-8 text.
std::u32string FoldedText(std::string_view typed);

// The first record of a file's bytes, in file order, that `typed` finds.
std::optional<std::int64_t> FindPlace(std::string_view file, std::string_view typed);

}  // namespace orvalin
