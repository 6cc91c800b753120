// Where and when the sun is computed for: the observer and the calendar day.
#pragma once

#include "engine/coordinates.h"

namespace orvalin {

// The altitude of the sun's centre at rise and set, degrees: refraction and the sun's radius.
inline constexpr double kHorizonAltitude = -0.61;

// The place, and the altitude of the sun's centre at which it rises and sets, degrees (a height
// above the ground is already in it, as its dip).
struct Observer {
  Latitude latitude;
  Longitude longitude;
  double horizon;
};

// A Gregorian day; a day past the month's end runs into the next month.
struct CivilDate {
  int day;
  int month;
  int year;
};

// Hours from 0 h UT of a date, `from` included, `to` not.
struct HourSpan {
  double from, to;
};

}  // namespace orvalin
