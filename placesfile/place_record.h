// One place: 72 bytes in location.dat, Windows-1252 texts of fixed width, offset little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvalin {

inline constexpr std::size_t kRecordSize = 72;
inline constexpr std::size_t kNameWidth = 20;
inline constexpr std::size_t kCountryWidth = 20;
inline constexpr std::size_t kAngleWidth = 15;
// Where each field starts; the offset from GMT takes the last two bytes.
inline constexpr std::size_t kCountryOffset = kNameWidth;
inline constexpr std::size_t kLatitudeOffset = kCountryOffset + kCountryWidth;
inline constexpr std::size_t kLongitudeOffset = kLatitudeOffset + kAngleWidth;
inline constexpr std::size_t kGmtOffset = kLongitudeOffset + kAngleWidth;
static_assert(kGmtOffset + 2 == kRecordSize);

// The offsets from GMT of the world's zones, in whole hours: a place's must lie between them for
// the tools to use it.
inline constexpr int kLeastGmtHours = -12;
inline constexpr int kMostGmtHours = 14;
constexpr bool IsUsableGmt(int hours) { return hours >= kLeastGmtHours && hours <= kMostGmtHours; }
// "-12 to +14", as messages and help say it.
std::string UsableGmtRange();

// Texts are UTF-8 and always hold exactly their width in characters. A text never assigned holds
// characters of code 0, which is how a window that has not yet loaded a place is recognised.
struct PlaceRecord {
  std::string PlaceName = std::string(kNameWidth, '\0');
  std::string CountryName = std::string(kCountryWidth, '\0');
  std::string LatitudeText = std::string(kAngleWidth, '\0');
  std::string LongitudeText = std::string(kAngleWidth, '\0');
  std::int16_t GmtHours = 0;

  bool operator==(const PlaceRecord&) const = default;
};

using RecordBytes = std::array<char, kRecordSize>;

// A character with no Windows-1252 code is stored as "?".
RecordBytes EncodeRecord(const PlaceRecord& record);
// Reads up to 72 bytes; a partial record's missing text bytes read as blanks and a missing byte
// of the offset as 0.
PlaceRecord DecodeRecord(std::string_view bytes);

// Records in a file's bytes, a partial last record counted.
std::int64_t RecordsIn(std::string_view file);
// The bytes of record n (from 1) of a file's bytes: fewer than 72 for a partial record, none
// beyond the end.
std::string_view RecordBytesAt(std::string_view file, std::int64_t n);

}  // namespace orvalin
