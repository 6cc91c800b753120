#include "placesfile/place_rules.h"

#include <cstdio>

#include "common/escaped_text.h"
#include "common/problem.h"
#include "common/text.h"
#include "engine/angle_forms.h"
#include "placesfile/place_record.h"

namespace orvalin {
namespace {

struct Field {
  const char* name;
  std::size_t offset, width;
};
constexpr Field kTextFields[] = {
    {"name", 0, kNameWidth},
    {"country", kCountryOffset, kCountryWidth},
    {"latitude", kLatitudeOffset, kAngleWidth},
    {"longitude", kLongitudeOffset, kAngleWidth}};

Problem ByteProblem(std::string_view bytes, const Field& field) {
  for (std::size_t i = 0; i < field.width && field.offset + i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[field.offset + i]);
    char text[96];
    // Above 0x7F only the bytes with no Windows-1252 character read as controls.
    const bool control = IsControlCharacter(Cp1252Character(b));
    if (control && b < 0x80) {
      std::snprintf(text, sizeof text, "the %s has a control character (code %u) at position %zu",
                    field.name, b, i + 1);
      return text;
    }
    if (control) {
      std::snprintf(text, sizeof text,
                    "the %s has byte 0x%02X at position %zu, which is no Windows-1252 character",
                    field.name, b, i + 1);
      return text;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<PlaceProblem> CheckRecord(std::int64_t n, std::string_view raw) {
  std::vector<PlaceProblem> problems;
  const auto add = [&](std::string what) { problems.push_back({n, std::move(what)}); };
  if (raw.size() < kRecordSize) {
    add("the record is partial: " + std::to_string(raw.size()) + " of " +
        std::to_string(kRecordSize) + " bytes");
  }
  bool clean = true;
  for (const Field& field : kTextFields) {
    if (Problem problem = ByteProblem(raw, field)) {
      problems.push_back({n, std::move(*problem), true});
      clean = false;
    }
  }
  const PlaceRecord record = DecodeRecord(raw);
  if (clean && WithoutFilling(record.PlaceName).empty()) add("the name is empty");
  for (const bool latitude : {true, false}) {
    const std::string& text = latitude ? record.LatitudeText : record.LongitudeText;
    const TypedAngle angle = ReadWindowAngle(text, latitude ? Axis::Latitude : Axis::Longitude);
    if (angle.problem) {
      add(std::string("the ") + (latitude ? "latitude" : "longitude") + " \"" +
          EscapeControls(WithoutFilling(text)) + "\" " + *angle.problem);
    }
  }
  if (raw.size() == kRecordSize && !IsUsableGmt(record.GmtHours)) {
    add("the offset from GMT, " + std::to_string(record.GmtHours) + " hours, lies outside " +
        UsableGmtRange());
  }
  return problems;
}

}  // namespace orvalin
