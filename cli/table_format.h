// A table of sun rows written as aligned text, CSV or JSON.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/clock.h"
#include "cli/sun_table.h"

namespace orvalin {

enum class TableFormat { Text, Csv, Json };

// "text", "csv" or "json"; BadUsage naming `option` otherwise.
TableFormat ParseTableFormat(std::string_view option, std::string_view text);

// Text: a heading naming the place and the clock, then the window's texts in columns.
// CSV: one header line, then one line a day with each value as the window's text and as a
// decimal (hours on the clock, degrees), dates in ISO 8601 and each event also as an ISO 8601
// local time with its offset. JSON: one object holding the place, the clock and the days, a
// missing value being null.
void WriteTable(std::ostream& out, TableFormat format, const TablePlace& place, const Clock& clock,
                const std::vector<SunRow>& rows);

// The CSV header line, without its line break.
const std::string& TableCsvHeader();

}  // namespace orvalin
