// How a field's text becomes a number.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvalin {

// The numeric value of the leading part of a text: blanks, tabs and line feeds are ignored
// wherever they stand; then an optional sign, digits with at most one ".", and an optional
// exponent (E or D in either case). "12-2024" reads 12; a text not starting with a number reads 0.
// A value beyond a double fails with Overflow.
double ReadNumber(std::string_view text);

// The nearest whole number, halves to the even neighbour; outside -32768..32767 fails with
// Overflow.
std::int16_t RoundToInt16(double value);

}  // namespace orvalin
