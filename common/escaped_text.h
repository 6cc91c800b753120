// Texts of the places file written where a terminal may read them: control characters never
// reach the output raw, and what is escaped reads back to the same characters.
#pragma once

#include <string>
#include <string_view>

namespace orvalin {

// Control characters (C0, DEL and C1) become "\xHH" with their code; a backslash becomes "\\".
std::string EscapeControls(std::string_view utf8);

// The reverse: "\\" is a backslash and "\xHH" the character of code HH; any other backslash is
// an ordinary character, as texts written before escaping existed hold it.
std::string UnescapeControls(std::string_view utf8);

}  // namespace orvalin
