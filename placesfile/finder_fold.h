// The form in which the place finder compares names: small letters without accents (é→e, ß→ss,
// æ→ae, ø→o, ł→l), digits, and nothing else: punctuation and blanks only part words, and the
// words "st" and "ste" read as "saint" and "sainte". "St.-Étienne" and "Saint Etienne" fold alike.
#pragma once

#include <string>
#include <string_view>

namespace orvalin {

// Letters without a fold of their own (Greek, Cyrillic...) are kept as UTF-8.
std::string FinderFold(std::u32string_view text);
std::string FinderFoldUtf8(std::string_view utf8);
std::string FinderFoldCp1252(std::string_view bytes);

}  // namespace orvalin
