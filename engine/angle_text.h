// A latitude or longitude typed as degrees, minutes, seconds and a hemisphere letter.
#pragma once

#include <string_view>

#include "engine/coordinates.h"

namespace orvalin {

// The hemisphere letters the window reads after the seconds, O being the French "ouest" (west):
// a latitude's first, then a longitude's. E and S make an angle negative.
inline constexpr std::string_view kHemisphereLetters = "NSEWO";
inline constexpr std::string_view kLatitudeLetters = kHemisphereLetters.substr(0, 2);
inline constexpr std::string_view kLongitudeLetters = kHemisphereLetters.substr(2);
constexpr bool IsNegativeLetter(char letter) { return letter == 'E' || letter == 'S'; }

// The first blank-separated part that could not be found, if any.
enum class AngleGap { None, Degrees, Minutes, Seconds };

struct AngleReading {
  AngleGap gap = AngleGap::None;  // when not None, no value was read
  double value = 0;               // signed decimal degrees (North and West positive)
  char letter = 0;                // the character read as the hemisphere letter, 0 for none
  bool letter_known = false;      // N, S, E, W or O

  bool has_value() const { return gap == AngleGap::None; }
  // Read with no message: three numbers and a known letter.
  bool is_clean() const { return has_value() && letter_known; }
  // The value as the window means it on each axis.
  Latitude AsLatitude() const { return Latitude(value); }
  Longitude AsLongitude() const { return Longitude::FromWest(value); }
};

// The window's reading: the degrees up to the first blank, the minutes and the seconds up to the
// next runs of blanks, then the letter; E and S make the angle negative. Overflow of the degrees,
// minutes or seconds throws.
AngleReading ReadAngle(std::string_view text);

}  // namespace orvalin
