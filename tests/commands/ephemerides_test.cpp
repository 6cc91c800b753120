#include "commands/ephemerides.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <limits>

#include "commands/memory_window.h"
#include "tests/engine/sun_day_view.h"

namespace orvalin {
namespace {

constexpr double kHorizon = kHorizonAltitude;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// EPHEMERIDES: what the computation stored goes into the window's record, the rest keeps the
// previous day's values; an early return beeps, then tells in the selected language.
TEST(Ephemerides, StoresWhatWasComputedAndTellsWhy) {
  struct Case {
    double west, north;
    std::int16_t day, month;
    bool french;
    const char* message;  // nullptr: none
  } const cases[] = {
      {-6.15, 46.2, 21, 6, false, nullptr},
      {-18.95, 69.65, 21, 6, false, "No sunset"},
      {-18.95, 69.65, 21, 6, true, "Pas de coucher de soleil"},
      {-18.95, 69.65, 21, 12, false, "No sunrise"},
      {-18.95, 67.26, 26, 12, true, "Pas de lever de soleil"},
      {0, 65.96, 19, 6, false, "No sunset"},
      {-1e30 / 3600, 46.2, 21, 6, true, "Overflow in line 5270 of EPHEMERIDES"},
      {-6.15, kNaN, 21, 6, false, "Invalid procedure call or argument in line 5640 of EPHEMERIDES"},
  };
  using Member = double DayResults::*;
  const Member members[] = {&DayResults::SunriseTime,     &DayResults::SunriseAzimuth,
                            &DayResults::CulminationTime, &DayResults::CulminationAzimuth,
                            &DayResults::SunsetTime,      &DayResults::SunsetAzimuth,
                            &DayResults::DayLength,       &DayResults::CulminationElevation};
  const unsigned flags[] = {kStoredSunriseTime,     kStoredSunriseAzimuth,
                            kStoredCulminationTime, kStoredCulminationAzimuth,
                            kStoredSunsetTime,      kStoredSunsetAzimuth,
                            kStoredDayLength,       kStoredCulminationElevation};
  constexpr double kEarlier = 99;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "complete");
    const SunDay sun = ComputeSunDay({c.north, -c.west, kHorizon}, {c.day, c.month, 2009});
    MemoryWindow window;
    window.SelectLanguage(c.french ? Language::French : Language::English);
    DayResults results;
    for (Member m : members) results.*m = kEarlier;
    const SunDay status =
        EPHEMERIDES(window, results, c.west, c.north, kHorizon, c.day, c.month, 2009);
    EXPECT_EQ(status.outcome, sun.outcome);
    EXPECT_EQ(View(status).stored, View(sun).stored);
    for (int k = 0; k < 8; ++k) {
      const SunDayView view = View(sun);
      const double expected = (view.stored & flags[k]) != 0
                                  ? std::bit_cast<std::array<double, 8>>(view.values)[k]
                                  : kEarlier;
      EXPECT_EQ(results.*members[k], expected) << "result " << k;
    }
    const auto& events = window.events();
    if (c.message == nullptr) {
      EXPECT_TRUE(events.empty());
      continue;
    }
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, WindowEvent::Kind::Beep);
    EXPECT_EQ(events[1].box.text, c.message);
    EXPECT_EQ(events[1].box.title, kProgramTitle);
    EXPECT_EQ(events[1].box.buttons, Buttons::Ok);
  }
}

}  // namespace
}  // namespace orvalin
