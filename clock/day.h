// A calendar day, proleptic Gregorian, as every clock and table names it.
#pragma once

#include <chrono>

namespace orvalin {

using Day = std::chrono::year_month_day;

}  // namespace orvalin
