#include "cli/place_input.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "engine/angle_text.h"
#include "common/failure.h"
#include "common/text.h"
#include "placesfile/search_rule.h"
#include "cli/out_text.h"
#include "cli/tool_errors.h"

namespace orvalin {
namespace {

// What the reading lacked, for a line that says what to type.
std::string_view WhatIsMissing(AngleGap gap) {
  switch (gap) {
    case AngleGap::Degrees: return "no blank between its parts";
    case AngleGap::Minutes: return "the minutes and seconds are missing";
    case AngleGap::Seconds: return "the seconds are missing";
    case AngleGap::None: break;
  }
  return "no capital N, S, E, W or O after the seconds";
}

double TypedAngle(std::string_view option, std::string_view text, bool is_latitude) {
  const std::string quoted = std::string(option) + " \"" + std::string(text) + "\"";
  if (CharacterCount(text) > kAngleWidth) {
    throw BadUsage(quoted + ": longer than 15 characters, the width of the places file");
  }
  const AngleCheck check = CheckAngle(FixedText(text, kAngleWidth), is_latitude);
  if (!check.readable) {
    throw BadUsage(quoted + ": " + check.problem + "; type degrees, minutes, seconds and a " +
                   "letter, e.g. " + (is_latitude ? "\"46 12 0 N\"" : "\"6 9 0 E\""));
  }
  if (!check.problem.empty()) throw BadUsage(quoted + ": " + check.problem);
  return check.value;
}

std::string RecordName(const PlaceRecord& record, std::int64_t n) {
  const std::string name = WithoutFilling(record.PlaceName);
  return "record " + std::to_string(n) + (name.empty() ? "" : " (" + name + ")");
}

double StoredAngle(const PlaceRecord& record, std::int64_t n, bool is_latitude) {
  const std::string& text = is_latitude ? record.LatitudeText : record.LongitudeText;
  const AngleCheck check = CheckAngle(text, is_latitude);
  if (check.readable) return check.value;
  throw ToolFailure(RecordName(record, n) + ": the " + (is_latitude ? "latitude" : "longitude") +
                    " \"" + WithoutFilling(text) + "\" " + check.problem +
                    " (orvalin-places check lists such records)");
}

}  // namespace

AngleCheck CheckAngle(std::string_view fixed, bool is_latitude) {
  AngleCheck check;
  AngleReading reading;
  try {
    reading = ReadAngle(fixed);
  } catch (const Failure& f) {
    check.problem = "has a number out of range (" + std::string(f.what()) + ")";
    return check;
  }
  if (!reading.is_clean()) {
    check.problem = "cannot be read: " + std::string(WhatIsMissing(reading.gap));
    return check;
  }
  check.readable = true;
  check.value = reading.value;
  const char letter = reading.letter;
  const std::string_view suits = is_latitude ? "NS" : "EWO";
  const double limit = is_latitude ? 90 : 180;
  if (suits.find(letter) == std::string_view::npos) {
    check.problem = std::string("ends in ") + letter + ", which does not suit a " +
                    (is_latitude ? "latitude (N or S)" : "longitude (E, W or O)");
  } else if (std::abs(reading.value) > limit) {
    check.problem = "lies beyond " + std::to_string(static_cast<int>(limit)) + " degrees";
  }
  return check;
}

std::string ReadPlacesBytes(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw ToolFailure(path + ": no places file there (--file names another one)");
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in || in.bad()) throw ToolFailure(path + ": cannot be read");
  return std::move(bytes).str();
}

PlaceRecord RecordAt(std::string_view bytes, std::int64_t n) {
  return DecodeRecord(RecordBytesAt(bytes, n));
}

TablePlace PlaceFromRecord(const PlaceRecord& record, std::int64_t n) {
  TablePlace place;
  place.name = WithoutFilling(record.PlaceName);
  place.country = WithoutFilling(record.CountryName);
  place.latitude_text = WithoutFilling(record.LatitudeText);
  place.longitude_text = WithoutFilling(record.LongitudeText);
  place.longitude_west = StoredAngle(record, n, false);
  place.latitude = StoredAngle(record, n, true);
  place.gmt_hours = record.GmtHours;
  return place;
}

TablePlace PlaceFromTyped(std::string_view latitude, std::string_view longitude) {
  TablePlace place;
  place.latitude = TypedAngle("--lat", latitude, true);
  place.longitude_west = TypedAngle("--lon", longitude, false);
  place.latitude_text = WithoutFilling(latitude);
  place.longitude_text = WithoutFilling(longitude);
  return place;
}

}  // namespace orvalin
