// location.dat: an array of 72-byte records numbered from 1, opened for reading and writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "placesfile/place_record.h"

namespace orvalin {

inline constexpr std::string_view kPlacesFileName = "location.dat";

// The places file `name` of a folder ("" or a path ending in "/" or not); just the name for "".
std::string PlacesFileIn(std::string_view directory,
                         std::string_view name = kPlacesFileName);

// Failures carry the standard descriptions: "Path not found", "Permission denied" (also for a
// folder in the file's place), "Disk full", "Device I/O error", "Bad record number".
class PlacesFile {
 public:
  PlacesFile() = default;
  PlacesFile(const PlacesFile&) = delete;
  PlacesFile& operator=(const PlacesFile&) = delete;
  ~PlacesFile() { Close(); }

  // Opens for reading and writing; a missing file is created empty.
  void Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  void Close();  // closing a file that is not open does nothing

  // Length in bytes / 72, a real number: a partial last record counts as a fraction.
  double RecordCount() const;
  std::int64_t SizeInBytes() const;

  // Record n (from 1). One wholly beyond the end fails with Bad record number; a partial last
  // record reads what is there.
  PlaceRecord Read(std::int64_t n) const;
  // Writing at or past the end makes the file longer.
  void Write(std::int64_t n, const PlaceRecord& record);

  // The whole file's bytes; and an atomic replacement of them (temporary file in the same folder,
  // flushed, renamed over the file), after which this object holds the new file open.
  std::string ReadAll() const;
  void ReplaceAll(std::string_view bytes);

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace orvalin
