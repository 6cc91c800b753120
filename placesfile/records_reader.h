// The records of a places file read in turn, a block at a time, so that memory stays the same
// whatever the file's size.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>

#include "placesfile/places_file.h"

namespace orvalin {

// Records read at once by whoever goes through a whole places file: memory stays small, system
// calls few.
inline constexpr std::int64_t kRecordsPerBlock = 4096;

// Calls `each` with every record's number (from 1) and bytes, fewer than 72 for a partial last
// record. False when the stream failed before its end.
bool ForEachRecord(std::istream& in,
                   const std::function<void(std::int64_t, std::string_view)>& each);

// The records of an open places file, read a block at a time as they are asked for.
class RecordBlocks {
 public:
  explicit RecordBlocks(const PlacesFile& file) : file_(file) {}

  // The bytes of record n, fewer for a partial one; Bad record number beyond the end.
  std::string_view At(std::int64_t n);

 private:
  const PlacesFile& file_;
  std::string block_;
  std::int64_t first_ = 0;
};

}  // namespace orvalin
