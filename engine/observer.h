// Where and when the sun is computed for: the observer and the calendar day.
#pragma once

namespace orvalin {

// The altitude of the sun's centre at rise and set, degrees: refraction and the sun's radius.
inline constexpr double kHorizonAltitude = -0.61;

// Degrees: latitude North positive, longitude East positive, and the altitude of the sun's
// centre at which it rises and sets (a height above the ground is already in it, as its dip).
struct Observer {
  double latitude;
  double longitude_east;
  double horizon;
};

// A Gregorian day; a day past the month's end runs into the next month.
struct CivilDate {
  int day;
  int month;
  int year;
};

}  // namespace orvalin
