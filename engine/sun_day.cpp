#include "engine/sun_day.h"

#include <cmath>

#include "engine/newcomb_sun.h"

namespace orvalin {
namespace {

using namespace newcomb;

// The sun is first evaluated at noon UT; the culmination formula counts from 36 h.
constexpr double kNoonUt = 12;
constexpr double kCulminationOffset = 36;  // hours
constexpr int kPassesPerEvent = 3;
// Beyond this many hours between the event's sidereal time and that of 0 h the loop that brings
// one above the other would turn more than 100,000 times, or for ever once adding 24 changes
// nothing: such a longitude is an overflow.
constexpr double kLongestSiderealSpan = 2400000;

// The passes have found a true event when their last one moved the time by no more than this,
// hours (30 s). Passes that settle move less than 15 s up to 72 degrees of latitude; passes that
// evaluated the sun a day away from the event move it by minutes.
constexpr double kSettledPasses = 30.0 / 3600;
// The search for the true event, when the passes have not settled: steps from each start, and
// the step below which it has arrived, hours (3.6 ms).
constexpr int kSettleSteps = 12;
constexpr double kSettledStep = 1e-6;

// Step numbers of the failure report.
constexpr int kStepCulmination = 4940;
constexpr int kStepSiderealSpan = 5270;
constexpr int kStepHorizonCosine = 5640;
// The routine the step numbers count in.
constexpr std::string_view kRoutine = "EPHEMERIDES";

// Which event is sought, as the sign of its rise-and-set hour angle: east of the meridian at
// sunrise, west at sunset.
struct Event {
  double sign;
};
constexpr Event kSunrise{-1};
constexpr Event kSunset{+1};

// An event of the day: its UT and the sun that placed it there (for its azimuth).
struct Found {
  double ut;
  Sun sun;
};

class DayComputation {
 public:
  DayComputation(const Observer& observer, double julian_day)
      : place_(MakePlace(observer)),
        t0_(CenturiesFromEpoch(julian_day)),
        s0_(SiderealAtMidnight(t0_)) {}

  SunDay Run();

 private:
  double Crossing(double ut, Sun& sun) const;
  double SiderealOf(Event event, const Sun& sun) const;
  bool Evaluate(double ut, Sun& sun);
  bool Culminate(const Sun& noon, double noon_st);
  bool Iterate(Event event, double& ut, double& evaluated_at, Sun& sun);
  std::optional<Found> Settle(Event event, double ut) const;
  std::optional<Found> TrueEvent(Event event, double ut, double evaluated_at,
                                 const Sun& last) const;
  bool Stop(SunOutcome outcome);
  SunDay Missing(SunOutcome outcome);
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

// The sun does rise and set, but this UT day holds no event of the kind: no length to give.
SunDay DayComputation::Missing(SunOutcome outcome) {
  day_.outcome = outcome;
  day_.event_elsewhere = true;
  return day_;
}

bool DayComputation::FailAt(Fault fault, int step) {
  day_.outcome = SunOutcome::Fault;
  day_.fault = fault;
  day_.step = step;
  return false;
}

// The sun at `ut` and the cosine of the hour angle at which it crosses the horizon altitude.
double DayComputation::Crossing(double ut, Sun& sun) const {
  Equatorial(ut / kHoursPerDay / kDaysPerCentury + t0_, sun);
  const double x = HorizonCosine(place_, sun.delta);
  if (x >= -1 && x <= 1) sun.rise_set_hour_angle = HourAngleOfCosine(x);
  return x;
}

// The sidereal time, hours, at which `sun` stands at the event's hour angle.
double DayComputation::SiderealOf(Event event, const Sun& sun) const {
  return (event.sign * sun.rise_set_hour_angle + sun.alpha + place_.longitude_west) /
         kDegreesPerHour;
}

// The sun at `ut` and the hour angle at which it crosses the horizon altitude; false when it
// never does this day.
bool DayComputation::Evaluate(double ut, Sun& sun) {
  const double x = Crossing(ut, sun);
  // The cosine of a finite double is never 0, so only a latitude or horizon that is not finite
  // spoils x, and then it is not a number.
  if (std::isnan(x)) return FailAt(Fault::InvalidCall, kStepHorizonCosine);
  if (x < -1) return Stop(SunOutcome::NoSunset);
  if (x > 1) return Stop(SunOutcome::NoSunrise);
  return true;
}

bool DayComputation::Culminate(const Sun& noon, double noon_st) {
  // The sun's hour angle at noon, in sidereal hours taken as solar ones.
  double c = noon_st - (noon.alpha + place_.longitude_west) / kDegreesPerHour;
  if (!std::isfinite(c)) {
    return FailAt(std::isnan(c) ? Fault::InvalidCall : Fault::Overflow, kStepCulmination);
  }
  c = kCulminationOffset - c;
  c = c - kHoursPerDay * std::floor(c / kHoursPerDay);
  day_.CulminationTime = c;

  double elevation = noon.delta + 90 - place_.latitude;
  if (elevation > 90) elevation = 180 - elevation;
  day_.CulminationElevation = elevation;
  return true;
}

// Fixed-point passes for the UT at which the sun stands at the horizon altitude. `sun` holds
// the sun at `ut` on entry, and on return the sun that the last pass used, evaluated at
// `evaluated_at`.
bool DayComputation::Iterate(Event event, double& ut, double& evaluated_at, Sun& sun) {
  for (int pass = 1; pass <= kPassesPerEvent; ++pass) {
    if (pass > 1 && !Evaluate(ut, sun)) return false;
    evaluated_at = ut;
    double st = SiderealOf(event, sun);
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

// From `ut`, the nearest event of the kind: each step evaluates the sun and moves to the UT at
// which the sidereal time reaches the event's, by the shorter way round the sidereal day.
// Nothing when the sun stops crossing the horizon on the way or the steps do not arrive.
std::optional<Found> DayComputation::Settle(Event event, double ut) const {
  for (int step = 0; step < kSettleSteps; ++step) {
    Sun sun;
    const double x = Crossing(ut, sun);
    if (!(x >= -1 && x <= 1)) return std::nullopt;
    double lag = SiderealOf(event, sun) - (s0_ + kSiderealPerSolar * ut);
    lag -= kHoursPerDay * std::floor((lag + kHoursPerDay / 2) / kHoursPerDay);
    const double move = lag / kSiderealPerSolar;
    ut += move;
    if (std::fabs(move) <= kSettledStep) return Found{ut, sun};
  }
  return std::nullopt;
}

// The passes can only give a UT below a sidereal day, 236 s short of the UT day's end: an event
// in those last seconds comes out at the day's start with the sun of another day, and the
// passes do not settle. Then the event is sought from the passes' UT and a sidereal day either
// side of it, and the earliest one found within the UT day is the day's.
std::optional<Found> DayComputation::TrueEvent(Event event, double ut, double evaluated_at,
                                               const Sun& last) const {
  double moved = ut - evaluated_at;
  moved -= kHoursPerDay * std::floor((moved + kHoursPerDay / 2) / kHoursPerDay);
  if (std::fabs(moved) <= kSettledPasses) return Found{ut, last};
  std::optional<Found> earliest;
  for (const double start : {ut, ut + kSiderealDayHours, ut - kSiderealDayHours}) {
    const std::optional<Found> found = Settle(event, start);
    if (!found || found->ut < 0 || found->ut >= kHoursPerDay) continue;
    if (!earliest || found->ut < earliest->ut) earliest = found;
  }
  return earliest;
}

SunDay DayComputation::Run() {
  double ut = kNoonUt;
  const double noon_st = ut * kSiderealPerSolar + s0_;
  Sun noon;
  if (!Evaluate(ut, noon) || !Culminate(noon, noon_st)) return day_;

  // The first sunrise pass evaluates the sun at noon again: the same sun.
  Sun rise = noon;
  double evaluated_at = ut;
  if (!Iterate(kSunrise, ut, evaluated_at, rise)) return day_;
  const std::optional<Found> sunrise = TrueEvent(kSunrise, ut, evaluated_at, rise);
  if (!sunrise) return Missing(SunOutcome::NoSunrise);
  day_.SunriseTime = sunrise->ut;
  // Stored in its turn below, but computed now, while the sunset passes can run alongside.
  const double sunrise_azimuth =
      TrueAzimuth(place_, sunrise->sun, -sunrise->sun.rise_set_hour_angle);

  // The sunset passes start from the UT the sunrise passes ended on.
  Sun set;
  if (!Evaluate(ut, set) || !Iterate(kSunset, ut, evaluated_at, set)) return day_;
  const std::optional<Found> sunset = TrueEvent(kSunset, ut, evaluated_at, set);
  if (!sunset) return Missing(SunOutcome::NoSunset);
  day_.SunsetTime = sunset->ut;

  // Sunset may fall before sunrise in UT far to the east.
  double length = sunset->ut - sunrise->ut;
  length = length - kHoursPerDay * std::floor(length / kHoursPerDay);
  day_.DayLength = length;

  day_.SunriseAzimuth = sunrise_azimuth;
  // The sun culminates to the south unless it passes north of the zenith.
  day_.CulminationAzimuth = noon.delta <= place_.latitude ? 180.0 : 0.0;
  day_.SunsetAzimuth = TrueAzimuth(place_, sunset->sun, sunset->sun.rise_set_hour_angle);
  return day_;
}

}  // namespace

SunDay ComputeSunDay(const Observer& observer, CivilDate date) {
  return DayComputation(observer, JulianDay(date)).Run();
}

std::string FaultReport(const SunDay& day) {
  return ReportText(Description(day.fault), day.step, kRoutine);
}

}  // namespace orvalin
