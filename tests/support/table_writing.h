// Whole tables in one go, for tests and benchmarks: the tools write them row by row.
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/table/table_format.h"

namespace orvalin {

inline void WriteTable(std::ostream& out, TableFormat format, const TablePlace& place,
                       const Clock& clock, const std::vector<SunRow>& rows) {
  TableStyle style;
  style.format = format;
  TableWriter writer(out, style);
  writer.BeginPlace(place, clock);
  for (const SunRow& r : rows) writer.Row(r);
  writer.End();
}

// The CSV header line without a twilight, without its line break.
inline std::string TableCsvHeader() {
  std::ostringstream out;
  TableStyle style;
  style.format = TableFormat::Csv;
  TableWriter writer(out, style);
  std::string header = out.str();
  header.pop_back();
  return header;
}

}  // namespace orvalin
