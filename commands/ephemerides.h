// The sun computation as the window runs it: results kept in DayResults, the early returns told.
#pragma once

#include <cstdint>

#include "commands/window.h"
#include "engine/sun_day.h"

namespace orvalin {

struct DayResults {
  double SunriseTime = 0;           // hours UT
  double SunriseAzimuth = 0;        // degrees, true azimuth
  double CulminationTime = 0;       // hours UT
  double CulminationAzimuth = 0;    // degrees: 180 (south) or 0 (north)
  double SunsetTime = 0;            // hours UT
  double SunsetAzimuth = 0;         // degrees, true azimuth
  double DayLength = 0;             // hours
  double CulminationElevation = 0;  // degrees
};

// Stores what the computation reached into `results` (leaving the rest as it was), and for an
// early return beeps and shows "No sunrise" / "No sunset" in the selected language, or
// "<description> in line <step> of EPHEMERIDES". The day is returned for its outcome and for what
// it reached.
SunDay EPHEMERIDES(Window& window, DayResults& results, double longitude_west, double latitude,
                   double horizon, std::int16_t day, std::int16_t month, std::int16_t year);

}  // namespace orvalin
