#include "engine/moon_ephemeris.h"

#include <cmath>

#include "engine/apparent_sun.h"
#include "engine/delta_t.h"
#include "engine/moon_theory.h"
#include "engine/sky_angles.h"

namespace orvalin {
namespace {

// Julian Days beyond which the series are used themselves: before the calendar's first day, and
// far beyond its last.
constexpr double kFirstDay = 1e6, kLastDay = 1e8;

// An angle taken to within half a turn of `near`.
double Beside(double degrees, double near) { return near + Within180(degrees - near); }

struct SkySeries {
  Nutation nutation;
  moon::ApparentPlace moon;
};

SkySeries MoonSeries(double t) {
  const Nutation nutation = NutationAt(t);
  return {nutation, moon::ApparentAt(t, nutation)};
}

MoonVector VectorOf(const SkySeries& s) {
  const Turn a = Turn::OfDegrees(s.moon.right_ascension), d = Turn::OfDegrees(s.moon.declination);
  const double r = s.moon.distance / moon::kEarthRadius;
  return {r * d.cos * a.cos, r * d.cos * a.sin, r * d.sin, s.nutation.EquinoxEquation()};
}

}  // namespace

double GeocentricSky::MoonDistance() const {
  return std::sqrt(moon.x * moon.x + moon.y * moon.y + moon.z * moon.z) * moon::kEarthRadius;
}

MoonVector MoonVectorAt(double julian_day) {
  return VectorOf(MoonSeries(TerrestrialCenturies(julian_day)));
}

GeocentricSky GeocentricSkyAt(double julian_day) {
  const double t = TerrestrialCenturies(julian_day);
  const SkySeries s = MoonSeries(t);
  const SunPlace sun = ApparentSun(t, s.nutation);
  return {VectorOf(s), s.moon.longitude, s.moon.latitude, sun.longitude, sun.distance};
}

// Lagrange's basis polynomial of each of n entries at -before ... n - 1 - before, the product
// over the other entries m of (p - m) / (j - m), in powers of p: kBasis[j][k] is the coefficient
// of p^k in entry j's.
template <int n, int before>
constexpr std::array<std::array<double, n>, n> LagrangeBasis() {
  std::array<std::array<double, n>, n> basis{};
  for (int j = 0; j < n; ++j) {
    std::array<double, n> c{};
    c[0] = 1;
    double denominator = 1;
    for (int m = 0; m < n; ++m) {
      if (m == j) continue;
      const double root = m - before;
      // c times (p - root), from the highest power down.
      for (int k = n - 1; k > 0; --k) c[k] = c[k - 1] - root * c[k];
      c[0] = -root * c[0];
      denominator *= j - m;
    }
    for (int k = 0; k < n; ++k) basis[j][k] = c[k] / denominator;
  }
  return basis;
}

template <class Entry, int kSpacingDays>
bool Tabulation<Entry, kSpacingDays>::Around(double julian_day) {
  if (!(julian_day >= kFirstDay && julian_day < kLastDay)) return false;
  const double x = julian_day / kSpacingDays;
  const auto first = static_cast<long>(std::floor(x));
  Interval& interval = intervals_[static_cast<std::size_t>(first) % kIntervals];
  if (interval.first != first) Interpolate(interval, first);
  interval_ = &interval;
  p_ = x - static_cast<double>(first);
  return true;
}

template <class Entry, int kSpacingDays>
void Tabulation<Entry, kSpacingDays>::Interpolate(Interval& interval, long first) {
  static constexpr auto kBasis = LagrangeBasis<kAround, kBefore>();
  interval.first = first;
  std::array<Entry, kAround> around{};
  for (std::size_t j = 0; j < kAround; ++j) {
    around[j] = EntryOf(first - kBefore + static_cast<long>(j));
  }
  for (Entry& e : around) Entry::Follow(e, around[kBefore]);
  for (const auto field : Entry::kFields) {
    for (std::size_t k = 0; k < kAround; ++k) {
      double sum = 0;
      for (std::size_t j = 0; j < kAround; ++j) sum += kBasis[j][k] * (around[j].*field);
      interval.powers[k].*field = sum;
    }
  }
}

template <class Entry, int kSpacingDays>
double Tabulation<Entry, kSpacingDays>::Mix(double Entry::*field) const {
  const std::array<Entry, kAround>& powers = interval_->powers;
  double sum = powers[kAround - 1].*field;
  for (std::size_t k = kAround - 1; k-- > 0;) sum = sum * p_ + powers[k].*field;
  return sum;
}

// An entry's Julian Day is a whole number of days, exactly a double: whichever day or place asks
// for it, it is the same to the last bit.
template <class Entry, int kSpacingDays>
const Entry& Tabulation<Entry, kSpacingDays>::EntryOf(long index) {
  Kept& k = kept_[static_cast<std::size_t>(index) % kKept];
  if (k.index != index) k = {index, Entry::At(static_cast<double>(index) * kSpacingDays)};
  return k.entry;
}

MoonEphemeris::MoonEntry MoonEphemeris::MoonEntry::At(double julian_day) {
  const SkySeries s = MoonSeries(TerrestrialCenturies(julian_day));
  const MoonVector v = VectorOf(s);
  return {v.x, v.y, v.z, v.equinox_equation, s.moon.longitude, s.moon.latitude};
}

void MoonEphemeris::MoonEntry::Follow(MoonEntry& e, const MoonEntry& near) {
  e.longitude = Beside(e.longitude, near.longitude);
}

MoonEphemeris::SunEntry MoonEphemeris::SunEntry::At(double julian_day) {
  const double t = TerrestrialCenturies(julian_day);
  const SunPlace sun = ApparentSun(t, NutationAt(t));
  return {sun.longitude, sun.distance};
}

void MoonEphemeris::SunEntry::Follow(SunEntry& e, const SunEntry& near) {
  e.longitude = Beside(e.longitude, near.longitude);
}

MoonVector MoonEphemeris::MixedVector() const {
  using M = MoonEntry;
  return {moon_.Mix(&M::x), moon_.Mix(&M::y), moon_.Mix(&M::z), moon_.Mix(&M::equinox_equation)};
}

MoonVector MoonEphemeris::VectorAt(double julian_day) {
  if (!moon_.Around(julian_day)) return MoonVectorAt(julian_day);
  return MixedVector();
}

GeocentricSky MoonEphemeris::At(double julian_day) {
  if (!moon_.Around(julian_day) || !sun_.Around(julian_day)) return GeocentricSkyAt(julian_day);
  return {MixedVector(), moon_.Mix(&MoonEntry::longitude), moon_.Mix(&MoonEntry::latitude),
          sun_.Mix(&SunEntry::longitude), sun_.Mix(&SunEntry::distance)};
}

}  // namespace orvalin
