#include "engine/sun_path.h"

#include <algorithm>
#include <cmath>

namespace orvalin {
namespace {

using namespace newcomb;

// The sun's altitude is greatest at its upper transit (hour angle 0) and least at its lower one
// (180): between two transits it only climbs or only sinks, so it crosses an altitude there once
// at most, and exactly when the two ends lie either side of it.
constexpr double kUpper = 0;
constexpr double kLower = 180;
constexpr double kHalfTurn = 180;
// A half of a sidereal day in solar hours: from one transit to the next, to within minutes.
constexpr double kHalfSiderealDay = kSiderealDayHours / 2;
// Steps to a transit (the sun's right ascension slows the hour angle by a 365th: each step
// gains nearly three digits) and to a crossing, and where the search for a crossing stops,
// hours (0.36 ms).
constexpr int kTransitSteps = 1;
// Steps to a culmination told as an event: from a solar day away, four reach kCrossingPrecision.
constexpr int kCulminationSteps = 6;
constexpr int kCrossingSteps = 60;
constexpr double kCrossingPrecision = 1e-7;

// Saemundsson's refraction, arcminutes: 1.02 / tan(h + 10.3 / (h + 5.11)) for a geometric
// elevation h in degrees (Sky & Telescope 72, 1986, p. 70), at 10 degrees Celsius and 1010 hPa.
constexpr double kRefractionScale = 1.02;
constexpr double kRefractionShift = 10.3;
constexpr double kRefractionOffset = 5.11;
constexpr double kArcminutesPerDegree = 60;
// Below about -1.9 degrees the formula turns back (its h + 10.3 / (h + 5.11) is least at
// h = sqrt(10.3) - 5.11, where the refraction is greatest, 44.5'), and at -5.11 it has a pole.
// From there the refraction fades to none at this elevation along a smoothstep: no jump and no
// kink at either end. A choice, since no refracted ray comes from there: low enough that the
// apparent elevation still climbs with the geometric one (the fade's steepest slope, 1.5 times
// 0.74 degrees over 2.1, is about half a degree per degree).
constexpr double kRefractionGone = -4;  // degrees

// Steps of the hour angle of rise and set before the bracketing search takes over.
constexpr int kHourAngleSteps = 5;

// An angle brought into [-180, 180).
double Centred(double degrees) { return degrees - 360 * std::floor((degrees + kHalfTurn) / 360); }

// An angle brought into [0, 360): how far ahead it lies.
double Ahead(double degrees) { return degrees - 360 * std::floor(degrees / 360); }

double SaemundssonDegrees(double geometric) {
  return kRefractionScale /
         std::tan(Radians(geometric + kRefractionShift / (geometric + kRefractionOffset))) /
         kArcminutesPerDegree;
}

}  // namespace

double ApparentElevation(double geometric) {
  const double greatest_at = std::sqrt(kRefractionShift) - kRefractionOffset;
  if (geometric >= greatest_at) return geometric + SaemundssonDegrees(geometric);
  if (geometric <= kRefractionGone) return geometric;
  const double t = (geometric - kRefractionGone) / (greatest_at - kRefractionGone);
  return geometric + SaemundssonDegrees(greatest_at) * t * t * (3 - 2 * t);
}

double HorizonDip(double metres) {
  return kDipPerRootMetre * std::sqrt(metres) / kArcminutesPerDegree;
}

SunPath::SunPath(const Observer& observer, CivilDate date)
    : place_(MakePlace(observer)),
      t0_(CenturiesFromEpoch(JulianDay(date))),
      s0_(SiderealAtMidnight(t0_)) {}

SunPath::Moment SunPath::At(double hours, bool apparent) const {
  Moment m{hours, 0, {}, 0};
  const double t = hours / kHoursPerDay / kDaysPerCentury + t0_;
  const ApparentShift shift = apparent ? ApparentShiftAt(t) : ApparentShift{};
  Equatorial(t, m.sun, apparent ? &shift : nullptr);
  m.hour_angle = Centred(kDegreesPerHour * (s0_ + kSiderealPerSolar * hours) + shift.sidereal -
                         m.sun.alpha - place_.longitude_west);
  const SineCosine d = SinCosDeg(m.sun.delta);
  const double cos_h = std::cos(Radians(m.hour_angle));
  m.height = place_.sin_latitude * d.sin + place_.cos_latitude * d.cos * cos_h - place_.sin_horizon;
  return m;
}

bool SunPath::Up(double hours) const { return At(hours).height > 0; }

SunPosition SunPath::PositionAt(double hours) const {
  const Moment m = At(hours, true);
  const double sine = m.height + place_.sin_horizon;
  return {TrueAzimuth(place_, m.sun, m.hour_angle),
          std::asin(std::clamp(sine, -1.0, 1.0)) / kPi15 * 180};
}

SunPath::Meridian SunPath::Opposite(Meridian meridian) {
  return meridian == Meridian::Upper ? Meridian::Lower : Meridian::Upper;
}

// The transit of the kind nearest `guess`.
SunPath::Moment SunPath::Transit(double guess, Meridian meridian) const {
  const double hour_angle = meridian == Meridian::Upper ? kUpper : kLower;
  Moment m = At(guess);
  for (int step = 0; step < kTransitSteps; ++step) {
    m = At(m.hours - Centred(m.hour_angle - hour_angle) / kDegreesPerHour / kSiderealPerSolar);
  }
  return m;
}

// The crossing between two transits whose heights lie either side of the horizon altitude. First
// the hour angle of rise or set, each step taking the sun where the last one arrived: it gains
// nearly three digits a step. Where the sun skims the altitude and that does not settle within
// the transits, regula falsi, halving the weight of an end that stays (Illinois), which always
// closes in.
SunCrossing SunPath::Between(const Transits& transits) const {
  const Moment& low = transits.low;
  const bool rising = low.height <= 0;
  double t = low.hours;
  const Moment* sun = &low;
  Moment m = low;
  for (int step = 0; step < kHourAngleSteps; ++step) {
    const double x = HorizonCosine(place_, sun->sun.delta);
    if (!(x >= -1 && x <= 1)) break;
    const double target = rising ? -HourAngleOfCosine(x) : HourAngleOfCosine(x);
    const double turn = step == 0 ? Ahead(target - low.hour_angle) : Centred(target - m.hour_angle);
    const double next =
        (step == 0 ? low.hours : m.hours) + turn / kDegreesPerHour / kSiderealPerSolar;
    if (!(next > low.hours && next < transits.high.hours)) break;
    if (step > 0 && std::fabs(next - t) <= kCrossingPrecision) {
      return {next, rising, TrueAzimuth(place_, m.sun, target)};
    }
    t = next;
    m = At(t);
    sun = &m;
  }
  return Bracketed(transits);
}

SunCrossing SunPath::Bracketed(const Transits& transits) const {
  Moment a = transits.low, b = transits.high;
  double fa = a.height, fb = b.height;
  Moment m = a;
  for (int step = 0; step < kCrossingSteps; ++step) {
    const double before = m.hours;
    m = At(a.hours + (b.hours - a.hours) * fa / (fa - fb));
    if (m.height == 0 || std::fabs(m.hours - before) <= kCrossingPrecision) break;
    if ((m.height < 0) == (fa < 0)) {
      a = m, fa = m.height, fb /= 2;
    } else {
      b = m, fb = m.height, fa /= 2;
    }
  }
  const bool rising = transits.low.height <= 0;
  return {m.hours, rising, TrueAzimuth(place_, m.sun, m.hour_angle)};
}

std::vector<SunCrossing> SunPath::Crossings(double from, double to) const {
  std::vector<SunCrossing> crossings;
  if (!(from < to)) return crossings;
  // The last transit at or before `from`: the upper one when the hour angle is positive.
  const Moment start = At(from);
  Meridian meridian = start.hour_angle >= 0 ? Meridian::Upper : Meridian::Lower;
  const double since = start.hour_angle + (meridian == Meridian::Upper ? 0 : kHalfTurn);
  Moment previous = Transit(from - since / kDegreesPerHour / kSiderealPerSolar, meridian);
  if (previous.hours > from) {
    meridian = Opposite(meridian);
    previous = Transit(previous.hours - kHalfSiderealDay, meridian);
  }
  while (previous.hours < to) {
    meridian = Opposite(meridian);
    const Moment next = Transit(previous.hours + kHalfSiderealDay, meridian);
    if ((previous.height > 0) != (next.height > 0)) {
      const SunCrossing c = Between({previous, next});
      if (c.hours >= from && c.hours < to) crossings.push_back(c);
    }
    previous = next;
  }
  return crossings;
}

std::vector<double> SunPath::Culminations(HourSpan span) const {
  std::vector<double> found;
  // The transit nearest the span's start, then each a solar day after the last, which lies
  // within minutes of it.
  for (double guess = span.from;; guess += kHoursPerDay) {
    Moment m = Transit(guess, Meridian::Upper);
    for (int step = 0; step < kCulminationSteps; ++step) {
      const double before = m.hours;
      m = Transit(m.hours, Meridian::Upper);
      if (std::fabs(m.hours - before) <= kCrossingPrecision) break;
    }
    if (m.hours >= span.to) return found;
    if (m.hours >= span.from) found.push_back(m.hours);
    guess = m.hours;
  }
}

}  // namespace orvalin
