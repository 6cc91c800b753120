// The moon's phases and light: the principal phases, when the moon's apparent geocentric ecliptic
// longitude exceeds the sun's by 0, 90, 180 and 270 degrees; the illuminated fraction of its disc,
// (1 + cos i) / 2 of the phase angle i (the angle Sun-Moon-Earth; Meeus, Astronomical Algorithms,
// 2nd ed., 1998, ch. 48); its age since the last new moon; and the name of a day's phase. All are
// geocentric, so the same for every observer at one moment; times are hours of universal time
// from 0 h UT of an origin date, Delta T applied (engine/delta_t.h).
#pragma once

#include <array>
#include <vector>

#include "engine/moon_ephemeris.h"
#include "engine/observer.h"

namespace orvalin {

enum class PrincipalPhase { NewMoon, FirstQuarter, FullMoon, LastQuarter };

struct PhaseMoment {
  PrincipalPhase phase;
  double hours;
};

// Every principal phase within the span, in order.
std::vector<PhaseMoment> PrincipalPhases(CivilDate origin, HourSpan span);

struct MoonLight {
  double illuminated;  // the fraction of the disc in sunlight, 0 to 1
  double phase_angle;  // degrees, 0 at full moon
  double elongation;   // degrees from the sun, 0 to 180
  double lead;         // the moon's longitude less the sun's, [0, 360): below 180 it waxes
  double age;          // days since the last new moon
};

MoonLight LightAt(CivilDate origin, double hours);

enum class PhaseName {
  NewMoon,
  WaxingCrescent,
  FirstQuarter,
  WaxingGibbous,
  FullMoon,
  WaningGibbous,
  LastQuarter,
  WaningCrescent
};

// A day that holds a principal phase takes its name; any other lies within one quarter of the
// moon's course and takes that quarter's: waxing crescent, waxing gibbous, waning gibbous, waning
// crescent.
PhaseName DayPhase(CivilDate origin, HourSpan day);
// The same from the day's principal phases and the moon's lead at any moment of the day.
PhaseName DayPhase(const std::vector<PhaseMoment>& principal, double lead);

// The same from a table's ephemeris, the principal phases found kept: a table's days of one month
// ask for the same new moon, each day again. Without an ephemeris (the functions above), from the
// series themselves.
class MoonPhases {
 public:
  // The ephemeris must outlive this.
  explicit MoonPhases(MoonEphemeris* ephemeris) : ephemeris_(ephemeris) {}

  std::vector<PhaseMoment> Principal(CivilDate origin, HourSpan span);
  MoonLight LightAt(CivilDate origin, double hours);
  PhaseName DayPhase(CivilDate origin, HourSpan day);

 private:
  GeocentricSky SkyAt(double julian_day);
  double LeadAt(double julian_day);
  double PhaseDay(long quarter);
  double SearchPhaseDay(long quarter);
  double NewMoonBefore(double julian_day);

  static constexpr std::size_t kKept = 8;
  struct Found {
    long quarter = 0;
    double day = 0;  // Julian Day (UT); 0: none yet
  };
  MoonEphemeris* ephemeris_;
  std::array<Found, kKept> found_{};
  std::size_t next_ = 0;
};

}  // namespace orvalin
