// The engine's results against an independent ephemeris (tools/make-sun-reference.py): the
// accuracy the user guide states, held by tolerances.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/sun_day.h"
#include "tests/engine/reference_table.h"

namespace orvalin {
namespace {

constexpr double kSecondsPerHour = 3600;
constexpr double kHoursPerDay = 24;
constexpr double kDegreesPerTurn = 360;

std::optional<double> Number(const Cells& row, const std::string& name) {
  const std::string& text = row.at(name);
  if (text.empty()) return std::nullopt;
  return std::stod(text);
}

struct Quantity {
  const char* name;
  const char* column;
  std::optional<double> SunDay::*value;
  double turn;   // 0 when the quantity is not on a circle
  double scale;  // to the unit of the limits
  const char* unit;
  double p95_limit, max_limit;
};

// The largest errors are those of the method's known limits: the culmination's hour angle taken
// in sidereal hours, the elevation taken at 12 h UT rather than at the culmination.
const Quantity kQuantities[] = {
    {"sunrise", "sunrise_h", &SunDay::SunriseTime, kHoursPerDay, kSecondsPerHour, "s", 5, 30},
    {"sunset", "sunset_h", &SunDay::SunsetTime, kHoursPerDay, kSecondsPerHour, "s", 10, 60},
    {"culmination", "culmination_h", &SunDay::CulminationTime, kHoursPerDay, kSecondsPerHour, "s",
     15, 30},
    {"day length", "day_length_h", &SunDay::DayLength, 0, kSecondsPerHour, "s", 10, 60},
    {"sunrise azimuth", "sunrise_azimuth", &SunDay::SunriseAzimuth, kDegreesPerTurn, 1, "°", 0.03,
     0.2},
    {"sunset azimuth", "sunset_azimuth", &SunDay::SunsetAzimuth, kDegreesPerTurn, 1, "°", 0.03,
     0.2},
    {"elevation", "elevation", &SunDay::CulminationElevation, 0, 1, "°", 0.25, 0.3},
};

const std::map<std::string, SunOutcome> kOutcomes = {{"complete", SunOutcome::Complete},
                                                     {"no sunrise", SunOutcome::NoSunrise},
                                                     {"no sunset", SunOutcome::NoSunset}};

SunDay Computed(const Cells& row) {
  const std::string& date = row.at("date");  // YYYY-MM-DD
  const auto part = [&](std::size_t at, std::size_t length) {
    return static_cast<std::int16_t>(std::stoi(date.substr(at, length)));
  };
  return ComputeSunDay({Latitude(*Number(row, "latitude")),
                        Longitude::FromWest(*Number(row, "longitude_west")), kHorizonAltitude},
                       {part(8, 2), part(5, 2), part(0, 4)});
}

// Prints the table of the user guide's accuracy section, and holds it to the limits.
TEST(Accuracy, AgainstAnIndependentEphemeris) {
  const std::vector<Cells> rows = ReadReference(ORVALIN_SUN_REFERENCE);
  ASSERT_GE(rows.size(), 300u);
  std::map<const Quantity*, std::vector<double>> errors;
  for (const Cells& row : rows) {
    const SunDay sun = Computed(row);
    const std::string where =
        row.at("latitude") + ' ' + row.at("longitude_west") + ' ' + row.at("date");
    ASSERT_TRUE(kOutcomes.contains(row.at("status"))) << where;
    EXPECT_EQ(sun.outcome, kOutcomes.at(row.at("status"))) << where;
    for (const Quantity& q : kQuantities) {
      const auto reference = Number(row, q.column);
      const auto ours = sun.*q.value;
      if (!reference || !ours) continue;  // polar days stop before the culmination
      errors[&q].push_back(
          std::abs(q.turn > 0 ? std::remainder(*ours - *reference, q.turn) : *ours - *reference) *
          q.scale);
    }
  }
  std::cout << "| quantity | rows | median | 95th percentile | maximum |\n|---|---|---|---|---|\n";
  for (const Quantity& q : kQuantities) {
    const std::vector<double>& e = errors[&q];
    ASSERT_FALSE(e.empty()) << q.name;
    const double median = Quantile(e, 0.5), p95 = Quantile(e, 0.95), max = Quantile(e, 1);
    std::cout << std::fixed << std::setprecision(std::string_view(q.unit) == "s" ? 1 : 3) << "| "
              << q.name << " | " << e.size() << " | " << median << ' ' << q.unit << " | " << p95
              << ' ' << q.unit << " | " << max << ' ' << q.unit << " |\n";
    EXPECT_LE(p95, q.p95_limit) << q.name;
    EXPECT_LE(max, q.max_limit) << q.name;
  }
}

}  // namespace
}  // namespace orvalin
