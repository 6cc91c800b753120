#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "commands/calculate_day.h"
#include "tests/engine/sun_day_view.h"
#include "tests/support/memory_window.h"

namespace orvalin {
namespace {

constexpr double kHorizon = kHorizonAltitude;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The engine's day at the West-positive longitude, bit for bit; an early return beeps, then tells
// in the selected language.
TEST(ComputeAndTellDay, ComputesTheEnginesDayAndTellsWhyItStopped) {
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "complete");
    const Observer at{Latitude(c.north), Longitude::FromWest(c.west), kHorizon};
    const SunDay sun = ComputeSunDay(at, {c.day, c.month, 2009});
    MemoryWindow window;
    window.SelectLanguage(c.french ? Language::French : Language::English);
    const SunDay told = ComputeAndTellDay(window, at, {c.day, c.month, 2009});
    EXPECT_EQ(told.outcome, sun.outcome);
    EXPECT_EQ(View(told).stored, View(sun).stored);
    using Bits = std::array<std::uint64_t, 8>;
    EXPECT_EQ(std::bit_cast<Bits>(View(told).values), std::bit_cast<Bits>(View(sun).values));
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
