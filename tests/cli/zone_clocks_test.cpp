// The zone drawn at a point keeps the clock of the territory there: at every town of the world
// list, near borders, and not at all from data files that cannot serve.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QTimeZone>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "common/vector_registers.h"
#include "tests/cli/table_cli_fixture.h"

namespace orvalin {
namespace {

using testing::TableCli;
using testing::ToolRun;

// The zone's offset from 2015 and every change of it until 2038, the years
// tools/make_zone_grid.py compares clocks over.
std::vector<std::pair<qint64, int>> ClockOf(const std::string& zone) {
  const QTimeZone tz(QByteArray::fromStdString(zone));
  const QDateTime from(QDate(2015, 1, 1), QTime(0, 0), QTimeZone::utc());
  const QDateTime to(QDate(2038, 1, 1), QTime(0, 0), QTimeZone::utc());
  std::vector<std::pair<qint64, int>> changes{{0, tz.offsetFromUtc(from)}};
  for (const auto& t : tz.transitions(from, to)) {
    if (t.offsetFromUtc != changes.back().second) {
      changes.emplace_back(t.atUtc.toSecsSinceEpoch(), t.offsetFromUtc);
    }
  }
  ClearUpperVectorRegisters();
  return changes;
}

TEST(ZoneClocks, EveryTownTypedAsCoordinatesKeepsItsOwnClock) {
  const WorldList world = WorldList::Load(ORVALIN_WORLD_PLACES_CSV);
  const std::optional<ZoneGrid> grid = LoadZoneGrid(ORVALIN_WORLD_PLACES_CSV).grid;
  ASSERT_EQ(world.Towns().size(), 26440u);
  ASSERT_TRUE(grid);  // not the nearest town's zone, which each town would pass
  std::map<std::string, std::vector<std::pair<qint64, int>>> clocks;
  const auto clock = [&](const std::string& zone) -> const auto& {
    auto found = clocks.find(zone);
    return found != clocks.end() ? found->second
                                 : clocks.emplace(zone, ClockOf(zone)).first->second;
  };
  int wrong = 0;
  for (const WorldTown& town : world.Towns()) {
    const std::string zone = grid->ZoneAt(town.latitude, town.longitude);
    if (zone != town.zone && clock(zone) != clock(town.zone) && ++wrong <= 10) {
      ADD_FAILURE() << std::string(town.record.data(), 20) << " on " << zone << ", not "
                    << town.zone;
    }
  }
  EXPECT_EQ(wrong, 0);
  // Typed a few metres off the list's whole seconds, near a border.
  const std::tuple<double, double, std::string> typed[] = {
      {65.8481, 24.1466, "Europe/Helsinki"},
      {9.5511, 1.1861, "Africa/Lome"},
      {28.3411, -100.8511, "America/Monterrey"},
      {-54.8, -68.3, "America/Argentina/Ushuaia"},
      {7.2425, -70.7322, "America/Caracas"}};
  for (const auto& [lat, lon, zone] : typed) EXPECT_EQ(grid->ZoneAt(Latitude(lat), Longitude(lon)), zone) << lat;
}

// A data file that is no plain file, or too large, is refused at once and named; a damaged zone
// tree is named too, and the zone comes from the nearest town instead.
TEST_F(TableCli, DataFilesThatCannotServeAreNamed) {
  const std::string fifo = dir / "fifo.csv", large = dir / "large.csv";
  ::mkfifo(fifo.c_str(), 0600);
  testing::WriteFile(large, "");
  std::filesystem::resize_file(large, 8'000'001);
  const std::string world = dir / "world-places.csv";
  testing::WriteFile(world,
                     "name,country,latitude,longitude,gmt,zone\n"
                     "Kathmandu,Nepal,27 42 6 N,85 19 14 E,5,Asia/Kathmandu\n");
  std::string tree = testing::ReadFile(ORVALIN_ZONE_GRID);
  tree[tree.size() / 2] ^= 1;
  testing::WriteFile(dir / "zone-grid.txt", tree);
  const std::pair<std::string, std::string> cases[] = {
      {"/dev/zero", "the world list of places /dev/zero is not a regular file"},
      {fifo, "the world list of places " + fifo + " is not a regular file"},
      {large, "the world list of places " + large + " is larger than 8000000 bytes"},
      {world,
       "the zone tree " + dir / "zone-grid.txt" + " is damaged: its check value does not match"}};
  for (const auto& [list, warning] : cases) {
    ::setenv("ORVALIN_WORLD_PLACES", list.c_str(), 1);
    const ToolRun run = testing::RunEntry(
        RunTable, {"--lat", "27.7N", "--lon", "85.3E", "--tz", "place", "--format", "csv"});
    ::unsetenv("ORVALIN_WORLD_PLACES");
    EXPECT_TRUE(run.err.starts_with("orvalin-table: warning: " + warning + "\n")) << run.err;
    EXPECT_EQ(run.status, list == world ? 0 : 1) << run.err;
  }
}

}  // namespace
}  // namespace orvalin
