// The window's search rule over a whole file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "placesfile/place_record.h"
#include "placesfile/search_rule.h"

namespace orvalin::testing {

// The first record of `file`, in file order, that `typed` finds.
inline std::optional<std::int64_t> FindPlace(std::string_view file, std::string_view typed) {
  return FirstPlaceFound(typed, RecordsIn(file),
                         [file](std::int64_t n) { return RecordBytesAt(file, n); });
}

}  // namespace orvalin::testing
