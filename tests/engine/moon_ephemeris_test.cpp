// The tabulated moon and sun against their series, every few minutes of four days around dates of
// four centuries: Delta T's model changes its formula at 1900.0, a kink the polynomial rounds
// off; the right ascension crosses 0 h on 7 March 2027; 9999 is the calendar's last year, where
// the series' own last digits wander (the sun's distance by kilometres).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/moon_ephemeris.h"
#include "engine/newcomb_sun.h"
#include "engine/sky_angles.h"

namespace orvalin {
namespace {

constexpr double kArcsecondsPerDegree = 3600;

// The angle between two vectors, arcseconds.
double ArcSeconds(const MoonVector& a, const MoonVector& b) {
  const double cx = a.y * b.z - a.z * b.y, cy = a.z * b.x - a.x * b.z, cz = a.x * b.y - a.y * b.x;
  const double dot = a.x * b.x + a.y * b.y + a.z * b.z;
  return DegreesOf(std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), dot)) * kArcsecondsPerDegree;
}

TEST(MoonEphemeris, InterpolatedAsTheSeries) {
  constexpr double kStepDays = 0.0049, kDays = 4;
  const struct {
    CivilDate date;
    double arcseconds;  // of the moon's place, at most
  } cases[] = {{{1, 1, 1900}, 0.1}, {{7, 3, 2027}, 0.05}, {{28, 2, 2100}, 0.05},
               {{1, 7, 9999}, 0.1}};
  for (const auto& c : cases) {
    MoonEphemeris ephemeris;
    double moon = 0, km = 0, lon = 0, lat = 0, sun = 0, sun_km = 0;
    const double start = newcomb::JulianDay(c.date) - kDays / 2;
    for (double jd = start; jd < start + kDays; jd += kStepDays) {
      const GeocentricSky a = ephemeris.At(jd), b = GeocentricSkyAt(jd);
      moon = std::max(moon, ArcSeconds(a.moon, b.moon));
      km = std::max(km, std::fabs(a.MoonDistance() - b.MoonDistance()));
      lon = std::max(lon, std::fabs(Within180(a.moon_longitude - b.moon_longitude)));
      lat = std::max(lat, std::fabs(a.moon_latitude - b.moon_latitude));
      sun = std::max(sun, std::fabs(Within180(a.sun_longitude - b.sun_longitude)));
      sun_km = std::max(sun_km, std::fabs(a.sun_distance - b.sun_distance));
      EXPECT_NEAR(a.moon.equinox_equation, b.moon.equinox_equation, 1e-7);
    }
    EXPECT_LE(moon, c.arcseconds) << c.date.year;
    EXPECT_LE(km, 0.2) << c.date.year;
    EXPECT_LE(lon * kArcsecondsPerDegree, c.arcseconds) << c.date.year;
    EXPECT_LE(lat * kArcsecondsPerDegree, c.arcseconds) << c.date.year;
    // Four days apart, the sun's entries round off the nutation's term of half a month, 0.2".
    EXPECT_LE(sun * kArcsecondsPerDegree, 0.05) << c.date.year;
    EXPECT_LE(sun_km, 10) << c.date.year;
  }
}

}  // namespace
}  // namespace orvalin
