// The sun's events of a span of days at one place: one row a day, on a chosen clock.
#pragma once

#include <functional>

#include "cli/table/sun_row.h"

namespace orvalin {

// On the universal clock a row is the window's day. On any other clock it is a calendar day of
// that clock: its sunrises, sunsets, dawns and dusks are the sun's crossings within it, its
// length the time above the horizon altitude within it; culmination and elevation are gathered
// from the universal days around it, the elevation of the one that holds the local noon.
//
// The rows from `first` to `last` in order, each handed to `sink` as soon as it is computed;
// every universal day is computed once. A day the clock skipped has no row: `skipped` is told.
void ForEachRow(const TablePlace& place, Day first, Day last, const Clock& clock,
                const std::function<void(const SunRow&)>& sink, const SunSettings& settings = {},
                const std::function<void(Day)>& skipped = {});

}  // namespace orvalin
