// The forms in which the tools take latitudes, longitudes and dates, and their refusals.
#include <gtest/gtest.h>

#include "cli/args/tool_errors.h"
#include "cli/table/day_span.h"
#include "cli/table/place_input.h"

namespace orvalin {
namespace {

struct TypedPlace {
  const char *lat, *lon;
  double north, west;
  const char *lat_text, *lon_text;  // the window's texts
};

TEST(InputForms, EveryAcceptedAngleFormGivesTheSamePlace) {
  const TypedPlace cases[] = {
      {"46 12 0 N", "6 9 0 E", 46.2, -6.15, "46 12 0 N", "6 9 0 E"},
      {"46.2", "6.15", 46.2, -6.15, "46 12 0 N", "6 9 0 E"},
      {"+46.2", "-6.15", 46.2, 6.15, "46 12 0 N", "6 9 0 W"},
      {"-33.87", "151.21", -33.87, -151.21, "33 52 12 S", "151 12 36 E"},
      {"46.2N", "6.15 e", 46.2, -6.15, "46 12 0 N", "6 9 0 E"},
      {"46°12'N", "6°9'W", 46.2, 6.15, "46 12 0 N", "6 9 0 W"},
      {"46°12'0\"N", "6° 9′ 0″ E", 46.2, -6.15, "46 12 0 N", "6 9 0 E"},
      {"46 12 0 n", "6 9 0 o", 46.2, 6.15, "46 12 0 N", "6 9 0 O"},
      {"-90", "180", -90, -180, "90 0 0 S", "180 0 0 E"},
  };
  for (const TypedPlace& c : cases) {
    const TablePlace place = PlaceFromTyped(c.lat, c.lon);
    EXPECT_NEAR(place.latitude, c.north, 1e-12) << c.lat;
    EXPECT_NEAR(place.longitude_east, -c.west, 1e-12) << c.lon;
    EXPECT_EQ(place.latitude_text, c.lat_text) << c.lat;
    EXPECT_EQ(place.longitude_text, c.lon_text) << c.lon;
  }
}

// The message of a refused command line, "" when it was accepted.
template <typename Read>
std::string Refusal(Read read) {
  try {
    read();
  } catch (const BadUsage& e) {
    return e.what();
  }
  return {};
}

TEST(InputForms, EveryRefusedAngleNamesItsTextAndTheAcceptedForms) {
  const std::pair<const char*, const char*> cases[] = {
      {"46 12 N", "cannot be read: no capital N, S, E, W or O after the seconds"},
      {"46.2E", "ends in E, which does not suit a latitude"},
      {"-46.2N", "has both a sign and a hemisphere letter"},
      {"91", "lies beyond 90 degrees"},
      {"46°60'N", "has 60 minutes or seconds, or more"},
      {"46.5°12'N", "has a decimal part before its last number"},
      {"46,2", "cannot be read"},
      {"north", "cannot be read"},
  };
  for (const auto& [lat, why] : cases) {
    const std::string typed = lat;  // a lambda cannot capture a structured binding in C++20
    const std::string message = Refusal([&] { PlaceFromTyped(typed, "6.15"); });
    EXPECT_EQ(message.rfind("--lat \"" + std::string(lat) + "\": " + why, 0), 0u) << message;
    EXPECT_NE(message.find("; accepted forms: 46.2 or -33.87 (north positive), 46.2N, "
                           "46°12'N, 46°12'0\"N or \"46 12 0 N\""),
              std::string::npos)
        << message;
  }
  EXPECT_NE(Refusal([] { PlaceFromTyped("46.2", "180.5"); }).find("beyond 180 degrees"),
            std::string::npos);
  EXPECT_NE(Refusal([] { PlaceFromTyped("46.2", "6.15N"); }).find("(E, W or O)"),
            std::string::npos);
}

TEST(InputForms, DatesInTheWindowsOrderAndInIsoOrder) {
  using std::chrono::year;
  const Day march_first{year{2027} / 3 / 1};
  for (const char* text : {"01-03-2027", "1-3-2027", "2027-03-01"}) {
    EXPECT_EQ(ParseDayText("--date", text), march_first) << text;
  }
  for (const char* text : {"03-2027", "2027-03"}) {
    const auto [first, last] = ParseMonthText("--month", text);
    EXPECT_EQ(first, march_first) << text;
    EXPECT_EQ(last, (Day{year{2027} / 3 / 31})) << text;
  }
  const std::pair<const char*, const char*> refused[] = {
      {"2027-02-29", "--date \"2027-02-29\": there is no such day"},
      {"2027-13-01", "--date \"2027-13-01\": the month must be from 01 to 12"},
      {"0000-01-01", "--date \"0000-01-01\": the year must be from 1 to 9999"},
      {"27-03-01",
       "--date \"27-03-01\": expected a date DD-MM-YYYY or YYYY-MM-DD, e.g. "
       "21-06-2009 or 2009-06-21"},
      {"2027-03-01T00", "--date \"2027-03-01T00\": expected a date"},
  };
  for (const auto& [text, message] : refused) {
    const std::string typed = text;  // a lambda cannot capture a structured binding in C++20
    EXPECT_EQ(Refusal([&] { ParseDayText("--date", typed); }).rfind(message, 0), 0u) << text;
  }
  EXPECT_EQ(Refusal([] { ParseMonthText("--month", "2027-3-1"); }),
            "--month \"2027-3-1\": expected a month MM-YYYY or YYYY-MM, e.g. 06-2009 or 2009-06");
}

}  // namespace
}  // namespace orvalin
