// Sun rows written as text, CSV or JSON, one at a time as they are computed.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/table/ics_format.h"
#include "cli/table/sun_table.h"
#include "clock/clock.h"

namespace orvalin {

enum class TableFormat { Text, Csv, Json, Ics };

// "text", "csv", "json" or, where `ics` allows, "ics"; BadUsage naming `option` and the formats
// offered otherwise.
TableFormat ParseTableFormat(std::string_view option, std::string_view text, bool ics = true);

struct TableStyle {
  TableFormat format = TableFormat::Text;
  bool window_texts = false;  // text: the window's own texts instead of clock times and decimals
  bool minutes = false;       // text: times and lengths to the minute
  bool many_places = false;   // JSON: a list of places, each with its days
  SunSettings sun;            // the altitudes the rows were computed for; dawn and dusk columns
};

// Text: for each place a heading naming it and the clock, then a line a day: times "07:15:49",
// azimuths and elevation in degrees with one decimal, within 100 columns (or the window's texts).
// CSV: one header line, then one line a day and place with each value as the window's text and
// as a decimal (hours on the clock, degrees), dates in ISO 8601 and each event also as an ISO
// 8601 local time with its offset. JSON: one object holding the place, its clock and its days
// (or a list of such places), a missing value being null.
class TableWriter {
 public:
  TableWriter(std::ostream& out, const TableStyle& style);
  // The place's rows follow on `clock`, which must outlive them.
  void BeginPlace(const TablePlace& place, const Clock& clock);
  void Row(const SunRow& row);
  // A day the clock skipped, said where its row would stand in the text table.
  void Skipped(Day day);
  void End();

 private:
  std::ostream& out_;
  TableStyle style_;
  std::optional<IcsWriter> ics_;
  const TablePlace* place_ = nullptr;
  const Clock* clock_ = nullptr;
  int places_ = 0;
  long long rows_ = 0;  // of the current place
};

}  // namespace orvalin
