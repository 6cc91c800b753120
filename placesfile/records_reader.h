// The records of a places file read in turn, a block at a time, so that memory stays the same
// whatever the file's size.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string_view>

namespace orvalin {

// Calls `each` with every record's number (from 1) and bytes, fewer than 72 for a partial last
// record. False when the stream failed before its end.
bool ForEachRecord(std::istream& in,
                   const std::function<void(std::int64_t, std::string_view)>& each);

}  // namespace orvalin
