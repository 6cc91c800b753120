// Where a table's place comes from: a record of a places file, found by number or by the start
// of its name, or coordinates typed as in the window.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "placesfile/place_record.h"
#include "cli/sun_table.h"

namespace orvalin {

// The bytes of a places file, which must exist (it is never created here). ToolFailure when it
// is missing or unreadable.
std::string ReadPlacesBytes(const std::string& path);
// The same file opened to be read record by record.
std::ifstream OpenPlacesToRead(const std::string& path);

// Records in the bytes, a partial last record included.
std::int64_t RecordsIn(std::string_view bytes);
PlaceRecord RecordAt(std::string_view bytes, std::int64_t n);  // n from 1

// The first record, in file order, that the window's search finds for `text`: letters a to z
// folded to capitals in both, then the text must begin the 20-character name (or, longer than
// 20, hold the whole name). An empty text finds nothing.
std::optional<std::int64_t> FindPlace(std::string_view bytes, std::string_view text);

// An angle text of 15 characters, as stored, read by the window's rules.
struct AngleCheck {
  bool readable = false;  // the window reads it without a message
  double value = 0;       // degrees, North and West positive, when readable
  // "" when all is well; else why it cannot be read, or, readable, a hemisphere letter that does
  // not suit the angle (the window takes "E" on a latitude as south) or a value beyond 90 or 180.
  std::string problem;
};
AngleCheck CheckAngle(std::string_view fixed, bool is_latitude);

// A record's angles read by the window's rules. ToolFailure when the window would show a message.
TablePlace PlaceFromRecord(const PlaceRecord& record, std::int64_t n);

// Coordinates typed on the command line. BadUsage, in one line, when the window would show a
// message, when the hemisphere letter does not suit the angle, or when it is out of range.
TablePlace PlaceFromTyped(std::string_view latitude, std::string_view longitude);

}  // namespace orvalin
