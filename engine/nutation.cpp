#include "engine/nutation.h"

#include <cmath>

#include "engine/sky_angles.h"

namespace orvalin {
namespace {

// Meeus ch. 22, degrees and degrees per Julian century: the longitude of the moon's ascending
// node, and the mean longitudes of the sun and of the moon.
constexpr double kNode0 = 125.04452, kNode1 = -1934.136261, kNode2 = 0.0020708;
constexpr double kNodeCubeDivisor = 450000;
constexpr double kSunLongitude0 = 280.4665, kSunLongitude1 = 36000.7698;
constexpr double kMoonLongitude0 = 218.3165, kMoonLongitude1 = 481267.8813;

// The main terms, arcseconds: of the sines of the node, twice the sun's and the moon's mean
// longitudes and twice the node in longitude; of their cosines in obliquity.
constexpr double kPsiNode = -17.20, kPsiSun = -1.32, kPsiMoon = -0.23, kPsiTwoNodes = 0.21;
constexpr double kEpsNode = 9.20, kEpsSun = 0.57, kEpsMoon = 0.10, kEpsTwoNodes = -0.09;

// The mean obliquity (Meeus eq. 22.2): 23 deg 26' 21.448", then arcseconds per century up to the
// cube.
constexpr double kObliquity0 = 23 + 26 / 60.0 + 21.448 / 3600;
constexpr double kObliquity1 = -46.8150, kObliquity2 = -0.00059, kObliquity3 = 0.001813;

}  // namespace

double Nutation::EquinoxEquation() const {
  return longitude * std::cos(RadiansOf(TrueObliquity()));
}

Nutation NutationAt(double t) {
  const double node = RadiansOf(kNode0 + t * (kNode1 + t * (kNode2 + t / kNodeCubeDivisor)));
  const double sun = 2 * RadiansOf(kSunLongitude0 + kSunLongitude1 * t);
  const double moon = 2 * RadiansOf(kMoonLongitude0 + kMoonLongitude1 * t);
  const double psi = kPsiNode * std::sin(node) + kPsiSun * std::sin(sun) +
                     kPsiMoon * std::sin(moon) + kPsiTwoNodes * std::sin(2 * node);
  const double eps = kEpsNode * std::cos(node) + kEpsSun * std::cos(sun) +
                     kEpsMoon * std::cos(moon) + kEpsTwoNodes * std::cos(2 * node);
  const double mean =
      kObliquity0 + t * (kObliquity1 + t * (kObliquity2 + t * kObliquity3)) / kArcsecondsPerDegree;
  return {psi / kArcsecondsPerDegree, eps / kArcsecondsPerDegree, mean};
}

}  // namespace orvalin
