// Where a table's place comes from: a record of a places file, found by number or by the start
// of its name, or coordinates typed as in the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "placesfile/place_record.h"
#include "placesfile/search_rule.h"  // FindPlace
#include "cli/sun_table.h"

namespace orvalin {

// The bytes of a places file, which must exist (it is never created here). ToolFailure when it
// is missing or unreadable.
std::string ReadPlacesBytes(const std::string& path);

PlaceRecord RecordAt(std::string_view bytes, std::int64_t n);  // n from 1

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
