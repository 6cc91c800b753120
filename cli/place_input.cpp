#include "cli/place_input.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "cli/out_text.h"
#include "cli/tool_errors.h"
#include "commands/search.h"
#include "commands/verif_angle.h"
#include "common/escaped_text.h"
#include "common/failure.h"
#include "common/text.h"

namespace orvalin {
namespace {

// What the first of the window's messages means, for a line that says what to type.
std::string_view WhatIsMissing(const std::string& message) {
  if (message.find("Insdeg") != std::string::npos) return "no blank between its parts";
  if (message.find("Insmin") != std::string::npos) return "the minutes and seconds are missing";
  if (message.find("Inssec") != std::string::npos) return "the seconds are missing";
  return "no capital N, S, E, W or O after the seconds";
}

// The letter the reading took, found as the window finds it: after the third run of blanks.
char HemisphereLetter(std::string_view fixed) {
  std::size_t at = 0;
  for (int part = 0; part < 3; ++part) {
    at = fixed.find(' ', at);
    if (at == std::string_view::npos) return 0;
    at = fixed.find_first_not_of(' ', at);
    if (at == std::string_view::npos) return 0;
  }
  return fixed[at];
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
  const std::string name = EscapeControls(WithoutFilling(record.PlaceName));
  return "record " + std::to_string(n) + (name.empty() ? "" : " (" + name + ")");
}

double StoredAngle(const PlaceRecord& record, std::int64_t n, bool is_latitude) {
  const std::string& text = is_latitude ? record.LatitudeText : record.LongitudeText;
  const AngleCheck check = CheckAngle(text, is_latitude);
  if (check.readable) return check.value;
  throw ToolFailure(RecordName(record, n) + ": the " + (is_latitude ? "latitude" : "longitude") +
                    " \"" + EscapeControls(WithoutFilling(text)) + "\" " + check.problem +
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
  if (!reading.messages.empty()) {
    check.problem = "cannot be read: " + std::string(WhatIsMissing(reading.messages.front()));
    return check;
  }
  check.readable = true;
  check.value = reading.value;
  const char letter = HemisphereLetter(fixed);
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

std::ifstream OpenPlacesToRead(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw ToolFailure(path + ": no places file there (--file names another one)");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolFailure(path + ": cannot be read");
  return in;
}

std::string ReadPlacesBytes(const std::string& path) {
  std::ifstream in = OpenPlacesToRead(path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in || in.bad()) throw ToolFailure(path + ": cannot be read");
  return std::move(bytes).str();
}

std::int64_t RecordsIn(std::string_view bytes) {
  return static_cast<std::int64_t>((bytes.size() + kRecordSize - 1) / kRecordSize);
}

PlaceRecord RecordAt(std::string_view bytes, std::int64_t n) {
  return DecodeRecord(bytes.substr(static_cast<std::size_t>(n - 1) * kRecordSize, kRecordSize));
}

std::optional<std::int64_t> FindPlace(std::string_view bytes, std::string_view text) {
  std::string folded_text(text);
  FoldCase(folded_text);
  const std::u32string wanted = CodePoints(folded_text);
  if (wanted.empty()) return std::nullopt;
  const std::int64_t count = RecordsIn(bytes);
  for (std::int64_t n = 1; n <= count; ++n) {
    std::string name = RecordAt(bytes, n).PlaceName;
    FoldCase(name);
    const std::u32string folded_name = CodePoints(name);
    const auto start = std::u32string_view(folded_name).substr(0, wanted.size());
    if (std::u32string_view(wanted).find(start) != std::u32string_view::npos) return n;
  }
  return std::nullopt;
}

TablePlace PlaceFromRecord(const PlaceRecord& record, std::int64_t n) {
  TablePlace place;
  // Names reach the terminal and the chart's title: their control characters are escaped.
  place.name = EscapeControls(WithoutFilling(record.PlaceName));
  place.country = EscapeControls(WithoutFilling(record.CountryName));
  place.latitude_text = EscapeControls(WithoutFilling(record.LatitudeText));
  place.longitude_text = EscapeControls(WithoutFilling(record.LongitudeText));
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
