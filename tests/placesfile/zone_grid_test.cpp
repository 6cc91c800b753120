#include "placesfile/zone_grid.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "placesfile/data_file.h"

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
  for (const auto& [lat, lon, zone] : cases) EXPECT_EQ(grid->ZoneAt(Latitude(lat), Longitude(lon)), zone) << lat << lon;
}

// A damaged file is refused, saying why; one whose check value was made to fit still never
// names what is not a zone nor reads beyond its tree.
TEST(ZoneGrid, DamagedGrids) {
  const std::string good = Committed();
  const std::size_t body = good.find('\n', good.find('\n') + 1) + 1;
  const auto refit = [&](const std::string& lines) {
    char check[9];
    std::snprintf(check, sizeof check, "%08x", ZoneGridCheckValue(lines));
    return good.substr(0, body - 9) + check + "\n" + lines;
  };
  std::string control = good.substr(body);
  control[3] = '\x1b';
  const std::string cut = good.substr(body, good.size() - body - 40) + "\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", "is not a zone tree: its first line is not \"orvalin-zone-grid 2\""},
      {good.substr(0, good.size() - 40) + "\n", "is damaged: its check value does not match"},
      {refit(control), "is damaged: line 3 is no zone name"},
      {refit(cut), "is damaged: a cell's tree is cut short (line "},
      {refit(good.substr(body, good.find('\n', body) - body + 1)),
       "is damaged: its lines do not follow its zone count"},
  };
  for (const auto& [text, problem] : cases) {
    const ZoneGridReading reading = ZoneGrid::Read(text);
    EXPECT_FALSE(reading.grid);
    EXPECT_TRUE(reading.problem.value_or("").starts_with(problem)) << *reading.problem;
  }
}

// Only regular files within their limit are read: a device or a FIFO would hang or fill memory.
TEST(DataFile, OnlyRegularFilesWithinTheLimit) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("orvalin-data-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "small") << "12345";
  ::mkfifo((dir / "fifo").c_str(), 0600);
  const std::tuple<std::string, bool, std::string> cases[] = {
      {dir / "small", true, ""},
      {dir / "missing", false, ""},
      {"/dev/zero", false, "the list /dev/zero is not a regular file"},
      {dir / "fifo", false, "the list " + (dir / "fifo").string() + " is not a regular file"},
      {dir.string(), false, "the list " + dir.string() + " is not a regular file"},
  };
  for (const auto& [path, read, problem] : cases) {
    const DataFileText file = ReadDataFile(path, "the list", 5);
    EXPECT_EQ(file.read, read) << path;
    EXPECT_EQ(file.problem.value_or(""), problem);
  }
  EXPECT_EQ(ReadDataFile(dir / "small", "the list", 4).problem.value_or(""),
            "the list " + (dir / "small").string() + " is larger than 4 bytes");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orvalin
