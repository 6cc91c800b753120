// Small pieces of output text: decimals that ignore the locale, JSON strings, CSV cells and
// columns padded by characters rather than bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

// Fixed notation with `digits` decimals and "." whatever the locale: Decimal(3.5, 2) is "3.50".
std::string Decimal(double value, int digits);

// A JSON string literal, quotes included; control characters escaped.
std::string JsonString(std::string_view utf8);

// A CSV cell: quoted (quotes doubled) when it holds a comma, a quote, a line break, or a blank at
// either end, which a spreadsheet would otherwise drop.
std::string CsvCell(std::string_view text);

// Rows of cells laid out in columns two blanks apart; `right_aligned[c]` aligns column c on the
// right. Widths count characters, so "°" counts once.
std::string Columns(const std::vector<std::vector<std::string>>& rows,
                    const std::vector<bool>& right_aligned);
// One row of such columns, of the given widths in characters, its line break included.
std::string ColumnsLine(const std::vector<std::string>& row,
                        const std::vector<std::size_t>& widths,
                        const std::vector<bool>& right_aligned);

// The text without the blanks that fill a fixed-length field on the right.
std::string WithoutFilling(std::string_view text);

}  // namespace orvalin
