#include "engine/moon_theory.h"

#include <array>
#include <cmath>

#include "engine/moon_terms.h"
#include "engine/sky_angles.h"

namespace orvalin::moon {
namespace {

// The fundamental arguments (Meeus eqs. 47.1 to 47.5), degrees: constant, per century, per
// century squared, and the divisors of the cube and the fourth power of the centuries (0: none).
struct Polynomial {
  double c0, c1, c2, cube_divisor, fourth_divisor;

  double At(double t) const {
    double sum = c0 + t * (c1 + t * c2);
    if (cube_divisor != 0) sum += t * t * t / cube_divisor;
    if (fourth_divisor != 0) sum += t * t * t * t / fourth_divisor;
    return sum;
  }
};
constexpr Polynomial kMeanLongitude{218.3164477, 481267.88123421, -0.0015786, 538841, -65194000};
constexpr Polynomial kElongation{297.8501921, 445267.1114034, -0.0018819, 545868, -113065000};
constexpr Polynomial kSunAnomaly{357.5291092, 35999.0502909, -0.0001536, 24490000, 0};
constexpr Polynomial kMoonAnomaly{134.9633964, 477198.8675055, 0.0087414, 69699, -14712000};
constexpr Polynomial kLatitudeArgument{93.2720950, 483202.0175233, -0.0036539, -3526000, 863310000};
// The arguments of the action of Venus (A1), of Jupiter (A2) and of the flattening of the Earth
// (A3), degrees and degrees per century.
constexpr Polynomial kVenus{119.75, 131.849, 0, 0, 0};
constexpr Polynomial kJupiter{53.09, 479264.290, 0, 0, 0};
constexpr Polynomial kFlattening{313.45, 481266.484, 0, 0, 0};
// The eccentricity factor of the Earth's orbit, E = 1 - 0.002516 T - 0.0000074 T^2 (eq. 47.6).
constexpr double kEccentricity1 = -0.002516, kEccentricity2 = -0.0000074;
// The additive terms, millionths of a degree: of the longitude, in A1, L' - F and A2; of the
// latitude, in L', A3, A1 - F, A1 + F, L' - M' and L' + M'.
constexpr double kLongitudeA1 = 3958, kLongitudeLF = 1962, kLongitudeA2 = 318;
constexpr double kLatitudeL = -2235, kLatitudeA3 = 382, kLatitudeA1F = 175, kLatitudeLM = 127,
                 kLatitudeLPlusM = -115;
constexpr double kTermUnit = 1e-6;           // degree
constexpr double kDistanceUnit = 1e-3;       // km
constexpr double kMeanDistance = 385000.56;  // km

// The multiples -4 to 4 of an argument, index 4 for none.
constexpr int kMaxMultiple = 4;
using MultiplesOf = std::array<Turn, 2 * kMaxMultiple + 1>;

// Each multiple also scaled by `scale` once per multiple: the eccentricity factor E rides on the
// multiples of M, so that the product of the arguments carries it.
MultiplesOf Multiply(const Turn& one, double scale = 1) {
  const Turn step{one.cos * scale, one.sin * scale};
  MultiplesOf m;
  m[kMaxMultiple] = Turn{};
  for (int k = 1; k <= kMaxMultiple; ++k) {
    m[kMaxMultiple + k] = m[kMaxMultiple + k - 1] * step;
    m[kMaxMultiple - k] = m[kMaxMultiple + k].Reversed();
  }
  return m;
}

// The tables name D from 0 to 4, M from -2 to 2, M' from -4 to 4 and F from -3 to 3.
constexpr int kMaxD = 4, kMaxM = 2, kMaxF = 3;

// The multiples of each of the four arguments, by name.
struct ArgumentMultiples {
  MultiplesOf d, m, m_moon, f;
};

// Every sum of multiples of D and M, and of M' and F, that the tables may name: a term is then
// one product of two turns rather than of four.
struct Arguments {
  std::array<std::array<Turn, 2 * kMaxM + 1>, kMaxD + 1> d_m;
  std::array<std::array<Turn, 2 * kMaxF + 1>, 2 * kMaxMultiple + 1> moon_f;

  explicit Arguments(const ArgumentMultiples& x) {
    for (int i = 0; i <= kMaxD; ++i) {
      for (int j = -kMaxM; j <= kMaxM; ++j) {
        d_m[i][j + kMaxM] = x.d[i + kMaxMultiple] * x.m[j + kMaxMultiple];
      }
    }
    for (int i = -kMaxMultiple; i <= kMaxMultiple; ++i) {
      for (int j = -kMaxF; j <= kMaxF; ++j) {
        moon_f[i + kMaxMultiple][j + kMaxF] = x.m_moon[i + kMaxMultiple] * x.f[j + kMaxMultiple];
      }
    }
  }
  Turn Of(const Multiples& k) const {
    return d_m[k.d][k.m + kMaxM] * moon_f[k.m_moon + kMaxMultiple][k.f + kMaxF];
  }
};

}  // namespace

EclipticPlace MeanPlace(double t) {
  const Turn d = Turn::OfDegrees(kElongation.At(t)), m = Turn::OfDegrees(kSunAnomaly.At(t));
  const Turn m_moon = Turn::OfDegrees(kMoonAnomaly.At(t));
  const Turn f = Turn::OfDegrees(kLatitudeArgument.At(t));
  const double e = 1 + t * (kEccentricity1 + t * kEccentricity2);
  const Arguments a(
      {.d = Multiply(d), .m = Multiply(m, e), .m_moon = Multiply(m_moon), .f = Multiply(f)});

  double longitude = 0, distance = 0, latitude = 0;
  for (const LongitudeDistanceTerm& term : kLongitudeDistanceTerms) {
    const Turn x = a.Of(term.of);
    longitude += term.longitude * x.sin;
    distance += term.distance * x.cos;
  }
  for (const LatitudeTerm& term : kLatitudeTerms) latitude += term.latitude * a.Of(term.of).sin;

  const double mean_longitude = kMeanLongitude.At(t);
  const Turn l = Turn::OfDegrees(mean_longitude), a1 = Turn::OfDegrees(kVenus.At(t));
  longitude += kLongitudeA1 * a1.sin + kLongitudeLF * (l * f.Reversed()).sin +
               kLongitudeA2 * Turn::OfDegrees(kJupiter.At(t)).sin;
  latitude += kLatitudeL * l.sin + kLatitudeA3 * Turn::OfDegrees(kFlattening.At(t)).sin +
              kLatitudeA1F * ((a1 * f.Reversed()).sin + (a1 * f).sin) +
              kLatitudeLM * (l * m_moon.Reversed()).sin + kLatitudeLPlusM * (l * m_moon).sin;
  return {Within360(mean_longitude + longitude * kTermUnit), latitude * kTermUnit,
          kMeanDistance + distance * kDistanceUnit};
}

ApparentPlace ApparentAt(double t, const Nutation& nutation) {
  const EclipticPlace mean = MeanPlace(t);
  const double longitude = Within360(mean.longitude + nutation.longitude);
  const Turn l = Turn::OfDegrees(longitude), b = Turn::OfDegrees(mean.latitude);
  const Turn e = Turn::OfDegrees(nutation.TrueObliquity());
  // The direction on the true equator: the ecliptic turned about the equinox by the obliquity.
  const double x = b.cos * l.cos;
  const double y = b.cos * l.sin * e.cos - b.sin * e.sin;
  const double z = b.cos * l.sin * e.sin + b.sin * e.cos;
  return {longitude,
          mean.latitude,
          mean.distance,
          Within360(DegreesOf(std::atan2(y, x))),
          DegreesOf(std::asin(z)),  // the moon stays within 30 degrees of the equator
          DegreesOf(std::asin(kEarthRadius / mean.distance))};
}

}  // namespace orvalin::moon
