#include "commands/angle_entry.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/text.h"
#include "tests/support/memory_window.h"

namespace orvalin {
namespace {

constexpr const char* kDeg = "Erreur Insdeg = 0 module VerifAngl. Wrong angle";
constexpr const char* kMin = "Erreur Insmin = 0 module VerifAngl. Wrong angle";
constexpr const char* kSec = "Erreur Inssec = 0 module VerifAngle. Wrong Angle";
constexpr const char* kSign = "Erreur signe module VerifAngle. Wrong Angle";

struct AngleCase {
  std::string text;
  bool padded;  // to 15 characters, as the calculation passes it
  bool has_value;
  double value;
  std::vector<std::string> messages;
};

TEST(AngleEntry, ReadsAndReportsAsTyped) {
  const double v4631 = 46 + 31.0 / 60;
  const AngleCase cases[] = {
      {"46 31 12.5 N", false, true, 46 + 31.0 / 60 + 12.5 / 3600, {}},
      {"46 31 0 N", true, true, v4631, {}},
      {"46   31    0  N", true, true, v4631, {}},
      {"6 38 0 E", false, true, -(6 + 38.0 / 60), {}},
      {"6 38 0 O", false, true, 6 + 38.0 / 60, {}},
      {"6 38 0 W", false, true, 6 + 38.0 / 60, {}},
      {"33 52 4 S", false, true, -(33 + 52.0 / 60 + 4.0 / 3600), {}},
      {"46 31 0 n", false, true, v4631, {kSign}},
      {"46 31 0", true, true, v4631, {kSign}},
      {"4631", false, false, 0, {kDeg, kMin, kSec, kSign}},
      {"4631", true, false, 0, {kMin, kSec, kSign}},
      {"46 31", true, false, 0, {kSec, kSign}},
      {"46", true, false, 0, {kMin, kSec, kSign}},
      {" 46 31 0 N", false, true, 46.0 / 60 + 31.0 / 3600, {kSign}},
      {"-46 30 0 N", false, true, -45.5, {}},
      {"46.6 0 0 N", false, true, 47, {}},
      {"46 30.5 0 N", false, true, 46.5, {}},
      {"046 31 12.3456 N", true, true, 46 + 31.0 / 60 + 12.3456 / 3600, {kSign}},
      {"46 31 0 N trailing", false, true, v4631, {}},
      {"", false, false, 0, {kDeg, kMin, kSec, kSign}},
      {"4\t3\t0\tN", true, false, 0, {kMin, kSec, kSign}},  // a tab is not a separator
      {"91 99 99 N", false, true, 91 + 99.0 / 60 + 99.0 / 3600, {}},
      {"46 31 0 Ñ", false, true, v4631, {kSign}},
  };
  for (const auto& c : cases) {
    const std::string text = c.padded ? FixedText(c.text, 15) : c.text;
    const double window_degrees = c.has_value ? c.value : 123;  // North and West positive
    MemoryWindow window, longitude_window;
    Latitude latitude(123);
    Longitude longitude = Longitude::FromWest(123);
    ReadAngleEntry(window, text, latitude);
    ReadAngleEntry(longitude_window, text, longitude);
    EXPECT_EQ(window.MessageTexts(), c.messages) << '"' << text << '"';
    EXPECT_EQ(longitude_window.MessageTexts(), c.messages) << '"' << text << '"';
    EXPECT_DOUBLE_EQ(latitude.Degrees(), window_degrees) << '"' << text << '"';
    EXPECT_DOUBLE_EQ(longitude.East(), -window_degrees) << '"' << text << '"';
    EXPECT_EQ(window.BeepCount(), 0);
  }
}

TEST(AngleEntry, NumbersBeyondTheirRangeOverflow) {
  for (const char* text : {"40000 0 0 N", "1 40000 0 N", "1 2 1e400 N"}) {
    MemoryWindow window;
    Latitude value(5);
    try {
      ReadAngleEntry(window, text, value);
      ADD_FAILURE() << text;
    } catch (const Failure& f) {
      EXPECT_EQ(f.fault(), Fault::Overflow) << text;
    }
    EXPECT_EQ(value.Degrees(), 5) << text;
    EXPECT_TRUE(window.MessageTexts().empty());
  }
}

}  // namespace
}  // namespace orvalin
