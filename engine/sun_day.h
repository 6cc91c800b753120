// The sun's events of one day at one place, in universal time.
#pragma once

#include <optional>
#include <string>

#include "common/failure.h"
#include "engine/observer.h"

namespace orvalin {

enum class SunOutcome { Complete, NoSunrise, NoSunset, Fault };

// One day's results; a value that the computation did not reach (the day stopped early) is
// empty.
struct SunDay {
  std::optional<double> SunriseTime;           // hours UT
  std::optional<double> SunriseAzimuth;        // degrees, true azimuth
  std::optional<double> CulminationTime;       // hours UT
  std::optional<double> CulminationAzimuth;    // degrees: 180 (south) or 0 (north)
  std::optional<double> SunsetTime;            // hours UT
  std::optional<double> SunsetAzimuth;         // degrees, true azimuth
  // Hours: 24 when the sun stays up, 0 when it stays down; empty when the day misses an event
  // that falls just outside it.
  std::optional<double> DayLength;
  std::optional<double> CulminationElevation;  // degrees

  SunOutcome outcome = SunOutcome::Complete;
  // NoSunrise or NoSunset although the sun does rise and set: the event of the kind falls just
  // before and just after this UT day, none within it.
  bool event_elsewhere = false;
  Fault fault = Fault::Overflow;  // when outcome == Fault
  int step = 0;                   // when outcome == Fault: the step number reported
};

// The computation alone, with no window: ordinary outcomes (no sunrise, no sunset) and arithmetic
// faults are status values.
SunDay ComputeSunDay(const Observer& observer, CivilDate date);

// The report of the fault a day stopped at, as the window words it:
// "<description> in line <step> of EPHEMERIDES".
std::string FaultReport(const SunDay& day);

}  // namespace orvalin
