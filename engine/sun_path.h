// The sun's centre crossing an altitude over any span of time: the events of a day on any clock,
// however it straddles universal days, and however close two crossings come near the poles.
#pragma once

#include <vector>

#include "engine/newcomb_sun.h"
#include "engine/observer.h"

namespace orvalin {

struct SunCrossing {
  double hours;    // from 0 h UT of the path's date
  bool rising;     // upwards (sunrise, dawn) or downwards (sunset, dusk)
  double azimuth;  // degrees, true, from the north through the east
};

// Where the sun stands at a moment, degrees: azimuth from the north through the east, and the
// geometric elevation of its centre (no refraction).
struct SunPosition {
  double azimuth;
  double elevation;
};

// The elevation that refraction shows for a geometric one, degrees, in the standard atmosphere of
// 10 degrees Celsius and 1010 hPa (Saemundsson's formula) down to -1.9 degrees, where the formula
// stops holding; below, the refraction fades smoothly to none at -4 degrees.
double ApparentElevation(double geometric);

// The dip of the horizon, arcminutes per square root of a metre, with standard refraction
// (the dip table of the Nautical Almanac: D = 1.76 arcminutes times the root of the height in m).
inline constexpr double kDipPerRootMetre = 1.76;

// How far below the astronomical horizon an observer `metres` above the ground sees it, degrees:
// kDipPerRootMetre arcminutes times the square root of the height.
double HorizonDip(double metres);

class SunPath {
 public:
  // Times are counted in hours from 0 h UT of this Gregorian date; any span of some days around
  // it may be asked about. The observer's horizon is the altitude of the crossings.
  SunPath(const Observer& observer, CivilDate date);

  // Every crossing of the horizon altitude within [from, to), in order.
  std::vector<SunCrossing> Crossings(double from, double to) const;
  // Every upper transit of the sun (its culmination) within the span, in order.
  std::vector<double> Culminations(HourSpan span) const;
  // Whether the sun's centre stands above the horizon altitude at `hours`.
  bool Up(double hours) const;
  // The apparent place (aberration and nutation taken in), geometric elevation: the events keep
  // the mean place of the window's method, which they were checked against.
  SunPosition PositionAt(double hours) const;

 private:
  struct Moment {
    double hours;
    double height;  // sine of the altitude less that of the horizon altitude
    newcomb::Sun sun;
    double hour_angle;  // local, degrees
  };
  // Which transit: the upper one (hour angle 0, the sun at its highest) or the lower (180).
  enum class Meridian { Upper, Lower };
  static Meridian Opposite(Meridian meridian);
  // Two transits in turn, the earlier `low`, with the horizon altitude between their heights.
  struct Transits {
    Moment low, high;
  };
  Moment At(double hours, bool apparent = false) const;
  Moment Transit(double guess, Meridian meridian) const;
  SunCrossing Between(const Transits& transits) const;
  SunCrossing Bracketed(const Transits& transits) const;

  newcomb::Place place_;
  double t0_;
  double s0_;
};

}  // namespace orvalin
