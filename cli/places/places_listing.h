// What orvalin-places writes of the places file as it reads it, a block of records at a time, so
// that memory stays the same whatever the file's size: list, export and check.
#pragma once

#include <ostream>
#include <string>

#include "cli/table/progress.h"
#include "cli/table/table_format.h"

namespace orvalin {

// Where a listing reads and writes: warnings of a partial last record go to `err`, and so does
// the progress of a long run, as `progress` and `terminal` say (cli/progress.h).
struct Listing {
  std::string file;
  std::ostream& out;
  std::ostream& err;
  Progress::Mode progress = Progress::Mode::Quiet;
  bool terminal = false;
};

void ListPlaces(const Listing& l, TableFormat format);
// The places CSV: a header line, then one line a whole record.
void ExportPlaces(const Listing& l, std::ostream& to);
// Each problem of each record, then a line of totals; false when there is a problem.
bool CheckPlacesFile(const Listing& l);

}  // namespace orvalin
