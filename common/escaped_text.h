// Texts of the places file written where a terminal may read them: control characters never
// reach the output raw, and what is escaped reads back to the same characters.
#pragma once

#include <string>
#include <string_view>

namespace orvalin {

// What becomes of a backslash: doubled in texts that are read back; kept in messages and text
// output, which a person reads and which may hold texts escaped before.
enum class Backslash { Escaped, Kept };

// Control characters (C0, DEL and C1) become "\xHH" with their code; a backslash becomes "\\"
// unless kept. Bytes that are not UTF-8 become U+FFFD.
std::string EscapeControls(std::string_view utf8, Backslash backslash = Backslash::Escaped);

// The reverse: "\\" is a backslash and "\xHH" the character of code HH; any other backslash is
// an ordinary character, as texts written before escaping existed hold it.
std::string UnescapeControls(std::string_view utf8);

// "\xHH" for a character of code below 128, as EscapeControls writes a control.
std::string HexEscape(char c);

// True when a spreadsheet opening a CSV file would run a cell beginning so as a formula: its
// first character is "=", "+", "-", "@", a tab or a carriage return.
bool StartsLikeFormula(std::string_view cell);

}  // namespace orvalin
