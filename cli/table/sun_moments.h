// What a table adds to a day on request: the sun at a time of the day, golden and blue hours.
#pragma once

#include "cli/table/day_crossings.h"
#include "cli/table/sun_row.h"

namespace orvalin {

void AddAskedMoments(SunRow& row, const TablePlace& place, const LocalDay& day,
                     const SunSettings& settings);

}  // namespace orvalin
