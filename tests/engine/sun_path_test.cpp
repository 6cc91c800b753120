// The sun's position at a moment and its crossings of the golden and blue hours' edges against
// an independent ephemeris (tools/make-sun-reference.py --positions).
#include "engine/sun_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace orvalin {
namespace {

constexpr double kPositionDegrees = 0.01;
constexpr double kTimeSeconds = 10, kPolarTimeSeconds = 60, kPolarLatitude = 65;
// A crossing this near the UT day's edge may fall on either side of it; a band edge that the sun
// only skims within this much of it (a rise and a set closer than half an hour) may be crossed
// in one theory and not in the other.
constexpr double kEdgeHours = 20.0 / 3600;
constexpr double kGrazingHours = 0.5;
constexpr double kBands[] = {-4, 6, -6};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

struct Crossing {
  double hours;
  bool rising;
};

std::vector<Crossing> ReadCrossings(const std::string& cell) {
  std::vector<Crossing> list;
  for (const std::string& c : Split(cell, ';')) {
    if (!c.empty()) list.push_back({std::stod(c.substr(0, c.size() - 1)), c.back() == 'r'});
  }
  return list;
}

// A list whose neighbours lie closer than half an hour has the sun skimming the edge.
bool Grazing(const std::vector<Crossing>& list) {
  for (std::size_t k = 1; k < list.size(); ++k) {
    if (list[k].hours - list[k - 1].hours < kGrazingHours) return true;
  }
  return false;
}

TEST(SunPath, PositionsAndBandEdgesAgainstAnIndependentEphemeris) {
  std::ifstream in(ORVALIN_SUN_POSITIONS);
  std::string line;
  std::getline(in, line);  // the header
  int rows = 0;
  double worst_azimuth = 0, worst_elevation = 0, worst_crossing = 0;
  while (std::getline(in, line)) {
    const std::vector<std::string> c = Split(line, ',');
    const double latitude = std::stod(c[0]), longitude_west = std::stod(c[1]);
    const std::string& utc = c[2];  // YYYY-MM-DDTHH:MM:SSZ
    const auto part = [&](std::size_t at) { return std::stoi(utc.substr(at, 2)); };
    const auto day = static_cast<std::int16_t>(part(8));
    const auto month = static_cast<std::int16_t>(part(5));
    const auto year = static_cast<std::int16_t>(std::stoi(utc.substr(0, 4)));
    const double hours = part(11) + part(14) / 60.0 + part(17) / 3600.0;
    SCOPED_TRACE(line);

    const SunPosition p =
        SunPath({Latitude(latitude), Longitude::FromWest(longitude_west), 0}, {day, month, year})
            .PositionAt(hours);
    // An azimuth error counts as the arc it makes on the sky.
    const double azimuth_arc = std::fabs(std::remainder(p.azimuth - std::stod(c[3]), 360)) *
                               std::cos(p.elevation / 180 * M_PI);
    const double elevation_error = std::fabs(p.elevation - std::stod(c[4]));
    EXPECT_LE(azimuth_arc, kPositionDegrees);
    EXPECT_LE(elevation_error, kPositionDegrees);
    worst_azimuth = std::max(worst_azimuth, azimuth_arc);
    worst_elevation = std::max(worst_elevation, elevation_error);

    const double tolerance =
        (std::fabs(latitude) > kPolarLatitude ? kPolarTimeSeconds : kTimeSeconds) / 3600;
    for (int b = 0; b < 3; ++b) {
      const std::vector<Crossing> reference = ReadCrossings(c[5 + b]);
      const SunPath sun({Latitude(latitude), Longitude::FromWest(longitude_west), kBands[b]},
                        {day, month, year});
      const std::vector<BodyCrossing> ours = BodyPath(sun, Latitude(latitude)).Crossings(0, 24);
      if (Grazing(reference)) continue;
      const bool at_edge = std::any_of(reference.begin(), reference.end(), [](const Crossing& x) {
        return x.hours < kEdgeHours || x.hours > 24 - kEdgeHours;
      });
      if (at_edge) continue;
      ASSERT_EQ(ours.size(), reference.size()) << "altitude " << kBands[b];
      for (std::size_t k = 0; k < ours.size(); ++k) {
        EXPECT_EQ(ours[k].rising, reference[k].rising);
        const double error = std::fabs(ours[k].hours - reference[k].hours);
        EXPECT_LE(error, tolerance) << "altitude " << kBands[b];
        worst_crossing = std::max(worst_crossing, error * 3600);
      }
    }
    ++rows;
  }
  EXPECT_GE(rows, 300);
  std::cout << rows << " moments: azimuth within " << worst_azimuth << "°, elevation within "
            << worst_elevation << "°, band edges within " << worst_crossing << " s\n";
}

// The observer's height lowers the horizon by its dip; refraction lifts a low sun by about half a
// degree and leaves a high one nearly where it is.
TEST(SunPath, DipAndRefraction) {
  EXPECT_NEAR(HorizonDip(2000), 1.76 * std::sqrt(2000.0) / 60, 1e-12);
  EXPECT_EQ(HorizonDip(0), 0);
  EXPECT_NEAR(ApparentElevation(0) * 60, 28.9, 0.1);  // arcminutes at the horizon
  EXPECT_NEAR(ApparentElevation(60) - 60, 0.0093, 0.0005);
  EXPECT_EQ(ApparentElevation(-5), -5);
}

// The apparent elevation never jumps: from well below the horizon to above it, it climbs with the
// geometric one, by less than twice as much.
TEST(SunPath, RefractionIsContinuous) {
  constexpr double kStep = 1e-3;
  for (double h = -6; h < 2; h += kStep) {
    const double rise = ApparentElevation(h + kStep) - ApparentElevation(h);
    ASSERT_GT(rise, 0) << h;
    ASSERT_LT(rise, 2 * kStep) << h;
  }
}

}  // namespace
}  // namespace orvalin
