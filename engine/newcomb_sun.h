// The sun of Newcomb's theory as the day's computation evaluates it: Julian Day, sidereal time,
// right ascension and declination, the hour angle of rise and set, the azimuth. Shared by the
// window's day and by the search for crossings over any span; inline, since each evaluation of
// the sun is the cost that counts.
#pragma once

#include <cmath>

#include "engine/helpers.h"
#include "engine/observer.h"

namespace orvalin::newcomb {

// Julian Day of the Gregorian date formula at 0 h UT, days.
inline constexpr double kJulianDayOffset = 1721028.5;
// Newcomb's epoch, 1900 January 0.5 (Julian Day), and the Julian century, days.
inline constexpr double kNewcombEpoch = 2415020;
inline constexpr double kDaysPerCentury = 36525;
inline constexpr double kHoursPerDay = 24;
inline constexpr double kDegreesPerHour = 15;

// Greenwich mean sidereal time at 0 h UT, hours: constant, per century, per century squared
// (Newcomb's expression, as in Meeus, Astronomical Formulae for Calculators, 1979, ch. 7).
inline constexpr double kSiderealAtEpoch = 6.6460656;
inline constexpr double kSiderealRate = 2400.051262;
inline constexpr double kSiderealAcceleration = 0.00002581;
// Sidereal hours per solar hour.
inline constexpr double kSiderealPerSolar = 1.002737908;
// A sidereal day in solar hours: the span of universal time over which the sidereal time of a
// day, counted from that of 0 h UT, stays below 24 hours.
inline constexpr double kSiderealDayHours = kHoursPerDay / kSiderealPerSolar;

// The sun's coordinates below are Newcomb's theory (Tables of the Sun, 1895) in the low-precision
// form of Meeus, Astronomical Formulae for Calculators (1979), ch. 18, time in Julian centuries
// from 1900 January 0.5.
// Newcomb's mean longitude of the sun, degrees: constant, per century, per century squared.
inline constexpr double kMeanLongitude0 = 279.69668;
inline constexpr double kMeanLongitude1 = 36000.76892;
inline constexpr double kMeanLongitude2 = 0.0003025;
// Newcomb's mean anomaly of the sun, degrees, up to the cube of the centuries.
inline constexpr double kMeanAnomaly0 = 358.47583;
inline constexpr double kMeanAnomaly1 = 35999.04975;
inline constexpr double kMeanAnomaly2 = 0.000151;
inline constexpr double kMeanAnomaly3 = 0.0000033;
// Newcomb's equation of the centre, degrees: first term and its two secular changes, second
// term and its change, third term.
inline constexpr double kCentre1 = 1.91946;
inline constexpr double kCentre1Rate = 0.004789;
inline constexpr double kCentre1Acceleration = 0.000014;
inline constexpr double kCentre2 = 0.020094;
inline constexpr double kCentre2Rate = 0.0001;
inline constexpr double kCentre3 = 0.000293;
// Newcomb's obliquity of the ecliptic, degrees. The cubic coefficient is a single-precision
// constant; its double value is 5.030000238548382e-7.
inline constexpr double kObliquity0 = 23.452294;
inline constexpr double kObliquity1 = 0.0130125;
inline constexpr double kObliquity2 = 0.00000164;
inline constexpr double kObliquity3 = static_cast<double>(0.000000503f);

// Julian Day at 0 h UT of a Gregorian date. Linear in the day, so a day past the month's end
// runs on into the next month.
inline double JulianDay(CivilDate date) {
  const double d = date.day, m = date.month, y = date.year;
  const int k = (date.month - 9) / 7;  // truncated towards zero: -1 in January and February
  return 367 * y - std::floor(1.75 * (y + std::floor((m + 9) / 12))) -
         std::floor(0.75 * (std::floor(0.01 * (y + k)) + 1)) + std::floor(275 * m / 9) + d +
         kJulianDayOffset;
}

// Julian centuries from Newcomb's epoch to a Julian Day.
inline double CenturiesFromEpoch(double julian_day) {
  return (julian_day - kNewcombEpoch) / kDaysPerCentury;
}

// Greenwich sidereal time at 0 h UT, hours in [0, 24), `t0` in centuries from the epoch.
inline double SiderealAtMidnight(double t0) {
  const double s0 = kSiderealRate * t0 + kSiderealAtEpoch + kSiderealAcceleration * t0 * t0;
  return s0 - kHoursPerDay * std::floor(s0 / kHoursPerDay);
}

// The degree helpers' own arithmetic (divide by 180, multiply by pi; arctangent, divide by pi,
// multiply by 180), written out here so that one angle is converted once and its sine and
// cosine share a single call.
inline double Radians(double degrees) { return degrees / 180 * kPi15; }
inline double ArctanDegrees(double x) { return std::atan(x) / kPi15 * 180; }

// An angle brought into [-180, 180), as the searches for crossings take hour angles.
inline double CentredDegrees(double degrees) {
  return degrees - 360 * std::floor((degrees + 180) / 360);
}

struct SineCosine {
  double sin, cos;
};
inline SineCosine SinCosDeg(double degrees) {
  const double r = Radians(degrees);
  return {std::sin(r), std::cos(r)};
}

// What the place contributes to every evaluation of the sun, computed once. The method counts
// longitudes West positive.
struct Place {
  double longitude_west;
  double latitude;
  double sin_latitude;
  double cos_latitude;
  double sin_horizon;
};

inline Place MakePlace(const Observer& observer) {
  const double latitude = observer.latitude.Degrees();
  const SineCosine l = SinCosDeg(latitude);
  return {observer.longitude.West(), latitude, l.sin, l.cos, std::sin(Radians(observer.horizon))};
}

// The sun at one moment: right ascension and declination, degrees, and the hour angle at which
// it crosses the horizon altitude.
struct Sun {
  double alpha;
  double delta;
  double rise_set_hour_angle;
};

// From the mean geometric place of the theory to the apparent place, degrees: the aberration and
// the main term of the nutation, in longitude, in obliquity, and in sidereal time (the equation
// of the equinoxes). Meeus, Astronomical Algorithms (1998), ch. 22 and 25, low accuracy.
struct ApparentShift {
  double longitude = 0, obliquity = 0, sidereal = 0;
};
inline constexpr double kAberration = -0.00569;         // degrees of longitude
inline constexpr double kNutationLongitude = -0.00478;  // degrees, times the sine of the node
inline constexpr double kNutationObliquity = 0.00256;   // degrees, times its cosine
inline constexpr double kNode0 = 125.04;                // the Moon's node at J2000.0, degrees
inline constexpr double kNodeRate = -1934.136;          // degrees a century
inline constexpr double kCenturiesEpochToJ2000 = 1.0;   // from 1900 January 0.5 to J2000.0
inline constexpr double kMeanObliquityJ2000 = 23.4393;  // degrees, enough for the shift

inline ApparentShift ApparentShiftAt(double t) {
  const SineCosine node = SinCosDeg(kNode0 + kNodeRate * (t - kCenturiesEpochToJ2000));
  const double nutation = kNutationLongitude * node.sin;
  return {kAberration + nutation, kNutationObliquity * node.cos,
          nutation * std::cos(Radians(kMeanObliquityJ2000))};
}

// Right ascension and declination from Newcomb's theory, t in Julian centuries since the epoch;
// with a shift, of the apparent place (the day's computation takes the mean one, bit for bit).
inline void Equatorial(double t, Sun& sun, const ApparentShift* shift = nullptr) {
  const double mean_longitude = kMeanLongitude1 * t + kMeanLongitude0 + kMeanLongitude2 * t * t;
  const double anomaly =
      kMeanAnomaly1 * t + kMeanAnomaly0 - kMeanAnomaly2 * t * t - kMeanAnomaly3 * t * t * t;
  double longitude =
      (kCentre1 - kCentre1Rate * t - kCentre1Acceleration * t * t) * std::sin(Radians(anomaly)) +
      mean_longitude + (kCentre2 - kCentre2Rate * t) * std::sin(Radians(2 * anomaly)) +
      kCentre3 * std::sin(Radians(3 * anomaly));
  const double t2 = t * t;
  const double t3 = t * t * t;
  double epsilon = kObliquity0 - kObliquity1 * t - kObliquity2 * t2 + kObliquity3 * t3;
  if (shift) {
    longitude += shift->longitude;
    epsilon += shift->obliquity;
  }
  const SineCosine obliquity = SinCosDeg(epsilon);

  const double r = Radians(longitude);
  // The declination first: the rest of the pass waits on it, the right ascension only at its end.
  const double sin_longitude = std::sin(r);
  // |s| <= sin(obliquity), below 0.7 for any 16-bit date: the root is always of a positive number.
  const double s = obliquity.sin * sin_longitude;
  sun.delta = ArctanDegrees(s / std::sqrt(1 - s * s));
  const double tan_longitude = std::tan(r);
  sun.alpha = ArctanDegrees(obliquity.cos * tan_longitude);
  // Only the cosine's sign counts, and it is negative exactly when sine and tangent differ in
  // sign (both are 0 only at r = 0, where the cosine is 1): no third call.
  if ((sin_longitude < 0) != (tan_longitude < 0)) sun.alpha += 180;
}

// The cosine of the hour angle at which the sun of declination `delta` crosses the horizon
// altitude: below -1 it never sets, above 1 it never rises.
inline double HorizonCosine(const Place& place, double delta) {
  const SineCosine declination = SinCosDeg(delta);
  return (place.sin_horizon - place.sin_latitude * declination.sin) / place.cos_latitude /
         declination.cos;
}

// arccos in degrees of a cosine within [-1, 1], by the arctangent as the method writes it.
inline double HourAngleOfCosine(double x) {
  if (x == 1 || x == -1) return x == 1 ? 0 : 180;  // where the tangent form divides by 0
  return 90 - ArctanDegrees(x / std::sqrt(1 - x * x));
}

// Azimuth from the north through the east, in [0, 360), of the sun (or of any body of its
// declination) at a local hour angle.
inline double TrueAzimuth(const Place& place, const Sun& sun, double hour_angle) {
  const SineCosine h = SinCosDeg(hour_angle);
  const double y = h.sin;
  const double x = h.cos * place.sin_latitude - std::tan(Radians(sun.delta)) * place.cos_latitude;
  double azimuth = std::atan2(y, x) / kPi15 * 180 + 180;  // atan2 counts from the south
  if (azimuth >= 360) azimuth -= 360;
  if (azimuth < 0) azimuth += 360;
  return azimuth;
}

}  // namespace orvalin::newcomb
