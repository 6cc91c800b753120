#include "engine/moon_sky.h"

#include <cmath>

#include "engine/delta_t.h"
#include "engine/newcomb_sun.h"
#include "engine/sky_angles.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

// The flattening of the WGS-84 ellipsoid; the polar radius is (1 - f) times the equatorial one.
constexpr double kFlattening = 1 / 298.257223563;
constexpr double kMetresPerKm = 1000;
// The moon's radius in Earth radii (the IAU value, Meeus ch. 55: k = 0.272481).
constexpr double kMoonRadius = 0.272481;

// The moon's mean pace across the sky in sidereal hours per solar hour: the stars' less its own
// course of 24 sidereal hours in a sidereal month (27.321661 days, Meeus ch. 49).
constexpr double kSiderealMonthDays = 27.321661;
constexpr double kMoonPace = newcomb::kSiderealPerSolar - 1 / kSiderealMonthDays;
// Its right ascension runs up to half as fast again as on average, or half as slow: each step to
// a transit gains under two digits.
constexpr int kTransitSteps = 3;
constexpr int kCulminationSteps = 8;
// Steps of the hour angle of rise and set: its declination, which moves up to 0.3 degrees an
// hour, slows them too.
constexpr int kHourAngleSteps = 10;

double JulianDayAt(double julian_day, double hours) {
  return julian_day + hours / newcomb::kHoursPerDay;
}

}  // namespace

MoonSky::MoonSky(const MoonObserver& observer, CivilDate date)
    : julian_day_(newcomb::JulianDay(date)),
      sidereal0_(newcomb::SiderealAtMidnight(newcomb::CenturiesFromEpoch(julian_day_))),
      longitude_(observer.longitude.East()),
      dip_(HorizonDip(observer.height)) {
  const Turn phi = Turn::OfDegrees(observer.latitude.Degrees());
  sin_latitude_ = phi.sin;
  cos_latitude_ = phi.cos;
  // The reduced latitude u: tan u = (1 - f) tan phi, the point of the ellipsoid's meridian.
  const double u = std::atan2((1 - kFlattening) * phi.sin, phi.cos);
  const double h = observer.height / kMetresPerKm / moon::kEarthRadius;
  rho_sin_ = (1 - kFlattening) * std::sin(u) + h * phi.sin;
  rho_cos_ = std::cos(u) + h * phi.cos;
}

moon::ApparentPlace MoonSky::Geocentric(double hours) const {
  const double t = TerrestrialCenturies(JulianDayAt(julian_day_, hours));
  return moon::ApparentAt(t, NutationAt(t));
}

MoonPosition MoonSky::At(double hours) const {
  const double t = TerrestrialCenturies(JulianDayAt(julian_day_, hours));
  const Nutation nutation = NutationAt(t);
  const moon::ApparentPlace moon = moon::ApparentAt(t, nutation);
  const double sidereal =
      newcomb::kDegreesPerHour * (sidereal0_ + newcomb::kSiderealPerSolar * hours) +
      nutation.EquinoxEquation() + longitude_;
  // In Earth radii, in the frame of the observer's meridian: x towards the equator's point on
  // it, y towards the west, z towards the north pole; the observer's place taken away.
  const Turn h = Turn::OfDegrees(sidereal - moon.right_ascension);
  const Turn d = Turn::OfDegrees(moon.declination);
  const double r = moon.distance / moon::kEarthRadius;
  const double x = r * d.cos * h.cos - rho_cos_, y = r * d.cos * h.sin, z = r * d.sin - rho_sin_;
  // Square roots rather than hypot, three times slower: no value here comes near overflow.
  const double across = std::sqrt(x * x + y * y), distance = std::sqrt(across * across + z * z);
  // The same in the observer's horizon: up along the ellipsoid's normal, north, east.
  const double up = cos_latitude_ * x + sin_latitude_ * z;
  const double north = cos_latitude_ * z - sin_latitude_ * x;
  const double semi_diameter = DegreesOf(std::asin(kMoonRadius / distance));
  const double hour_angle = DegreesOf(std::atan2(y, x));
  return {Within360(sidereal - hour_angle),
          DegreesOf(std::atan2(z, across)),
          distance * moon::kEarthRadius,
          semi_diameter,
          Within180(hour_angle),
          Within360(DegreesOf(std::atan2(-y, north))),
          DegreesOf(std::atan2(up, std::sqrt(north * north + y * y))),
          kMoonLimbAltitude - semi_diameter - dip_};
}

BodyPlace MoonPath::At(double hours) const {
  const MoonPosition p = sky_.At(hours);
  return {p.hour_angle, p.declination, std::sin(newcomb::Radians(p.horizon))};
}

BodyPace MoonPath::Pace() const {
  return {kMoonPace, kTransitSteps, kCulminationSteps, kHourAngleSteps};
}

}  // namespace orvalin
