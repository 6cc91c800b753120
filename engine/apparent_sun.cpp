#include "engine/apparent_sun.h"

#include <cmath>
#include <cstddef>
#include <span>

#include "engine/sky_angles.h"
#include "engine/vsop87_earth.h"

namespace orvalin {
namespace {

constexpr double kCenturiesPerMillennium = 10;
constexpr double kSeriesUnit = 1e-8;  // radian or au
// The IAU 2012 astronomical unit, km.
constexpr double kKilometresPerAu = 149597870.7;
// From the dynamical equinox of VSOP87 to FK5 in longitude (Meeus eq. 32.3; its part in the
// latitude, below 0.01" for the sun, is left out), arcseconds.
constexpr double kFk5Shift = -0.09033;
// The constant of aberration as it acts on the sun's longitude, arcseconds times au.
constexpr double kAberration = -20.4898;

double Series(std::span<const std::span<const vsop87::Term>> series, double tau) {
  double sum = 0;
  for (std::size_t k = series.size(); k-- > 0;) {
    double part = 0;
    for (const vsop87::Term& term : series[k]) part += term.a * std::cos(term.b + term.c * tau);
    sum = sum * tau + part;
  }
  return sum * kSeriesUnit;
}

}  // namespace

SunPlace ApparentSun(double t, const Nutation& nutation) {
  const double tau = t / kCenturiesPerMillennium;
  const double radius = Series(vsop87::kRadius, tau);
  // The sun seen from the Earth stands opposite the Earth seen from the sun.
  const double geometric = DegreesOf(Series(vsop87::kLongitude, tau)) + 180;
  const double arcseconds = kFk5Shift + kAberration / radius;
  return {Within360(geometric + nutation.longitude + arcseconds / kArcsecondsPerDegree),
          radius * kKilometresPerAu};
}

}  // namespace orvalin
