#include "engine/body_path.h"

#include <cmath>

#include "engine/newcomb_sun.h"

namespace orvalin {
namespace {

using namespace newcomb;

// A body's altitude is greatest at its upper transit (hour angle 0) and least at its lower one
// (180): between two transits it only climbs or only sinks (save where its declination runs
// faster than its hour angle, near the poles), so it crosses an altitude there once at most, and
// exactly when the two ends lie either side of it.
constexpr double kUpper = 0;
constexpr double kLower = 180;
constexpr double kHalfTurn = 180;
// Steps to a crossing, and where the search for one or for a culmination stops, hours (0.36 ms).
constexpr int kCrossingSteps = 60;
constexpr double kCrossingPrecision = 1e-7;
// What the steps to a transit leave of its distance from a first guess within half a day, hours
// at most: a transit this far beyond a span needs no more to be known outside it.
constexpr double kTransitSettled = 0.1;
// How far two upper transits may lie from their mean interval, hours: the sun's by under a
// minute, the moon's by under half an hour.
constexpr double kTransitSpread = 1.5;

// An angle brought into [0, 360): how far ahead it lies.
double Ahead(double degrees) { return degrees - 360 * std::floor(degrees / 360); }

}  // namespace

BodyPath::BodyPath(const Body& body, Latitude latitude) : body_(body), pace_(body.Pace()) {
  const SineCosine l = SinCosDeg(latitude.Degrees());
  sin_latitude_ = l.sin;
  cos_latitude_ = l.cos;
}

BodyPath::Moment BodyPath::At(double hours) const {
  const BodyPlace place = body_.At(hours);
  return {hours,
          sin_latitude_ * place.sin_delta + cos_latitude_ * place.cos_delta * place.cos_hour_angle -
              place.sin_horizon,
          place};
}

// The hours the body's hour angle takes to turn by `degrees` at its mean pace.
double BodyPath::HoursOfTurn(double degrees) const {
  return degrees / kDegreesPerHour / pace_.per_solar_hour;
}

// The observer as the sun's formulas of rise, set and azimuth take it, at a moment's horizon.
Place BodyPath::PlaceOf(const Moment& m) const {
  return {0, 0, sin_latitude_, cos_latitude_, m.place.sin_horizon};
}

double BodyPath::Azimuth(const Moment& m, double hour_angle) const {
  // The formula reads the declination alone.
  return TrueAzimuth(PlaceOf(m), Sun{0, m.place.delta, 0}, hour_angle);
}

bool BodyPath::Up(double hours) const { return At(hours).height > 0; }

BodyPath::Meridian BodyPath::Opposite(Meridian meridian) {
  return meridian == Meridian::Upper ? Meridian::Lower : Meridian::Upper;
}

// The transit of the kind nearest `guess`.
BodyPath::Moment BodyPath::Transit(double guess, Meridian meridian) const {
  const double hour_angle = meridian == Meridian::Upper ? kUpper : kLower;
  Moment m = At(guess);
  for (int step = 0; step < pace_.transit_steps; ++step) {
    m = At(m.hours - HoursOfTurn(CentredDegrees(m.place.hour_angle - hour_angle)));
  }
  return m;
}

// The crossing between two transits whose heights lie either side of the horizon altitude. First
// the hour angle of rise or set, each step taking the body where the last one arrived: it gains
// digits a step as its pace is steady. Where the body skims the altitude and that does not
// settle within the transits, regula falsi, halving the weight of an end that stays (Illinois),
// which always closes in.
BodyCrossing BodyPath::Between(const Transits& transits) const {
  const Moment& low = transits.low;
  const bool rising = low.height <= 0;
  double t = low.hours;
  Moment m = low;
  for (int step = 0; step < pace_.hour_angle_steps; ++step) {
    // The cosine of the hour angle at which the body would stand at its horizon altitude.
    const double x = (m.place.sin_horizon - sin_latitude_ * m.place.sin_delta) / cos_latitude_ /
                     m.place.cos_delta;
    if (!(x >= -1 && x <= 1)) break;
    const double target = rising ? -HourAngleOfCosine(x) : HourAngleOfCosine(x);
    const double turn = step == 0 ? Ahead(target - low.place.hour_angle)
                                  : CentredDegrees(target - m.place.hour_angle);
    const double next = m.hours + HoursOfTurn(turn);
    if (!(next > low.hours && next < transits.high.hours)) break;
    if (step > 0 && std::fabs(next - t) <= kCrossingPrecision) {
      return {next, rising, Azimuth(m, target)};
    }
    t = next;
    m = At(t);
  }
  return Bracketed(transits);
}

BodyCrossing BodyPath::Bracketed(const Transits& transits) const {
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
  return {m.hours, rising, Azimuth(m, m.place.hour_angle)};
}

std::vector<BodyCrossing> BodyPath::Crossings(double from, double to) const {
  std::vector<BodyCrossing> crossings;
  if (!(from < to)) return crossings;
  // Half of the body's day, from one transit to the next, to within minutes.
  const double half_day = kHoursPerDay / pace_.per_solar_hour / 2;
  // The last transit at or before `from`: the upper one when the hour angle is positive.
  const Moment start = At(from);
  Meridian meridian = start.place.hour_angle >= 0 ? Meridian::Upper : Meridian::Lower;
  const double since = start.place.hour_angle + (meridian == Meridian::Upper ? 0 : kHalfTurn);
  Moment previous = Transit(from - HoursOfTurn(since), meridian);
  if (previous.hours > from) {
    meridian = Opposite(meridian);
    previous = Transit(previous.hours - half_day, meridian);
  }
  while (previous.hours < to) {
    meridian = Opposite(meridian);
    const Moment next = Transit(previous.hours + half_day, meridian);
    // Where the span opens on the same side as the next transit, the crossing between them
    // falls before it.
    const bool before_span = previous.hours < from && (start.height > 0) == (next.height > 0);
    if ((previous.height > 0) != (next.height > 0) && !before_span) {
      const BodyCrossing c = Between({previous, next});
      if (c.hours >= from && c.hours < to) crossings.push_back(c);
    }
    previous = next;
  }
  return crossings;
}

std::vector<double> BodyPath::Culminations(HourSpan span) const {
  std::vector<double> found;
  // Two upper transits lie about a solar day over the body's pace apart.
  const double interval = kHoursPerDay / pace_.per_solar_hour;
  // The transit nearest the span's start, then each a solar day after the last, which lies
  // within an hour of it; only those that may fall within the span are refined.
  for (double guess = span.from;; guess += kHoursPerDay) {
    Moment m = Transit(guess, Meridian::Upper);
    if (m.hours >= span.to + kTransitSettled) return found;
    if (m.hours >= span.from - kTransitSettled) {
      m = Culmination(m);
      if (m.hours >= span.to) return found;
      if (m.hours >= span.from) found.push_back(m.hours);
    }
    if (m.hours + interval - kTransitSpread >= span.to) return found;
    guess = m.hours;
  }
}

// A transit refined a step at a time, until the next would move it by less than the precision.
BodyPath::Moment BodyPath::Culmination(Moment m) const {
  for (int step = 0; step < pace_.culmination_steps * pace_.transit_steps; ++step) {
    const double turn = HoursOfTurn(CentredDegrees(m.place.hour_angle - kUpper));
    if (std::fabs(turn) <= kCrossingPrecision) break;
    m = At(m.hours - turn);
  }
  return m;
}

}  // namespace orvalin
