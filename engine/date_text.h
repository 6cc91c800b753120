// Dates as the window types them: "dd-mm-yyyy".
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvalin {

// The years the computation is accurate in; outside them the window warns.
inline constexpr int kPreciseFromYear = 1800;
inline constexpr int kPreciseUntilYear = 2200;

// The parts of a "d-m-y" text: the day before the first "-", the month up to the next one, the
// year after it. Without a second "-" there is no month and the year is the whole text; without
// any "-" there is no day either. Nothing is read or checked here.
struct DateParts {
  bool has_day = false, has_month = false;
  std::string_view day, month, year;
};
DateParts SplitDateText(std::string_view text);

// The numbers of a typed date, each rounded to 16 bits.
struct DateNumbers {
  std::int16_t day = 0, month = 0, year = 0;
};

// The last year the window takes typed: beyond it a date is refused before the year is rounded.
inline constexpr int kLatestTypedYear = 32000;

// What a reading of the parts checks beside the numbers themselves.
enum class PartRanges {
  Unchecked,  // any numbers; no month reads 0
  Typed,      // day 1 to 31, then a month and 1 to 12, then a year up to kLatestTypedYear
};

// Day, month and year of a "d-m-y" text (SplitDateText), in that order, each by ReadNumber and
// RoundToInt16, which fail with Overflow. Nothing without a "-", nor, with `ranges` Typed, as
// soon as a part is out of its range: the parts after it are not read.
std::optional<DateNumbers> ReadDateNumbers(std::string_view text, PartRanges ranges);

// A real calendar day in the years 1 to 9999 written strictly "d-m-yyyy": day and month of one or
// two digits, a year of four, nothing else.
std::optional<std::chrono::year_month_day> ReadStrictDate(std::string_view text);

// "dd-mm-yyyy" of a calendar date, the year zero-padded to four digits.
std::string DateText(std::chrono::year_month_day date);

}  // namespace orvalin
