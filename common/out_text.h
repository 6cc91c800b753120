// Small pieces of output text: decimals that ignore the locale, JSON strings, CSV cells and
// columns padded by characters rather than bytes.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "common/csv_cell.h"  // CsvCell
#include "common/text.h"      // JsonString

namespace orvalin {

// Fixed notation with `digits` decimals and "." whatever the locale: Decimal(3.5, 2) is "3.50".
std::string Decimal(double value, int digits);
// The fewest decimals that read back as the same double: an altitude as it was given ("-0.833").
std::string ShortestDecimal(double value);

// ISO 8601: "2027-03-01".
std::string IsoDate(std::chrono::year_month_day date);

// ISO 8601 local time with its offset, to the second: "2027-03-01T07:15:49+01:00". `hours` of
// `date` on a clock `offset_seconds` ahead of universal time.
std::string IsoTimestamp(std::chrono::year_month_day date, double hours, int offset_seconds);

// An offset from universal time as ISO 8601 writes it: "+01:00", "-05:00".
std::string OffsetText(int offset_seconds);

// Hours as "07:15:49", or "07:15" to the minute, rounded; a time of day stops at the day's last
// second or minute, a length does not ("24:00:00").
std::string ClockText(double hours, bool minutes, bool time_of_day);

// Rows of cells laid out in columns two blanks apart; `right_aligned[c]` aligns column c on the
// right. Widths count characters, so "°" counts once.
std::string Columns(const std::vector<std::vector<std::string>>& rows,
                    const std::vector<bool>& right_aligned);
// One row of such columns, of the given widths in characters, its line break included.
std::string ColumnsLine(const std::vector<std::string>& row, const std::vector<std::size_t>& widths,
                        const std::vector<bool>& right_aligned);

}  // namespace orvalin
