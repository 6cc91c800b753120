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
constexpr int kTransitSteps = 2;
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
      dip_(HorizonDip(observer.height)),
      limb_(Turn::OfDegrees(kMoonLimbAltitude - dip_)) {
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
  return Seen(hours, MoonVectorAt(JulianDayAt(julian_day_, hours)));
}

// The vector turned by the local sidereal time s: x = X cos s + Y sin s, y = X sin s - Y cos s.
MoonSky::Frame MoonSky::FrameAt(double hours, const MoonVector& moon) const {
  const double sidereal =
      newcomb::kDegreesPerHour * (sidereal0_ + newcomb::kSiderealPerSolar * hours) +
      moon.equinox_equation + longitude_;
  const Turn s = Turn::OfDegrees(sidereal);
  return {sidereal, moon.x * s.cos + moon.y * s.sin - rho_cos_, moon.x * s.sin - moon.y * s.cos,
          moon.z - rho_sin_};
}

MoonPosition MoonSky::Seen(double hours, const MoonVector& moon) const {
  const auto [sidereal, x, y, z] = FrameAt(hours, moon);
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

// The sine of the horizon altitude, the limb's less the semi-diameter s, from sin s = k / distance,
// without the azimuth and elevation the search does not use.
BodyPlace MoonSky::PlaceForSearch(double hours, const MoonVector& moon) const {
  const auto [sidereal, x, y, z] = FrameAt(hours, moon);
  const double across = std::sqrt(x * x + y * y), distance = std::sqrt(across * across + z * z);
  const double sin_s = kMoonRadius / distance;
  const double cos_s = std::sqrt(1 - sin_s * sin_s);
  // The declination by its tangent alone: the moon is never at the pole.
  return {Within180(DegreesOf(std::atan2(y, x))),
          DegreesOf(std::atan(z / across)),
          limb_.sin * cos_s - limb_.cos * sin_s,
          z / distance,
          across / distance,
          x / across};
}

MoonVector MoonPath::VectorAt(double hours) const {
  return ephemeris_.VectorAt(JulianDayAt(sky_.JulianDay(), hours));
}

BodyPlace MoonPath::At(double hours) const {
  return sky_.PlaceForSearch(hours, VectorAt(hours));
}

MoonPosition MoonPath::PositionAt(double hours) const {
  return sky_.Seen(hours, VectorAt(hours));
}

BodyPace MoonPath::Pace() const {
  return {kMoonPace, kTransitSteps, kCulminationSteps, kHourAngleSteps};
}

}  // namespace orvalin
