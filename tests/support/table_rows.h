// Rows of a table gathered at once, where a test looks at one day or a short span.
#pragma once

#include <vector>

#include "cli/table/sun_table.h"

namespace orvalin {

// The rows from `first` to `last`, computed as a table computes them.
inline std::vector<SunRow> ComputeRows(const TablePlace& place, Day first, Day last,
                                       const Clock& clock, const SunSettings& settings = {}) {
  std::vector<SunRow> rows;
  ForEachRow(
      place, first, last, clock, [&](const SunRow& row) { rows.push_back(row); }, settings);
  return rows;
}

// The row of one day; a day the clock skipped is a row that says so.
inline SunRow ComputeRow(const TablePlace& place, Day day, const Clock& clock,
                         const SunSettings& settings = {}) {
  SunRow row;
  row.date = day;
  row.note = "the clock skipped this day";
  ForEachRow(place, day, day, clock, [&](const SunRow& computed) { row = computed; }, settings);
  return row;
}

}  // namespace orvalin
