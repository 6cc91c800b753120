#include "engine/sun_day.h"

#include <cmath>

#include "engine/helpers.h"

namespace orvalin {
namespace {

// Julian Day of the Gregorian date formula at 0 h UT, days.
constexpr double kJulianDayOffset = 1721028.5;
// Newcomb's epoch, 1900 January 0.5 (Julian Day), and the Julian century, days.
constexpr double kNewcombEpoch = 2415020;
constexpr double kDaysPerCentury = 36525;
constexpr double kHoursPerDay = 24;

// Greenwich mean sidereal time at 0 h UT, hours: constant, per century, per century squared.
constexpr double kSiderealAtEpoch = 6.6460656;
constexpr double kSiderealRate = 2400.051262;
constexpr double kSiderealAcceleration = 0.00002581;
// Sidereal hours per solar hour.
constexpr double kSiderealPerSolar = 1.002737908;

// Newcomb's mean longitude of the sun, degrees: constant, per century, per century squared.
constexpr double kMeanLongitude0 = 279.69668;
constexpr double kMeanLongitude1 = 36000.76892;
constexpr double kMeanLongitude2 = 0.0003025;
// Newcomb's mean anomaly of the sun, degrees, up to the cube of the centuries.
constexpr double kMeanAnomaly0 = 358.47583;
constexpr double kMeanAnomaly1 = 35999.04975;
constexpr double kMeanAnomaly2 = 0.000151;
constexpr double kMeanAnomaly3 = 0.0000033;
// Newcomb's equation of the centre, degrees: first term and its two secular changes, second
// term and its change, third term.
constexpr double kCentre1 = 1.91946;
constexpr double kCentre1Rate = 0.004789;
constexpr double kCentre1Acceleration = 0.000014;
constexpr double kCentre2 = 0.020094;
constexpr double kCentre2Rate = 0.0001;
constexpr double kCentre3 = 0.000293;
// Newcomb's obliquity of the ecliptic, degrees. The cubic coefficient is a single-precision
// constant; its double value is 5.030000238548382e-7.
constexpr double kObliquity0 = 23.452294;
constexpr double kObliquity1 = 0.0130125;
constexpr double kObliquity2 = 0.00000164;
constexpr double kObliquity3 = static_cast<double>(0.000000503f);

// The sun is first evaluated at noon UT; the culmination formula counts from 36 h.
constexpr double kNoonUt = 12;
constexpr double kCulminationOffset = 36;  // hours
constexpr double kDegreesPerHour = 15;
constexpr int kPassesPerEvent = 3;
// Beyond this many hours between the event's sidereal time and that of 0 h the loop that brings
// one above the other would turn more than 100,000 times, or for ever once adding 24 changes
// nothing: such a longitude is an overflow.
constexpr double kLongestSiderealSpan = 2400000;

// Step numbers of the failure report.
constexpr int kStepCulmination = 4940;
constexpr int kStepSiderealSpan = 5270;
constexpr int kStepHorizonCosine = 5640;

// The sign of the rise-and-set hour angle: east of the meridian at sunrise, west at sunset.
constexpr double kSunrise = -1;
constexpr double kSunset = +1;

double Floor(double x) { return std::floor(x); }

// Julian Day at 0 h UT of a Gregorian date. Linear in the day, so a day past the month's end
// runs on into the next month.
double JulianDay(std::int16_t day, std::int16_t month, std::int16_t year) {
  const double d = day, m = month, y = year;
  const int k = (month - 9) / 7;  // truncated towards zero: -1 in January and February
  return 367 * y - Floor(1.75 * (y + Floor((m + 9) / 12))) -
         Floor(0.75 * (Floor(0.01 * (y + k)) + 1)) + Floor(275 * m / 9) + d + kJulianDayOffset;
}

// What the place contributes to every evaluation of the sun, computed once.
struct Place {
  double longitude_west;
  double latitude;
  double sin_latitude;
  double cos_latitude;
  double sin_horizon;
};

// The sun at one moment: right ascension, declination and the hour angle of rise and set.
struct Sun {
  double alpha;
  double delta;
  double rise_set_hour_angle;
};

// The degree helpers' own arithmetic (divide by 180, multiply by pi; arctangent, divide by pi,
// multiply by 180), written out here so that one angle is converted once and its sine and
// cosine share a single call.
double Radians(double degrees) { return degrees / 180 * kPi15; }
double ArctanDegrees(double x) { return std::atan(x) / kPi15 * 180; }

struct SineCosine {
  double sin, cos;
};
SineCosine SinCosDeg(double degrees) {
  const double r = Radians(degrees);
  return {std::sin(r), std::cos(r)};
}

// Right ascension and declination from Newcomb's theory, t in Julian centuries since the epoch.
void Equatorial(double t, Sun& sun) {
  const double mean_longitude = kMeanLongitude1 * t + kMeanLongitude0 + kMeanLongitude2 * t * t;
  const double anomaly =
      kMeanAnomaly1 * t + kMeanAnomaly0 - kMeanAnomaly2 * t * t - kMeanAnomaly3 * t * t * t;
  const double longitude =
      (kCentre1 - kCentre1Rate * t - kCentre1Acceleration * t * t) * std::sin(Radians(anomaly)) +
      mean_longitude + (kCentre2 - kCentre2Rate * t) * std::sin(Radians(2 * anomaly)) +
      kCentre3 * std::sin(Radians(3 * anomaly));
  const double t2 = t * t;
  const double t3 = t * t * t;
  const SineCosine obliquity =
      SinCosDeg(kObliquity0 - kObliquity1 * t - kObliquity2 * t2 + kObliquity3 * t3);

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

Place MakePlace(double longitude_west, double latitude, double horizon) {
  const SineCosine l = SinCosDeg(latitude);
  return {longitude_west, latitude, l.sin, l.cos, std::sin(Radians(horizon))};
}

class DayComputation {
 public:
  DayComputation(double longitude_west, double latitude, double horizon, double julian_day)
      : place_(MakePlace(longitude_west, latitude, horizon)),
        t0_((julian_day - kNewcombEpoch) / kDaysPerCentury) {
    s0_ = kSiderealRate * t0_ + kSiderealAtEpoch + kSiderealAcceleration * t0_ * t0_;
    s0_ = s0_ - kHoursPerDay * Floor(s0_ / kHoursPerDay);
  }

  SunDay Run();

 private:
  bool Evaluate(double ut, Sun& sun);
  bool Culminate(const Sun& noon, double noon_st);
  bool Iterate(double sign, double& ut, Sun& sun);
  double TrueAzimuth(double hour_angle, double delta) const;
  bool Stop(SunOutcome outcome);
  bool FailAt(Fault fault, int step);

  Place place_;
  double t0_;
  double s0_;
  SunDay day_;
};

bool DayComputation::Stop(SunOutcome outcome) {
  day_.outcome = outcome;
  // The day is all light without a sunset, all night without a sunrise.
  day_.DayLength = outcome == SunOutcome::NoSunset ? 24 : 0;
  return false;
}

bool DayComputation::FailAt(Fault fault, int step) {
  day_.outcome = SunOutcome::Fault;
  day_.fault = fault;
  day_.step = step;
  return false;
}

// The sun at `ut` and the hour angle at which it crosses the horizon altitude; false when it
// never does this day.
bool DayComputation::Evaluate(double ut, Sun& sun) {
  Equatorial(ut / 24 / kDaysPerCentury + t0_, sun);
  const SineCosine declination = SinCosDeg(sun.delta);
  const double x = (place_.sin_horizon - place_.sin_latitude * declination.sin) /
                   place_.cos_latitude / declination.cos;
  // The cosine of a finite double is never 0, so only a latitude or horizon that is not finite
  // spoils x, and then it is not a number.
  if (std::isnan(x)) return FailAt(Fault::InvalidCall, kStepHorizonCosine);
  if (x < -1) return Stop(SunOutcome::NoSunset);
  if (x > 1) return Stop(SunOutcome::NoSunrise);
  if (x == 1 || x == -1) {
    sun.rise_set_hour_angle = x == 1 ? 0 : 180;  // arccos, where the tangent form divides by 0
  } else {
    sun.rise_set_hour_angle = 90 - ArctanDegrees(x / std::sqrt(1 - x * x));
  }
  return true;
}

bool DayComputation::Culminate(const Sun& noon, double noon_st) {
  // The sun's hour angle at noon, in sidereal hours taken as solar ones.
  double c = noon_st - (noon.alpha + place_.longitude_west) / kDegreesPerHour;
  if (!std::isfinite(c)) {
    return FailAt(std::isnan(c) ? Fault::InvalidCall : Fault::Overflow, kStepCulmination);
  }
  c = kCulminationOffset - c;
  c = c - kHoursPerDay * Floor(c / kHoursPerDay);
  day_.CulminationTime = c;

  double elevation = noon.delta + 90 - place_.latitude;
  if (elevation > 90) elevation = 180 - elevation;
  day_.CulminationElevation = elevation;
  return true;
}

// Fixed-point passes for the UT at which the sun stands at the horizon altitude. `sun` holds
// the sun at `ut` on entry, and on return the sun that the last pass used.
bool DayComputation::Iterate(double sign, double& ut, Sun& sun) {
  for (int pass = 1; pass <= kPassesPerEvent; ++pass) {
    if (pass > 1 && !Evaluate(ut, sun)) return false;
    double st =
        (sign * sun.rise_set_hour_angle + sun.alpha + place_.longitude_west) / kDegreesPerHour;
    if (std::fabs(st - s0_) > kLongestSiderealSpan) {
      return FailAt(Fault::Overflow, kStepSiderealSpan);
    }
    while (st < s0_) st += kHoursPerDay;
    // Whole sidereal days come off before the span becomes solar hours. The span is then below
    // 24 hours, so taking whole days off the UT as well would leave it unchanged: it is not done.
    while (st >= s0_ + kHoursPerDay) st -= kHoursPerDay;
    ut = (st - s0_) / kSiderealPerSolar;
  }
  return true;
}

// Azimuth from the north through the east, in [0, 360), of the sun at a local hour angle.
double DayComputation::TrueAzimuth(double hour_angle, double delta) const {
  const SineCosine h = SinCosDeg(hour_angle);
  const double y = h.sin;
  const double x = h.cos * place_.sin_latitude - std::tan(Radians(delta)) * place_.cos_latitude;
  double azimuth = std::atan2(y, x) / kPi15 * 180 + 180;  // atan2 counts from the south
  if (azimuth >= 360) azimuth -= 360;
  if (azimuth < 0) azimuth += 360;
  return azimuth;
}

SunDay DayComputation::Run() {
  double ut = kNoonUt;
  const double noon_st = ut * kSiderealPerSolar + s0_;
  Sun noon;
  if (!Evaluate(ut, noon) || !Culminate(noon, noon_st)) return day_;

  // The first sunrise pass evaluates the sun at noon again: the same sun.
  Sun rise = noon;
  if (!Iterate(kSunrise, ut, rise)) return day_;
  const double sunrise = ut;
  day_.SunriseTime = sunrise;
  // Stored in its turn below, but computed now, while the sunset passes can run alongside.
  const double sunrise_azimuth = TrueAzimuth(-rise.rise_set_hour_angle, rise.delta);

  // The sunset passes start from the sunrise just found.
  Sun set;
  if (!Evaluate(ut, set) || !Iterate(kSunset, ut, set)) return day_;
  const double sunset = ut;
  day_.SunsetTime = sunset;

  // Sunset may fall before sunrise in UT far to the east.
  double length = sunset - sunrise;
  length = length - kHoursPerDay * Floor(length / kHoursPerDay);
  day_.DayLength = length;

  day_.SunriseAzimuth = sunrise_azimuth;
  // The sun culminates to the south unless it passes north of the zenith.
  day_.CulminationAzimuth = noon.delta <= place_.latitude ? 180.0 : 0.0;
  day_.SunsetAzimuth = TrueAzimuth(set.rise_set_hour_angle, set.delta);
  return day_;
}

}  // namespace

SunDay ComputeSunDay(double longitude_west, double latitude, double horizon, std::int16_t day,
                     std::int16_t month, std::int16_t year) {
  return DayComputation(longitude_west, latitude, horizon, JulianDay(day, month, year)).Run();
}

}  // namespace orvalin
