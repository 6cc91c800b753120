#include "cli/table/sun_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <tuple>

#include "cli/table/day_span.h"
#include "cli/table/progress.h"
#include "clock/clock.h"
#include "commands/calculate_day.h"
#include "common/out_text.h"
#include "engine/helpers.h"
#include "engine/sun_day.h"
#include "tests/support/session_fixture.h"
#include "tests/support/table_rows.h"

namespace orvalin {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

constexpr Day kD(int y, unsigned m, unsigned d) { return Day{year{y}, month{m}, day{d}}; }

SunSettings Altitudes(double horizon, std::optional<double> twilight) {
  SunSettings s;
  s.horizon = horizon;
  s.twilight = twilight;
  return s;
}

TablePlace Place(double latitude, double longitude_east) {
  TablePlace p;
  p.latitude = latitude;
  p.longitude_east = longitude_east;
  return p;
}

TEST(SunTable, WorkedExampleShowsTheWindowsTexts) {
  MemoryWindow window;
  Session session(window);
  session.HorizonAltitude = kHorizonAltitude;
  window.SetFieldText(Field::City, "Geneva");
  window.SetFieldText(Field::Latitude, "46 12 0 N");
  window.SetFieldText(Field::Longitude, "6 9 0 E");
  window.SetFieldText(Field::Gmt, "1");
  window.SetFieldText(Field::Date, "21-06-2009");
  CalculateDay(session);
  ASSERT_TRUE(window.events().empty());

  const SunRow row = ComputeRow(Place(46.2, 6.15), kD(2009, 6, 21), Clock::Universal());
  EXPECT_EQ(row.status, SunOutcome::Complete);
  EXPECT_EQ(row.sunrise.text, " 3h 45mn 19.5s");
  EXPECT_EQ(row.culmination.text, " 11h 37mn 14.2s");
  EXPECT_EQ(row.day_length_text, " 15h 43mn 48.5s");
  const std::pair<std::string, std::string> same[] = {
      {row.sunrise.text, window.FieldText(Field::SunriseTime)},
      {row.sunrise_azimuth.text, window.FieldText(Field::SunriseAzimuth)},
      {row.culmination.text, window.FieldText(Field::CulminationTime)},
      {row.culmination_azimuth.text, window.FieldText(Field::CulminationAzimuth)},
      {row.sunset.text, window.FieldText(Field::SunsetTime)},
      {row.sunset_azimuth.text, window.FieldText(Field::SunsetAzimuth)},
      {row.day_length_text, window.FieldText(Field::DayLength)},
      {row.elevation.text, window.FieldText(Field::CulminationElevation)}};
  for (const auto& [table, shown] : same) EXPECT_EQ(table, shown);
}

// Europe/Zurich moved from +1 to +2 at 01:00 UT on 29-03-2009: sunrise, near 5 h UT, moves by a
// whole hour on the zone's clock and not on the place's fixed offset.
TEST(SunTable, ClocksAroundTheSpringChangeInZurich) {
  const TablePlace zurich = Place(47 + 22 / 60.0, 8 + 33 / 60.0);
  const Clock zone = *Clock::Zone("Europe/Zurich");
  struct Case {
    unsigned day;
    int zone_offset;
  };
  for (const Case c : {Case{28, 1}, Case{29, 2}, Case{30, 2}}) {
    const Day d = kD(2009, 3, c.day);
    const SunRow ut = ComputeRow(zurich, d, Clock::Universal());
    const SunRow gmt = ComputeRow(zurich, d, Clock::Gmt(1));
    const SunRow local = ComputeRow(zurich, d, zone);
    for (const auto& [u, g, z] : {std::tie(ut.sunrise, gmt.sunrise, local.sunrise),
                                  std::tie(ut.sunset, gmt.sunset, local.sunset)}) {
      ASSERT_TRUE(u.known);
      EXPECT_EQ(g.text, TimeText(u.local.hours + 1)) << c.day;
      EXPECT_EQ(z.text, TimeText(u.local.hours + c.zone_offset)) << c.day;
      EXPECT_EQ(z.local.date, d);
      EXPECT_EQ(z.local.day_shift, 0);
    }
    EXPECT_EQ(local.day_length_text, ut.day_length_text);  // a length is no time of day
  }
}

TEST(SunTable, ClockConversionsCrossMidnightBothWays) {
  struct Case {
    const char* zone;  // nullptr: GMT-5
    Day day;
    double ut;
    double local;
    int shift;
  };
  const Case cases[] = {
      {"Europe/Zurich", kD(2009, 3, 29), 0.99, 1.99, 0},    // last minute of winter time
      {"Europe/Zurich", kD(2009, 3, 29), 1.0, 3.0, 0},      // first of summer time
      {"Europe/Zurich", kD(2009, 10, 25), 0.99, 2.99, 0},   // summer time, last minute
      {"Europe/Zurich", kD(2009, 10, 25), 1.0, 2.0, 0},     // the hour repeated in winter time
      {"Europe/Zurich", kD(2009, 12, 31), 23.5, 0.5, 1},    // into the new year
      {"America/New_York", kD(2009, 3, 1), 2.0, 21.0, -1},  // the evening before
      {"Asia/Kolkata", kD(2009, 6, 21), 20.0, 1.5, 1},      // half-hour offset
      {nullptr, kD(2009, 1, 1), 3.0, 22.0, -1},
  };
  for (const Case& c : cases) {
    const Clock clock = c.zone ? *Clock::Zone(c.zone) : Clock::Gmt(-5);
    const LocalTime t = clock.At(c.day, c.ut);
    EXPECT_NEAR(t.hours, c.local, 1e-9) << clock.Name() << ' ' << c.ut;
    EXPECT_EQ(t.day_shift, c.shift) << clock.Name() << ' ' << c.ut;
    EXPECT_EQ(std::chrono::sys_days(t.date),
              std::chrono::sys_days(c.day) + std::chrono::days{c.shift});
  }
  EXPECT_FALSE(Clock::Zone("Mars/Olympus_Mons"));
  EXPECT_FALSE(Clock::Zone(""));
  EXPECT_EQ(Clock::Gmt(-5).Name(), "GMT-5");
  // What each zone does, said: EST has never kept daylight saving time, Etc/GMT+5 is one offset.
  EXPECT_EQ(Clock::Zone("Europe/Zurich")->Description(),
            "Europe/Zurich local time (daylight saving included)");
  EXPECT_TRUE(Clock::Zone("EST")->Description().ends_with("no daylight saving)"));
  EXPECT_EQ(Clock::Zone("Etc/GMT+5")->Description(),
            "Etc/GMT+5 local time (UTC-05:00, no daylight saving)");
}

// A row on a clock is a calendar day of that clock: east and west of Greenwich, every event of
// the row falls on its date, in the order of the day.
TEST(SunTable, LocalDaysHoldThatDaysEvents) {
  const TablePlace sydney = Place(-(33 + 52 / 60.0), 151 + 12 / 60.0);
  const TablePlace anchorage = Place(61 + 13 / 60.0, -(149 + 54 / 60.0));
  const struct {
    const char* zone;  // nullptr: the stored offset
    int gmt;
    TablePlace place;
    double sunrise, sunset;  // local hours, roughly
  } cases[] = {
      {"Australia/Sydney", 0, sydney, 7.0, 16.9},
      {nullptr, 10, sydney, 7.0, 16.9},
      {"America/Anchorage", 0, anchorage, 4.4, 23.65},
      {nullptr, -9, anchorage, 3.4, 22.65},
  };
  for (const auto& c : cases) {
    const Clock clock = c.zone ? *Clock::Zone(c.zone) : Clock::Gmt(c.gmt);
    const std::vector<SunRow> rows = ComputeRows(c.place, kD(2027, 6, 20), kD(2027, 6, 22), clock);
    ASSERT_EQ(rows.size(), 3u);
    for (const SunRow& r : rows) {
      for (const EventTime* e : {&r.sunrise, &r.culmination, &r.sunset}) {
        EXPECT_EQ(e->count, 1) << clock.Name();
        EXPECT_EQ(e->local.date, r.date) << clock.Name();
        EXPECT_EQ(e->local.day_shift, 0) << clock.Name();
      }
      EXPECT_NEAR(r.sunrise.local.hours, c.sunrise, 0.1) << clock.Name();
      EXPECT_NEAR(r.sunset.local.hours, c.sunset, 0.1) << clock.Name();
      EXPECT_LT(r.sunrise.local.hours, r.culmination.local.hours);
      EXPECT_LT(r.culmination.local.hours, r.sunset.local.hours);
      EXPECT_EQ(r.note, "") << clock.Name();
      EXPECT_NEAR(r.day_length, c.sunset - c.sunrise, 0.1) << clock.Name();
    }
  }
}

// Geneva on a clock five hours ahead sees its sunsets near midnight: as they grow later a day
// goes without one, as they grow earlier a day holds two. The rows streamed over the span
// equal the rows computed one by one.
TEST(SunTable, LocalDaysMarkMissingAndDoubleEvents) {
  const TablePlace geneva = Place(46.2, 6.15);
  const Clock clock = *Clock::Zone("Etc/GMT-5");
  const std::vector<SunRow> rows = ComputeRows(geneva, kD(2027, 5, 15), kD(2027, 8, 6), clock);
  int missing = 0, doubled = 0;
  for (const SunRow& r : rows) {
    const SunRow alone = ComputeRow(geneva, r.date, clock);
    EXPECT_EQ(alone.sunset.text, r.sunset.text);
    EXPECT_EQ(alone.note, r.note);
    if (r.date == kD(2027, 5, 16)) {
      EXPECT_EQ(r.sunset.count, 0);
      EXPECT_EQ(r.note, "no sunset on this day");
    }
    if (r.date == kD(2027, 8, 5)) {
      EXPECT_EQ(r.sunset.count, 2);
      EXPECT_EQ(r.note, "two sunsets on this day (the second at 23:59:04)");
    }
    missing += r.sunset.count == 0 ? 1 : 0;
    doubled += r.sunset.count == 2 ? 1 : 0;
  }
  EXPECT_EQ(missing, 1);
  EXPECT_EQ(doubled, 1);
}

// Dawn and dusk at each twilight's altitude, in the order of the day, and marked where the sun
// never goes that low; another horizon moves sunrise and sunset.
TEST(SunTable, TwilightsAndHorizons) {
  const TablePlace geneva = Place(46.2, 6.15);
  const Day equinox = kD(2027, 3, 20);
  const SunRow plain = ComputeRow(geneva, equinox, Clock::Universal());
  EXPECT_FALSE(plain.dawn.known || plain.dusk.known);
  double earlier_dawn = plain.sunrise.local.hours;
  for (const double altitude : {-6.0, -12.0, -18.0}) {
    const SunRow r =
        ComputeRow(geneva, equinox, Clock::Universal(), Altitudes(kHorizonAltitude, altitude));
    ASSERT_TRUE(r.dawn.known && r.dusk.known) << altitude;
    EXPECT_EQ(r.sunrise.text, plain.sunrise.text);
    EXPECT_LT(r.dawn.local.hours, earlier_dawn) << altitude;
    EXPECT_GT(r.dusk.local.hours, r.sunset.local.hours) << altitude;
    earlier_dawn = r.dawn.local.hours;
  }
  const SunRow zero = ComputeRow(geneva, equinox, Clock::Universal(), Altitudes(0, std::nullopt));
  EXPECT_GT(zero.sunrise.local.hours, plain.sunrise.local.hours);
  EXPECT_LT(zero.day_length, plain.day_length);

  // Berlin's midsummer nights stay lighter than -18 degrees.
  const TablePlace berlin = Place(52.5, 13.4);
  const SunRow light =
      ComputeRow(berlin, kD(2027, 6, 21), Clock::Universal(), Altitudes(kHorizonAltitude, -18));
  EXPECT_EQ(light.twilight_status, SunOutcome::NoSunset);
  EXPECT_FALSE(light.dawn.known || light.dusk.known);
  EXPECT_NE(light.twilight_note, "");
  EXPECT_EQ(light.status, SunOutcome::Complete);
  const SunRow local = ComputeRow(berlin, kD(2027, 6, 21), *Clock::Zone("Europe/Berlin"),
                                  Altitudes(kHorizonAltitude, -18));
  EXPECT_EQ(local.note, "");  // a day without dusk is no surprise then
}

TEST(OutText, ClockTextsRoundButATimeOfDayStaysInItsDay) {
  const struct {
    double hours;
    bool minutes, time_of_day;
    const char* text;
  } cases[] = {
      {7.263889, false, true, "07:15:50"}, {7.263889, true, true, "07:16"},
      {23.99999, false, true, "23:59:59"}, {23.999, true, true, "23:59"},
      {24.0, false, false, "24:00:00"},    {0.0, true, false, "00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClockText(c.hours, c.minutes, c.time_of_day), c.text);
}

TEST(OutText, IsoTimestampsRoundToTheSecondAndCarryTheOffset) {
  const struct {
    Day date;
    double hours;
    int offset;
    const char* text;
  } cases[] = {
      {kD(2027, 3, 1), 7.25, 3600, "2027-03-01T07:15:00+01:00"},
      {kD(2027, 3, 1), 1.5, 19'800, "2027-03-01T01:30:00+05:30"},
      {kD(2027, 3, 1), 21.0, -18'000, "2027-03-01T21:00:00-05:00"},
      {kD(2027, 12, 31), 23.99999, 0, "2028-01-01T00:00:00+00:00"},
      {kD(9, 1, 2), 0, -34'200, "0009-01-02T00:00:00-09:30"},
  };
  for (const auto& c : cases) EXPECT_EQ(IsoTimestamp(c.date, c.hours, c.offset), c.text);
}

TEST(SunTable, PolarDayAndNightSayWhyAndCarryTheirLength) {
  const TablePlace tromso = Place(69.65, 18.95);
  const SunRow summer = ComputeRow(tromso, kD(2009, 6, 21), Clock::Universal());
  EXPECT_EQ(summer.status, SunOutcome::NoSunset);
  EXPECT_EQ(summer.day_length_text, " 24h 0mn 0s");
  EXPECT_EQ(summer.note, "no sunset: the sun stays up all day");
  EXPECT_FALSE(summer.sunrise.known || summer.sunset.known);

  const SunRow winter = ComputeRow(tromso, kD(2009, 12, 21), Clock::Universal());
  EXPECT_EQ(winter.status, SunOutcome::NoSunrise);
  EXPECT_TRUE(winter.day_length_known);
  EXPECT_EQ(winter.day_length, 0);
  EXPECT_EQ(winter.day_length_text, " 0h 0mn 0s");
  EXPECT_EQ(winter.note, "no sunrise: the sun stays down all day");
  EXPECT_FALSE(winter.sunrise.known || winter.culmination.known || winter.elevation.known);
}

// At the edges of the midnight sun a day may hold a sunset and then a sunrise: it says so, and
// its length is its two stretches of light. A day the clock skipped is no row.
TEST(SunTable, PolarEdgesAndSkippedDaysShowWhatTheyHold) {
  const TablePlace tromso = Place(69.65, 18.95);
  const Clock oslo = *Clock::Zone("Europe/Oslo");
  const SunRow dip = ComputeRow(tromso, kD(2027, 5, 19), oslo);
  EXPECT_EQ(dip.status, SunOutcome::Complete);
  ASSERT_TRUE(dip.sunset.known && dip.sunrise.known);
  EXPECT_LT(dip.sunset.local.hours, dip.sunrise.local.hours);
  EXPECT_NEAR(dip.day_length, 24 - (dip.sunrise.local.hours - dip.sunset.local.hours), 1e-9);
  EXPECT_EQ(dip.daylight.size(), 2u);
  const SunRow up = ComputeRow(tromso, kD(2027, 7, 25), oslo);
  EXPECT_EQ(up.status, SunOutcome::NoSunset);
  EXPECT_FALSE(up.sunset.known || up.sunrise.known);
  EXPECT_EQ(up.day_length, 24);

  const Clock apia = *Clock::Zone("Pacific/Apia");
  std::vector<Day> rows, skipped;
  ForEachRow(
      Place(-13.83, -171.77), kD(2011, 12, 29), kD(2011, 12, 31), apia,
      [&](const SunRow& r) { rows.push_back(r.date); }, {}, [&](Day d) { skipped.push_back(d); });
  EXPECT_EQ(rows, (std::vector<Day>{kD(2011, 12, 29), kD(2011, 12, 31)}));
  EXPECT_EQ(skipped, std::vector<Day>{kD(2011, 12, 30)});
}

// Progress shows only where it is asked for or on a terminal, once a second has passed, and
// leaves nothing behind on the line.
TEST(Progress, OnlyOnATerminalOrWhenForcedAndClearedAtTheEnd) {
  const std::tuple<Progress::Mode, bool, bool> cases[] = {{Progress::Mode::Auto, false, false},
                                                          {Progress::Mode::Quiet, true, false},
                                                          {Progress::Mode::Forced, false, true},
                                                          {Progress::Mode::Auto, true, true}};
  std::ostringstream err[4];
  auto now = Progress::Clock::now();
  {
    std::vector<std::unique_ptr<Progress>> runs;
    for (int k = 0; k < 4; ++k) {
      const auto& [mode, terminal, shown] = cases[k];
      runs.push_back(
          std::make_unique<Progress>(err[k], "orvalin-table", "days", 8, mode, terminal,
                                     [&now] { return now; }));
      runs.back()->Step();
    }
    now += std::chrono::milliseconds(1050);
    for (auto& run : runs) {
      run->Step();
      run->Step();
    }
  }
  for (int k = 0; k < 4; ++k) {
    const bool shown = std::get<2>(cases[k]);
    EXPECT_EQ(err[k].str().find("orvalin-table: 3 of 8 days (37%)") != std::string::npos, shown)
        << err[k].str();
    if (shown) {
      EXPECT_TRUE(err[k].str().ends_with("\r\x1b[K")) << err[k].str();
    }
  }
}

TEST(DaySpan, ReadsStrictDatesAndSpans) {
  EXPECT_EQ(ParseDayText("--date", "21-06-2009"), kD(2009, 6, 21));
  EXPECT_EQ(ParseDayText("--date", "1-6-2009"), kD(2009, 6, 1));
  EXPECT_EQ(ParseMonthText("--month", "02-2008").second, kD(2008, 2, 29));
  EXPECT_EQ(ParseYearText("--year", "2009").second, kD(2009, 12, 31));
  EXPECT_EQ(DaysFromTo(kD(2008, 12, 30), kD(2009, 1, 2)).size(), 4u);
  EXPECT_EQ(DaysFromTo(kD(2009, 1, 1), kD(2009, 12, 31)).size(), 365u);
  EXPECT_TRUE(DaysFromTo(kD(2009, 1, 2), kD(2009, 1, 1)).empty());
  for (const char* bad : {"29-02-2009", "32-01-2009", "21-13-2009", "21/06/2009", "2009-21-06",
                          "21-06-09", "21-06-2009x", "", "00-06-2009", "21-06-0000"}) {
    EXPECT_THROW(ParseDayText("--date", bad), std::exception) << bad;
  }
  EXPECT_THROW(ParseMonthText("--month", "13-2009"), std::exception);
  EXPECT_THROW(ParseYearText("--year", "209"), std::exception);
}

}  // namespace
}  // namespace orvalin
