// How a typed text finds a place by the start of its name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "placesfile/place_record.h"

namespace orvalin {

// Small letters a to z become capitals; every other character stays as it is.
void FoldCase(std::string& text);

// The first of records 1 to `count`, in file order, whose name `typed` finds: the name's first k
// characters (all 20 when the text is longer) stand somewhere in the text, both sides folded; up
// to 20 characters, the text begins the name; beyond, the whole name lies inside the text. An
// empty text finds nothing. `record_at` gives the bytes of record n, asked for in turn; what a
// partial record lacks reads as blanks.
std::optional<std::int64_t> FirstPlaceFound(
    std::string_view typed, std::int64_t count,
    const std::function<std::string_view(std::int64_t)>& record_at);

}  // namespace orvalin
