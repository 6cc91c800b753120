#include "engine/sun_path.h"

#include <algorithm>
#include <cmath>

namespace orvalin {
namespace {

using namespace newcomb;

// Steps to a transit (the sun's right ascension slows the hour angle by a 365th: each step
// gains nearly three digits), and to a culmination told as an event: from a solar day away, four
// reach the search's precision.
constexpr int kTransitSteps = 1;
constexpr int kCulminationSteps = 6;
// Steps of the hour angle of rise and set before the bracketing search takes over.
constexpr int kHourAngleSteps = 5;

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

BodyPlace SunPath::At(double hours, Sun& sun, const ApparentShift* shift) const {
  const double t = hours / kHoursPerDay / kDaysPerCentury + t0_;
  Equatorial(t, sun, shift);
  const double sidereal = shift ? shift->sidereal : 0;
  const double hour_angle = CentredDegrees(kDegreesPerHour * (s0_ + kSiderealPerSolar * hours) +
                                           sidereal - sun.alpha - place_.longitude_west);
  const SineCosine d = SinCosDeg(sun.delta);
  return {hour_angle, sun.delta, place_.sin_horizon, d.sin, d.cos,
          std::cos(Radians(hour_angle))};
}

BodyPlace SunPath::At(double hours) const {
  Sun sun{};
  return At(hours, sun, nullptr);
}

BodyPace SunPath::Pace() const {
  return {kSiderealPerSolar, kTransitSteps, kCulminationSteps, kHourAngleSteps};
}

SunPosition SunPath::PositionAt(double hours) const {
  const double t = hours / kHoursPerDay / kDaysPerCentury + t0_;
  const ApparentShift shift = ApparentShiftAt(t);
  Sun sun{};
  const BodyPlace p = At(hours, sun, &shift);
  // The height above the horizon altitude as the search computes it, and the horizon added back.
  const double height = place_.sin_latitude * p.sin_delta +
                        place_.cos_latitude * p.cos_delta * p.cos_hour_angle - place_.sin_horizon;
  const double sine = height + place_.sin_horizon;
  return {TrueAzimuth(place_, sun, p.hour_angle),
          std::asin(std::clamp(sine, -1.0, 1.0)) / kPi15 * 180};
}

}  // namespace orvalin
