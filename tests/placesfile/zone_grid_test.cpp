#include "placesfile/zone_grid.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace orvalin {
namespace {

std::string Committed() {
  std::ifstream in(ORVALIN_ZONE_GRID, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

// Points near borders and on the sea, as the package the grid comes from gives them.
TEST(ZoneGrid, TheCommittedGrid) {
  const auto grid = ZoneGrid::Parse(Committed());
  ASSERT_TRUE(grid);
  const std::tuple<double, double, std::string> cases[] = {{46.2, 6.15, "Europe/Zurich"},
                                                           {46.194, 6.236, "Europe/Paris"},
                                                           {27.7, 85.3, "Asia/Kathmandu"},
                                                           {-33.87, 151.21, "Australia/Sydney"},
                                                           {47.57, -52.71, "America/St_Johns"},
                                                           {0, -160, "Pacific/Kiritimati"},
                                                           {90, 0, "Etc/GMT"},
                                                           {-90, 180, "Antarctica/McMurdo"},
                                                           {90.5, 0, ""},
                                                           {0, -180.5, ""}};
  for (const auto& [lat, lon, zone] : cases) EXPECT_EQ(grid->ZoneAt(lat, lon), zone) << lat << lon;
}

// A damaged file is refused or answers nothing; it never reads beyond its tree.
TEST(ZoneGrid, DamagedGrids) {
  const std::string good = Committed();
  EXPECT_FALSE(ZoneGrid::Parse(""));
  EXPECT_FALSE(ZoneGrid::Parse(good.substr(0, good.size() - 1)));  // no last line break
  EXPECT_FALSE(ZoneGrid::Parse("orvalin-zone-grid 1\n99999999999999999999\nA\nB\n"));
  const std::string cut = good.substr(0, good.size() - 30000) + "\n";
  const auto grid = ZoneGrid::Parse(cut);
  ASSERT_TRUE(grid);
  for (double lat = -89.5; lat < 90; lat += 1.7) {
    for (double lon = -179.5; lon < 180; lon += 2.3) grid->ZoneAt(lat, lon);  // no crash
  }
}

}  // namespace
}  // namespace orvalin
