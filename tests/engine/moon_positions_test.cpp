// The moon's places at random places and moments of 2027 against an independent ephemeris
// (tools/make-moon-reference.py --positions): geocentric, topocentric, in the observer's sky, and
// its light.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "engine/moon_phases.h"
#include "engine/moon_sky.h"
#include "engine/sky_angles.h"
#include "tests/engine/reference_table.h"

namespace orvalin {
namespace {

// The arc between two places given by right ascension and declination, degrees.
double Arc(double ra1, double dec1, double ra2, double dec2) {
  const double a = RadiansOf(ra1 - ra2), d1 = RadiansOf(dec1), d2 = RadiansOf(dec2);
  return DegreesOf(std::atan2(
      std::hypot(std::cos(d2) * std::sin(a),
                 std::cos(d1) * std::sin(d2) - std::sin(d1) * std::cos(d2) * std::cos(a)),
      std::sin(d1) * std::sin(d2) + std::cos(d1) * std::cos(d2) * std::cos(a)));
}

struct Quantity {
  const char* name;
  const char* unit;
  double p95_limit, max_limit;
};

// ephem takes the moon's radius as 1740 km, the engine 1737.9 (k = 0.272481): 1" of the
// semi-diameter. The azimuth's error is the arc it makes on the sky.
constexpr Quantity kQuantities[] = {
    {"geocentric place", "\"", 6, 10},
    {"geocentric distance", "km", 7, 10},
    {"topocentric place", "\"", 6, 10},
    {"topocentric distance", "km", 7, 10},
    {"semi-diameter", "\"", 1.5, 1.5},
    {"azimuth", "\"", 6, 10},
    {"elevation", "\"", 6, 10},
    {"elongation", "\"", 6, 10},
    {"illuminated fraction", "", 5e-5, 1e-4},
};
constexpr std::size_t kCount = std::size(kQuantities);

// The errors of one line of the reference, in the order of kQuantities.
std::array<double, kCount> Errors(const Cells& row) {
  const auto cell = [&](const char* name) { return std::stod(row.at(name)); };
  const std::string& utc = row.at("utc");  // YYYY-MM-DDTHH:MM:SSZ
  const auto part = [&](std::size_t at) { return std::stoi(utc.substr(at, 2)); };
  const CivilDate date{part(8), part(5), std::stoi(utc.substr(0, 4))};
  const double hours = part(11) + part(14) / 60.0 + part(17) / kArcsecondsPerDegree;
  const MoonSky sky({Latitude(cell("latitude")), Longitude(cell("longitude_east")), cell("height")},
                    date);
  const moon::ApparentPlace geocentric = sky.Geocentric(hours);
  const MoonPosition topocentric = sky.At(hours);
  const MoonLight light = LightAt(date, hours);
  const double arcseconds = kArcsecondsPerDegree;
  return {
      Arc(geocentric.right_ascension, geocentric.declination, cell("ra"), cell("dec")) * arcseconds,
      std::fabs(geocentric.distance - cell("distance")),
      Arc(topocentric.right_ascension, topocentric.declination, cell("topocentric_ra"),
          cell("topocentric_dec")) *
          arcseconds,
      std::fabs(topocentric.distance - cell("topocentric_distance")),
      std::fabs(topocentric.semi_diameter - cell("semi_diameter")) * arcseconds,
      std::fabs(Within180(topocentric.azimuth - cell("azimuth"))) *
          std::cos(RadiansOf(topocentric.elevation)) * arcseconds,
      std::fabs(topocentric.elevation - cell("elevation")) * arcseconds,
      std::fabs(light.elongation - cell("elongation")) * arcseconds,
      std::fabs(light.illuminated - cell("illuminated")),
  };
}

TEST(MoonPositions, AgainstAnIndependentEphemeris) {
  const std::vector<Cells> rows = ReadReference(ORVALIN_MOON_POSITIONS);
  ASSERT_GE(rows.size(), 300u);
  std::vector<std::vector<double>> errors(kCount);
  for (const Cells& row : rows) {
    const std::array<double, kCount> e = Errors(row);
    for (std::size_t q = 0; q < kCount; ++q) errors[q].push_back(e[q]);
  }
  std::cout << "| quantity | median | 95th percentile | maximum |\n|---|---|---|---|\n";
  for (std::size_t q = 0; q < kCount; ++q) {
    const Quantity& k = kQuantities[q];
    const double p95 = Quantile(errors[q], 0.95), max = Quantile(errors[q], 1);
    std::cout << std::setprecision(3) << "| " << k.name << " | " << Quantile(errors[q], 0.5)
              << k.unit << " | " << p95 << k.unit << " | " << max << k.unit << " |\n";
    EXPECT_LE(p95, k.p95_limit) << k.name;
    EXPECT_LE(max, k.max_limit) << k.name;
  }
}

}  // namespace
}  // namespace orvalin
