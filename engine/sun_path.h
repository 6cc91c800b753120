// The sun's centre crossing an altitude, its place at a moment, and the refraction and dip of the
// horizon that its altitudes are reckoned with.
#pragma once

#include "engine/body_path.h"
#include "engine/newcomb_sun.h"
#include "engine/observer.h"

namespace orvalin {

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

// The sun as the crossing search takes it: Newcomb's mean place, on which the events were checked
// against the window's method, at an observer whose horizon is the altitude crossed.
class SunPath : public Body {
 public:
  // Times are counted in hours from 0 h UT of this Gregorian date; any span of some days around
  // it may be asked about.
  SunPath(const Observer& observer, CivilDate date);

  BodyPlace At(double hours) const override;
  BodyPace Pace() const override;
  // The apparent place (aberration and nutation taken in), geometric elevation: the events keep
  // the mean place of the window's method, which they were checked against.
  SunPosition PositionAt(double hours) const;

 private:
  BodyPlace At(double hours, newcomb::Sun& sun, const newcomb::ApparentShift* shift) const;

  newcomb::Place place_;
  double t0_;
  double s0_;
};

}  // namespace orvalin
