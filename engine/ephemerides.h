// The sun's events of one day at one place, in universal time.
#pragma once

#include <cstdint>

#include "common/failure.h"
#include "commands/window.h"

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

// Which of the eight results a computation stored (an early return stores only some).
enum StoredResult : unsigned {
  kStoredCulminationTime = 1u << 0,
  kStoredCulminationElevation = 1u << 1,
  kStoredSunriseTime = 1u << 2,
  kStoredSunsetTime = 1u << 3,
  kStoredDayLength = 1u << 4,
  kStoredSunriseAzimuth = 1u << 5,
  kStoredCulminationAzimuth = 1u << 6,
  kStoredSunsetAzimuth = 1u << 7,
  kStoredAll = 0xFFu,
};

enum class SunOutcome { Complete, NoSunrise, NoSunset, Fault };

struct SunDay {
  DayResults values;  // only the members flagged in `stored` are meaningful
  unsigned stored = 0;
  SunOutcome outcome = SunOutcome::Complete;
  Fault fault = Fault::Overflow;  // when outcome == Fault
  int step = 0;                   // when outcome == Fault: the step number reported
};

// The computation alone, with no window: ordinary outcomes (no sunrise, no sunset) and arithmetic
// faults are status values. longitude_west: degrees, West positive; latitude: North positive;
// horizon: altitude of the sun's centre at rise and set, degrees.
SunDay ComputeSunDay(double longitude_west, double latitude, double horizon, std::int16_t day,
                     std::int16_t month, std::int16_t year);

struct EphemeridesStatus {
  SunOutcome outcome = SunOutcome::Complete;
  unsigned stored = 0;
};

// The window's procedure: stores what the computation stored into `results` (leaving the rest as
// it was), and for an early return beeps and shows "No sunrise" / "No sunset" in the selected
// language, or "<description> in line <step> of EPHEMERIDES".
EphemeridesStatus EPHEMERIDES(Window& window, DayResults& results, double longitude_west,
                              double latitude, double horizon, std::int16_t day,
                              std::int16_t month, std::int16_t year);

}  // namespace orvalin
