// orvalin-places find: the places a name means, best first.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "cli/table/table_format.h"

namespace orvalin {

struct FindRequest {
  std::string file;
  std::string text;
  std::size_t limit;
  TableFormat format;
};

// kExitOk with the places written, or kExitFailure with the nearest spellings on `err`.
int FindPlaces(const FindRequest& request, std::ostream& out, std::ostream& err);

}  // namespace orvalin
