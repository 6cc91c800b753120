// The days a table covers, from the dates typed on the command line.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "clock/day.h"
#include "engine/date_text.h"  // DateText, kPreciseFromYear, kPreciseUntilYear
#include "engine/observer.h"

namespace orvalin {

// Strict readings of a real calendar day in the years 1 to 9999: "DD-MM-YYYY" (day and month of
// one or two digits, a year of four) or "YYYY-MM-DD"; "MM-YYYY" or "YYYY-MM"; "YYYY". BadUsage
// naming `option`, the text and the accepted forms otherwise.
Day ParseDayText(std::string_view option, std::string_view text);
std::pair<Day, Day> ParseMonthText(std::string_view option, std::string_view text);
std::pair<Day, Day> ParseYearText(std::string_view option, std::string_view text);

// A calendar day as the engine takes it.
CivilDate CivilDateOf(Day d);

// Every day from `first` to `last`, both included; empty when last is before first.
std::vector<Day> DaysFromTo(Day first, Day last);

}  // namespace orvalin
