#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "engine/helpers.h"
#include "engine/sun_day.h"
#include "reference_sun_day.h"
#include "sun_day_view.h"

namespace orvalin {
namespace {

constexpr double kHorizon = kHorizonAltitude;
constexpr Observer kGeneva{Latitude(46.2), Longitude(6.15), kHorizon};
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kNotGiven = kNaN;

// A figure given to some decimals holds to half a unit of the last one.
void ExpectFigure(double actual, double given, double half_unit, const char* what) {
  if (std::isnan(given)) return;
  EXPECT_NEAR(actual, given, half_unit) << what;
}

struct WorkedDay {
  const char* place;
  double west, north;
  std::int16_t day, month, year;
  double sunrise, culmination, sunset, length, elevation;       // hours to 1e-7, degrees to 1e-6
  double sunrise_azimuth, culmination_azimuth, sunset_azimuth;  // degrees to 1e-4
};

TEST(ComputeSunDay, WorkedExamples) {
  const WorkedDay days[] = {
      {"Geneva", -6.15, 46.2, 21, 6, 2009, 3.7554246, 11.6206159, 19.4855861, 15.7301615, 67.237809,
       54.1398, 180, 305.8584},
      {"New York", 74, 40.7, 20, 3, 2009, 11.0047576, 17.0575761, 23.1197460, 12.1149884, kNotGiven,
       89.4895, 180, 270.7736},
      // Far east: sunset comes before sunrise in UT, and the sun culminates to the north.
      {"Sydney", -151.2, -33.87, 21, 6, 2009, 21.0240368, kNotGiven, 6.8777064, 9.8536696,
       kNotGiven, 61.8421, 0, 298.1597},
      // Sunset after 0 h UT in November: the sidereal span is reduced before it becomes solar
      // hours (0.739741 h, 236 s early, otherwise).
      {"Los Angeles", 118.24, 34.05, 15, 11, 2020, kNotGiven, kNotGiven, 0.805423, kNotGiven,
       kNotGiven, kNotGiven, 180, kNotGiven},
  };
  for (const WorkedDay& w : days) {
    SCOPED_TRACE(w.place);
    const SunDay sun = ComputeSunDay({Latitude(w.north), Longitude::FromWest(w.west), kHorizon},
                                     {w.day, w.month, w.year});
    ASSERT_EQ(sun.outcome, SunOutcome::Complete);
    EXPECT_EQ(View(sun).stored, kStoredAll);
    const SunValues r = View(sun).values;
    const double hours = 0.5e-7, degrees = 0.5e-6, azimuth = 0.5e-4;
    ExpectFigure(r.SunriseTime, w.sunrise, hours, "sunrise");
    ExpectFigure(r.CulminationTime, w.culmination, hours, "culmination");
    ExpectFigure(r.SunsetTime, w.sunset, w.sunset < 1 ? 0.5e-6 : hours, "sunset");
    ExpectFigure(r.DayLength, w.length, hours, "day length");
    ExpectFigure(r.CulminationElevation, w.elevation, degrees, "elevation");
    ExpectFigure(r.SunriseAzimuth, w.sunrise_azimuth, azimuth, "sunrise azimuth");
    EXPECT_EQ(r.CulminationAzimuth, w.culmination_azimuth);
    ExpectFigure(r.SunsetAzimuth, w.sunset_azimuth, azimuth, "sunset azimuth");
  }
}

TEST(ComputeSunDay, GenevaTextsToTheCharacter) {
  const SunValues r = View(ComputeSunDay(kGeneva, {21, 6, 2009})).values;
  EXPECT_EQ(TimeText(r.SunriseTime), " 3h 45mn 19.5s");
  EXPECT_EQ(TimeText(r.CulminationTime), " 11h 37mn 14.2s");
  EXPECT_EQ(TimeText(r.DayLength), " 15h 43mn 48.5s");
  EXPECT_EQ(AngleText(r.CulminationElevation), "  67\u00B0 14' 16.1\"");
  EXPECT_EQ(AngleText(r.CulminationAzimuth), "  180\u00B0 0' 0\"");
}

TEST(ComputeSunDay, CulminationAzimuthIsSouthUnlessTheSunPassesNorthOfTheZenith) {
  // The noon declination itself as latitude: the sun culminates at the zenith, counted south.
  reference::SunDayByLine by_line(0, 0, kHorizon);
  by_line.Run(21, 6, 2009);
  const double noon_declination = by_line.trace_.passes.front().delta;
  struct Case {
    double north, azimuth;
  } const cases[] = {
      {noon_declination, 180},
      {std::nextafter(noon_declination, 0.0), 0},
      {10, 0},
      {-33.87, 0},
      {46.2, 180},
  };
  for (const Case& c : cases) {
    const SunDay sun = ComputeSunDay({Latitude(c.north), Longitude(0), kHorizon}, {21, 6, 2009});
    ASSERT_EQ(sun.outcome, SunOutcome::Complete) << c.north;
    EXPECT_EQ(View(sun).values.CulminationAzimuth, c.azimuth) << c.north;
  }
}

struct EarlyDay {
  const char* when;
  double west, north;
  std::int16_t day, month, year;
  SunOutcome outcome;
  unsigned stored;
  double length;
};

constexpr unsigned kNoon = kStoredCulminationTime | kStoredCulminationElevation;

TEST(ComputeSunDay, EarlyReturnsStoreOnlyWhatCameBefore) {
  const EarlyDay days[] = {
      {"midnight sun, noon pass", -18.95, 69.65, 21, 6, 2009, SunOutcome::NoSunset,
       kStoredDayLength, 24},
      {"polar night, noon pass", -18.95, 69.65, 21, 12, 2009, SunOutcome::NoSunrise,
       kStoredDayLength, 0},
      {"north pole, June", 0, 90, 21, 6, 2009, SunOutcome::NoSunset, kStoredDayLength, 24},
      {"north pole, December", 0, 90, 21, 12, 2009, SunOutcome::NoSunrise, kStoredDayLength, 0},
      {"south pole, December", 0, -90, 21, 12, 2009, SunOutcome::NoSunset, kStoredDayLength, 24},
      {"south pole, June", 0, -90, 21, 6, 2009, SunOutcome::NoSunrise, kStoredDayLength, 0},
      {"no sunset, sunrise passes", -18.95, 65.96, 19, 6, 2009, SunOutcome::NoSunset,
       kNoon | kStoredDayLength, 24},
      {"no sunrise, sunrise passes", -18.95, 67.26, 26, 12, 2009, SunOutcome::NoSunrise,
       kNoon | kStoredDayLength, 0},
      {"no sunset, sunset passes", 0, 65.96, 19, 6, 2009, SunOutcome::NoSunset,
       kNoon | kStoredSunriseTime | kStoredDayLength, 24},
      {"no sunrise, sunset passes", -180, 67.18, 23, 12, 2009, SunOutcome::NoSunrise,
       kNoon | kStoredSunriseTime | kStoredDayLength, 0},
  };
  for (const EarlyDay& e : days) {
    SCOPED_TRACE(e.when);
    const SunDay sun = ComputeSunDay({Latitude(e.north), Longitude::FromWest(e.west), kHorizon},
                                     {e.day, e.month, e.year});
    EXPECT_EQ(sun.outcome, e.outcome);
    EXPECT_EQ(View(sun).stored, e.stored);
    EXPECT_EQ(View(sun).values.DayLength, e.length);
  }
}

struct FaultyDay {
  const char* why;
  double west, north, horizon;
  Fault fault;
  int step;
  unsigned stored;
};

TEST(ComputeSunDay, ArithmeticFaultsStopAtTheirStep) {
  const FaultyDay days[] = {
      // "0 0 1e30 E": adding 24 hours would no longer change the sidereal time.
      {"longitude of 1e30 seconds", -1e30 / 3600, 46.2, kHorizon, Fault::Overflow, 5270, kNoon},
      {"longitude of 1e14 seconds", 1e14 / 3600, 46.2, kHorizon, Fault::Overflow, 5270, kNoon},
      {"infinite longitude", kInf, 46.2, kHorizon, Fault::Overflow, 4940, 0},
      {"longitude not a number", kNaN, 46.2, kHorizon, Fault::InvalidCall, 4940, 0},
      {"latitude not a number", -6.15, kNaN, kHorizon, Fault::InvalidCall, 5640, 0},
      {"infinite latitude", -6.15, -kInf, kHorizon, Fault::InvalidCall, 5640, 0},
      {"infinite horizon", -6.15, 46.2, kInf, Fault::InvalidCall, 5640, 0},
  };
  for (const FaultyDay& f : days) {
    SCOPED_TRACE(f.why);
    const SunDay sun =
        ComputeSunDay({Latitude(f.north), Longitude::FromWest(f.west), f.horizon}, {21, 6, 2009});
    EXPECT_EQ(sun.outcome, SunOutcome::Fault);
    EXPECT_EQ(sun.fault, f.fault);
    EXPECT_EQ(sun.step, f.step);
    EXPECT_EQ(View(sun).stored, f.stored);
  }
}

TEST(ComputeSunDay, AHugeButBoundedLongitudeStillComputes) {
  // Just under the bound: about 100,000 turns of the loop per pass.
  const SunDay sun =
      ComputeSunDay({Latitude(46.2), Longitude(-15 * 2399900.0), kHorizon}, {21, 6, 2009});
  EXPECT_EQ(sun.outcome, SunOutcome::Complete);
  EXPECT_GE(View(sun).values.SunriseTime, 0);
  EXPECT_LT(View(sun).values.SunriseTime, 24);
}

bool SameResults(const SunDay& a, const SunDay& b) {
  using Bits = std::array<std::uint64_t, 8>;
  return std::bit_cast<Bits>(View(a).values) == std::bit_cast<Bits>(View(b).values) &&
         View(a).stored == View(b).stored && a.outcome == b.outcome;
}

TEST(ComputeSunDay, DaysPastTheMonthsEndRunIntoTheNextMonth) {
  EXPECT_TRUE(
      SameResults(ComputeSunDay(kGeneva, {31, 2, 2009}), ComputeSunDay(kGeneva, {3, 3, 2009})));
  EXPECT_TRUE(
      SameResults(ComputeSunDay(kGeneva, {0, 3, 2008}), ComputeSunDay(kGeneva, {29, 2, 2008})));
}

}  // namespace
}  // namespace orvalin
