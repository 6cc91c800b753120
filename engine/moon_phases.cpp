#include "engine/moon_phases.h"

#include <cmath>
#include <limits>

#include "engine/newcomb_sun.h"
#include "engine/sky_angles.h"

namespace orvalin {
namespace {

// The mean new moon of 2000 January 6 (Julian Day of TT) and the mean synodic month, days (Meeus
// eq. 49.1); the true phases stray from the mean ones by up to about 14 hours.
constexpr double kMeanNewMoon = 2451550.09766;
constexpr double kSynodicMonth = 29.530588861;
constexpr int kQuarters = 4;
constexpr double kDegreesPerQuarter = 90;
constexpr double kLeadPerDay = 360 / kSynodicMonth;
// The search for a phase stops when a step is below this, days (9 ms), or after these steps.
constexpr double kPrecision = 1e-7;
constexpr int kMaxSteps = 12;
constexpr double kHoursPerDay = newcomb::kHoursPerDay;
// Quarters of the mean month searched beyond a span's ends, and a bound of the true phases'
// straying from the mean ones, days.
constexpr int kMargin = 1;
constexpr double kStrayDays = 0.75;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

long QuarterBefore(double julian_day) {
  return static_cast<long>(std::floor((julian_day - kMeanNewMoon) / (kSynodicMonth / kQuarters)));
}

}  // namespace

GeocentricSky MoonPhases::SkyAt(double julian_day) {
  return ephemeris_ ? ephemeris_->At(julian_day) : GeocentricSkyAt(julian_day);
}

double MoonPhases::LeadAt(double julian_day) {
  const GeocentricSky sky = SkyAt(julian_day);
  return Within360(sky.moon_longitude - sky.sun_longitude);
}

// The Julian Day (UT) of principal phase `quarter`, counted from the new moon of kMeanNewMoon: a
// secant search on the lead, from the mean phase.
double MoonPhases::SearchPhaseDay(long quarter) {
  const double target = kDegreesPerQuarter * static_cast<double>(quarter);
  const auto miss = [&](double day) { return Within180(LeadAt(day) - target); };
  double a = kMeanNewMoon + kSynodicMonth * static_cast<double>(quarter) / kQuarters;
  double fa = miss(a);
  double b = a - fa / kLeadPerDay, fb = miss(b);
  for (int step = 0; step < kMaxSteps && std::fabs(b - a) > kPrecision && fb != fa; ++step) {
    const double c = b - fb * (b - a) / (fb - fa);
    a = b, fa = fb;
    b = c, fb = miss(b);
  }
  return b;
}

double MoonPhases::PhaseDay(long quarter) {
  for (const Found& f : found_) {
    if (f.day != 0 && f.quarter == quarter) return f.day;
  }
  const double day = SearchPhaseDay(quarter);
  found_[next_] = {quarter, day};
  next_ = (next_ + 1) % kKept;
  return day;
}

// The last new moon at or before a Julian Day. The next mean one is only searched when the true
// one could come before the day.
double MoonPhases::NewMoonBefore(double julian_day) {
  const auto lunation = static_cast<long>(std::floor((julian_day - kMeanNewMoon) / kSynodicMonth));
  const double day = PhaseDay(kQuarters * lunation);
  if (day > julian_day) return PhaseDay(kQuarters * (lunation - 1));
  const double next_mean = kMeanNewMoon + kSynodicMonth * static_cast<double>(lunation + 1);
  if (julian_day < next_mean - kStrayDays) return day;
  const double next = PhaseDay(kQuarters * (lunation + 1));
  return next <= julian_day ? next : day;
}

std::vector<PhaseMoment> MoonPhases::Principal(CivilDate origin, HourSpan span) {
  std::vector<PhaseMoment> phases;
  const double day0 = newcomb::JulianDay(origin);
  const double first = day0 + span.from / kHoursPerDay, last = day0 + span.to / kHoursPerDay;
  if (!(first < last)) return phases;  // an empty span, or a time that is not a number
  for (long q = QuarterBefore(first) - kMargin; q <= QuarterBefore(last) + kMargin; ++q) {
    // A phase strays from its mean moment by less than kStrayDays: most quarters searched for
    // a short span cannot fall within it.
    const double mean = kMeanNewMoon + kSynodicMonth * static_cast<double>(q) / kQuarters;
    if (mean + kStrayDays < first || mean - kStrayDays >= last) continue;
    const double day = PhaseDay(q);
    if (day < first || day >= last) continue;
    const auto phase = static_cast<PrincipalPhase>(((q % kQuarters) + kQuarters) % kQuarters);
    phases.push_back({phase, (day - day0) * kHoursPerDay});
  }
  return phases;
}

MoonLight MoonPhases::LightAt(CivilDate origin, double hours) {
  const double day = newcomb::JulianDay(origin) + hours / kHoursPerDay;
  if (!std::isfinite(day)) return {kNone, kNone, kNone, kNone, kNone};  // no lunation to count
  const GeocentricSky sky = SkyAt(day);
  const double lead = Within360(sky.moon_longitude - sky.sun_longitude);
  // The elongation psi (Meeus eq. 48.2, the sun's latitude taken as 0) and the phase angle i
  // (eq. 48.3), in the triangle of the Earth, the moon and the sun.
  const double cos_psi = std::cos(RadiansOf(sky.moon_latitude)) * std::cos(RadiansOf(lead));
  const double psi = std::acos(cos_psi);
  const double i =
      std::atan2(sky.sun_distance * std::sin(psi), sky.MoonDistance() - sky.sun_distance * cos_psi);
  return {(1 + std::cos(i)) / 2, DegreesOf(i), DegreesOf(psi), lead, day - NewMoonBefore(day)};
}

PhaseName MoonPhases::DayPhase(CivilDate origin, HourSpan day) {
  const std::vector<PhaseMoment> phases = Principal(origin, day);
  if (!phases.empty()) return orvalin::DayPhase(phases, 0);
  const double middle = newcomb::JulianDay(origin) + (day.from + day.to) / 2 / kHoursPerDay;
  return orvalin::DayPhase(phases, LeadAt(middle));
}

PhaseName DayPhase(const std::vector<PhaseMoment>& principal, double lead) {
  if (!principal.empty()) {
    return static_cast<PhaseName>(2 * static_cast<int>(principal.front().phase));
  }
  return static_cast<PhaseName>(2 * static_cast<int>(lead / kDegreesPerQuarter) + 1);
}

std::vector<PhaseMoment> PrincipalPhases(CivilDate origin, HourSpan span) {
  return MoonPhases(nullptr).Principal(origin, span);
}

MoonLight LightAt(CivilDate origin, double hours) { return MoonPhases(nullptr).LightAt(origin, hours); }

PhaseName DayPhase(CivilDate origin, HourSpan day) { return MoonPhases(nullptr).DayPhase(origin, day); }

}  // namespace orvalin
