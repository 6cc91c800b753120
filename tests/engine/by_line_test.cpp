// The engine computes what takes no new value once and evaluates the sun six times instead of
// seven; these tests hold it to the plain step-by-step computation, bit for bit, and hold that
// computation to the worked example's intermediate figures.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "engine/sun_day.h"
#include "reference_sun_day.h"
#include "sun_day_view.h"

namespace orvalin {
namespace {

constexpr double kHorizon = kHorizonAltitude;
constexpr Observer kGeneva{Latitude(46.2), Longitude(6.15), kHorizon};
constexpr unsigned kNoon = kStoredCulminationTime | kStoredCulminationElevation;

struct Bits {
  std::uint64_t values[8];
};

void ExpectIdentical(const SunDay& engine, const SunDay& by_line) {
  const Bits e = std::bit_cast<Bits>(View(engine).values);
  const Bits b = std::bit_cast<Bits>(View(by_line).values);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(e.values[k], b.values[k])
        << "result " << k << ": " << std::bit_cast<double>(e.values[k]) << " instead of "
        << std::bit_cast<double>(b.values[k]);
  }
  EXPECT_EQ(View(engine).stored, View(by_line).stored);
  EXPECT_EQ(engine.outcome, by_line.outcome);
  if (engine.outcome == SunOutcome::Fault) {
    EXPECT_EQ(engine.fault, by_line.fault);
    EXPECT_EQ(engine.step, by_line.step);
  }
}

TEST(ByLine, GenevaIntermediateFigures) {
  reference::SunDayByLine by_line(-6.15, 46.2, kHorizon);
  const SunDay day = by_line.Run(21, 6, 2009);
  const reference::Trace& t = by_line.trace_;
  EXPECT_EQ(t.jd, 2455003.5);
  EXPECT_NEAR(t.t0, 1.094688569, 0.5e-9);
  EXPECT_NEAR(t.s0, 17.95477919, 0.5e-8);
  ASSERT_EQ(t.passes.size(), 7u);
  const reference::Pass& noon = t.passes[0];
  EXPECT_NEAR(noon.alpha, 90.273749, 0.5e-6);
  EXPECT_NEAR(noon.delta, 23.437809, 0.5e-6);
  EXPECT_NEAR(noon.x, -0.46883780, 0.5e-8);
  EXPECT_NEAR(noon.hour_angle, 117.958882, 0.5e-6);
  // The first sunrise pass is at noon again; the first sunset pass at the sunrise found.
  EXPECT_EQ(t.passes[1].ut, 12);
  EXPECT_EQ(t.passes[4].ut, t.event_uts[2]);
  const double uts[] = {3.7791982, 3.7554929, 3.7554246, 19.4403722, 19.4854569, 19.4855861};
  ASSERT_EQ(t.event_uts.size(), 6u);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(t.event_uts[k], uts[k], 0.5e-7) << "pass " << k;
  ExpectIdentical(ComputeSunDay(kGeneva, {21, 6, 2009}), day);
}

TEST(ByLine, JulianDays) {
  struct Case {
    std::int16_t day, month, year;
    double jd;
  } const cases[] = {
      {1, 1, 2000, 2451544.5},  {21, 6, 2009, 2455003.5},
      {20, 3, 2009, 2454910.5}, {1, 6, 1900, 2415171.5},  // a century year that is not a leap year
      {15, 1, 1901, 2415399.5},                           // and the January after it
      {29, 2, 2000, 2451603.5}, {1, 3, 1900, 2415079.5},
  };
  for (const Case& c : cases) {
    reference::SunDayByLine by_line(-6.15, 46.2, kHorizon);
    const SunDay day = by_line.Run(c.day, c.month, c.year);
    EXPECT_EQ(by_line.trace_.jd, c.jd) << c.day << "-" << c.month << "-" << c.year;
    ExpectIdentical(ComputeSunDay(kGeneva, {c.day, c.month, c.year}), day);
  }
}

TEST(ByLine, HorizonCosineOfExactlyOneIsNoFault) {
  // Horizons found for a latitude of -60 on 21-06-2009, that make x exactly 1 and -1 at noon.
  struct Case {
    double horizon, x;
  } const cases[] = {{0x1.a3faef0474a64p+2, 1}, {-0x1.ab80a21f716d1p+5, -1}};
  for (const Case& c : cases) {
    reference::SunDayByLine by_line(0, -60, c.horizon);
    const SunDay line_by_line = by_line.Run(21, 6, 2009);
    ASSERT_EQ(by_line.trace_.passes.front().x, c.x) << "the case no longer hits exactly";

    const SunDay sun = ComputeSunDay({Latitude(-60), Longitude(0), c.horizon}, {21, 6, 2009});
    EXPECT_NE(sun.outcome, SunOutcome::Fault) << c.x;
    EXPECT_EQ(View(sun).stored & kNoon, kNoon) << c.x;
    ExpectIdentical(sun, line_by_line);
  }
}

TEST(ByLine, EngineIsBitIdenticalOverRandomPlacesAndDates) {
  std::mt19937_64 random(1900);
  std::uniform_real_distribution<double> west(-180, 180), north(-90, 90), polar(60, 70);
  std::uniform_int_distribution<int> day(1, 31), month(1, 12), year(1800, 2200);
  std::uniform_int_distribution<int> any(-32768, 32767);  // whatever 16 bits can carry
  int counts[4] = {};
  for (int k = 0; k < 30000; ++k) {
    const double w = west(random);
    const double n = k % 4 == 0 ? (k % 8 == 0 ? 1 : -1) * polar(random) : north(random);
    const bool wild = k % 10 == 0;
    const auto d = static_cast<std::int16_t>(wild ? any(random) : day(random));
    const auto m = static_cast<std::int16_t>(wild ? any(random) : month(random));
    const auto y = static_cast<std::int16_t>(wild ? any(random) : year(random));
    const SunDay engine = ComputeSunDay({Latitude(n), Longitude::FromWest(w), kHorizon}, {d, m, y});
    ++counts[static_cast<int>(engine.outcome)];
    SCOPED_TRACE(testing::Message()
                 << std::hexfloat << w << " " << n << " " << d << "-" << m << "-" << y);
    EXPECT_NE(engine.outcome, SunOutcome::Fault);
    ExpectIdentical(engine, reference::ComputeByLine(w, n, kHorizon, d, m, y));
    if (HasFailure()) break;
  }
  // Every way out was taken.
  EXPECT_GT(counts[static_cast<int>(SunOutcome::Complete)], 10000);
  EXPECT_GT(counts[static_cast<int>(SunOutcome::NoSunrise)], 100);
  EXPECT_GT(counts[static_cast<int>(SunOutcome::NoSunset)], 100);
}

}  // namespace
}  // namespace orvalin
