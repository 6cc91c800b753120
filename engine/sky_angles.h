// Angles of the moon's computation, in the full precision of doubles (the sun's day keeps its
// own 15-digit pi, on which its displayed seconds depend).
#pragma once

#include <cmath>
#include <numbers>

namespace orvalin {

inline constexpr double kArcsecondsPerDegree = 3600;
inline constexpr double kMinutesOfArcPerDegree = 60;

inline double RadiansOf(double degrees) { return degrees * (std::numbers::pi / 180); }
inline double DegreesOf(double radians) { return radians * (180 / std::numbers::pi); }

// An angle brought into [0, 360) (by floor, several times quicker than fmod).
inline double Within360(double degrees) {
  const double r = degrees - 360 * std::floor(degrees / 360);
  return r >= 360 ? r - 360 : r;  // a tiny negative angle rounds up to 360
}

// An angle brought into [-180, 180).
inline double Within180(double degrees) {
  const double r = Within360(degrees);
  return r >= 180 ? r - 360 : r;
}

// A direction in a plane as its cosine and sine: turns add by multiplying, so the multiples of
// one angle and their sums cost no further sine.
struct Turn {
  double cos = 1, sin = 0;

  static Turn OfDegrees(double degrees) {
    const double r = RadiansOf(Within360(degrees));
    return {std::cos(r), std::sin(r)};
  }
  Turn operator*(const Turn& o) const {
    return {cos * o.cos - sin * o.sin, sin * o.cos + cos * o.sin};
  }
  Turn Reversed() const { return {cos, -sin}; }
};

}  // namespace orvalin
