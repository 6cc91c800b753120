// What a table adds to a day on request: the sun at a time of the day, golden and blue hours.
#pragma once

#include "cli/table/day_crossings.h"
#include "cli/table/moon_day.h"
#include "cli/table/sun_row.h"

namespace orvalin {

// `moon` is kept by the table from day to day.
void AddAskedMoments(SunRow& row, const TablePlace& place, const LocalDay& day,
                     const SunSettings& settings, MoonTables& moon);

}  // namespace orvalin
