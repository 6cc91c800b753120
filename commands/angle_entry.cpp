#include "commands/angle_entry.h"

#include "commands/messages.h"
#include "engine/angle_text.h"

namespace orvalin {
namespace {

AngleReading ReadAndTell(Window& window, std::string_view text) {
  const AngleReading reading = ReadAngle(text);
  // A missing part is reported with every part after it, then the letter.
  constexpr Message kMissing[] = {Message::NoDegrees, Message::NoMinutes, Message::NoSeconds};
  const int first_missing = static_cast<int>(reading.gap) - static_cast<int>(AngleGap::Degrees);
  if (reading.gap != AngleGap::None) {
    for (int k = first_missing; k < 3; ++k) Tell(window, kMissing[k]);
  }
  if (!reading.is_clean()) Tell(window, Message::BadHemisphereLetter);
  return reading;
}

}  // namespace

void ReadAngleEntry(Window& window, std::string_view text, Latitude& value) {
  const AngleReading reading = ReadAndTell(window, text);
  if (reading.has_value()) value = reading.AsLatitude();
}

void ReadAngleEntry(Window& window, std::string_view text, Longitude& value) {
  const AngleReading reading = ReadAndTell(window, text);
  if (reading.has_value()) value = reading.AsLongitude();
}

}  // namespace orvalin
