#include "cli/table/place_input.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "cli/args/tool_errors.h"
#include "common/escaped_text.h"
#include "common/out_text.h"
#include "common/text.h"
#include "engine/angle_forms.h"
#include "placesfile/places_folder.h"

namespace orvalin {
namespace {

TypedAngle CheckedTyped(std::string_view option, std::string_view text, Axis axis) {
  TypedAngle angle = ReadTypedAngle(text, axis);
  const std::string quoted = std::string(option) + " \"" + std::string(text) + "\": ";
  if (angle.problem) {
    throw BadUsage(quoted + *angle.problem + "; " + AcceptedAngleForms(axis));
  }
  if (CharacterCount(angle.window_text) > kAngleWidth) {
    throw BadUsage(quoted + "longer than 15 characters, the width of the places file");
  }
  return angle;
}

std::string RecordName(const PlaceRecord& record, std::int64_t n) {
  const std::string name = EscapeControls(WithoutFilling(record.PlaceName));
  return "record " + std::to_string(n) + (name.empty() ? "" : " (" + name + ")");
}

double StoredAngle(const PlaceRecord& record, std::int64_t n, Axis axis) {
  const bool latitude = axis == Axis::Latitude;
  const std::string& text = latitude ? record.LatitudeText : record.LongitudeText;
  const TypedAngle angle = ReadWindowAngle(text, axis);
  if (angle.readable) return angle.value;
  throw ToolFailure(RecordName(record, n) + ": the " + (latitude ? "latitude" : "longitude") +
                    " \"" + EscapeControls(WithoutFilling(text)) + "\" " +
                    angle.problem.value_or("") + " (orvalin-places check lists such records)");
}

}  // namespace

std::string ChosenPlacesFile(const std::optional<std::string>& file, std::string_view program,
                             std::ostream& err) {
  if (file) return *file;
  try {
    std::string warning;
    std::string path = DefaultPlacesFile(warning);
    if (!warning.empty()) err << program << ": warning: " << MessageText(warning) << '\n';
    return path;
  } catch (const FolderError& e) {
    throw ToolFailure(std::string(e.what()) + "; --file names a places file");
  }
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

PlaceRecord RecordAt(std::string_view bytes, std::int64_t n) {
  return DecodeRecord(RecordBytesAt(bytes, n));
}

TablePlace PlaceFromRecord(const PlaceRecord& record, std::int64_t n) {
  TablePlace place;
  // Names reach the terminal and the chart's title: their control characters are escaped.
  place.name = EscapeControls(WithoutFilling(record.PlaceName));
  place.country = EscapeControls(WithoutFilling(record.CountryName));
  place.latitude_text = EscapeControls(WithoutFilling(record.LatitudeText));
  place.longitude_text = EscapeControls(WithoutFilling(record.LongitudeText));
  // The window stores longitudes West positive.
  place.longitude_east = -StoredAngle(record, n, Axis::Longitude);
  place.latitude = StoredAngle(record, n, Axis::Latitude);
  place.gmt_hours = record.GmtHours;
  return place;
}

TablePlace PlaceFromTyped(std::string_view latitude, std::string_view longitude) {
  TablePlace place;
  const TypedAngle north = CheckedTyped("--lat", latitude, Axis::Latitude);
  const TypedAngle west = CheckedTyped("--lon", longitude, Axis::Longitude);
  place.latitude = north.value;
  place.longitude_east = -west.value;
  place.latitude_text = north.window_text;
  place.longitude_text = west.window_text;
  return place;
}

}  // namespace orvalin
