#include "placesfile/places_csv.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/text.h"
#include "tests/support/places_csv_text.h"
#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

TEST(PlacesCsv, ExportThenImportGivesTheSameRecords) {
  const std::vector<PlaceRecord> records = {
      testing::Place("Zürich", "Switzerland", "47 22 0 N", "8 33 0 E", 1),
      testing::Place("Évian, \"les Bains\"", "France", "46 24 0 N", "6 35 0 E", 1),
      testing::Place("Œuilly", "France", "49 25 0 N", "3 41 0 E", -12),
      testing::Place("Šibenik", "Croatia", "43 44 0 N", "15 54 0 E", 32767),
  };
  const CsvPlaces back = ParsePlacesCsv(testing::PlacesCsv(records));
  EXPECT_TRUE(back.problems.empty());
  EXPECT_EQ(testing::RecordsOf(back), records);
}

TEST(PlacesCsv, EveryBadLineIsListedWithItsNumber) {
  const std::string text =
      "name,country,latitude,longitude,gmt\r\n"
      "Geneva,Switzerland,46 12 0 N,6 9 0 E,1\r\n"
      "\n"
      "Nowhere,,4612,6 9 0 E,1\n"
      "Tokyo,Japan,35 41 22 N,139 41 30 E,9.5\n"
      "\"Multi\nline\",X,1 0 0 N,1 0 0 E,0\n"
      "東京,Japan,35 41 22 N,139 41 30 E,9\n"
      "A name that is far too long,X,1 0 0 N,1 0 0 E,0\n"
      "Short,X,1 0 0 N\n";
  const CsvPlaces places = ParsePlacesCsv(text);
  ASSERT_EQ(places.places.size(), 1u);
  std::vector<std::size_t> lines;
  for (const auto& p : places.problems) lines.push_back(p.line);
  EXPECT_EQ(lines, (std::vector<std::size_t>{4, 5, 6, 8, 9, 10}));
  EXPECT_EQ(places.problems[0].why.rfind("the latitude \"4612\" lies beyond 90 degrees; accepted "
                                         "forms: 46.2 or -33.87",
                                         0),
            0u);
}

TEST(PlacesCsv, AnglesInEveryFormAreStoredInTheWindowsForm) {
  struct Case {
    const char *csv, *latitude, *longitude;
    int gmt;
  };
  const Case cases[] = {
      {"name,country,latitude,longitude,gmt\nSydney,AU,-33.87,151.21,+10\n", "33 52 12 S",
       "151 12 36 E", 10},
      {"name,country,latitude,longitude,gmt\nGeneva,CH,\"46°12'0\"\"n\",6 9 0 e,-0\n",
       "46 12 0 N", "6 9 0 E", 0},
      {"name;country;latitude;longitude;gmt\r\nGenève;CH;46,2;6,15 W;1\r\n", "46 12 0 N",
       "6 9 0 W", 1},
  };
  for (const Case& c : cases) {
    const CsvPlaces places = ParsePlacesCsv(c.csv);
    ASSERT_EQ(places.places.size(), 1u) << c.csv << places.problems.front().why;
    const PlaceRecord& record = places.places[0].record;
    EXPECT_EQ(record.LatitudeText, FixedText(c.latitude, kAngleWidth)) << c.csv;
    EXPECT_EQ(record.LongitudeText, FixedText(c.longitude, kAngleWidth)) << c.csv;
    EXPECT_EQ(record.GmtHours, c.gmt) << c.csv;
    EXPECT_EQ(places.places[0].line, 2u);
  }
}

TEST(PlacesCsv, HeaderIsRequired) {
  EXPECT_EQ(ParsePlacesCsv("Geneva,Switzerland,46 12 0 N,6 9 0 E,1\n").problems.front().line, 1u);
  // The world list's maker writes the same columns.
  std::ifstream maker(ORVALIN_WORLD_PLACES_MAKER);
  std::string line;
  while (std::getline(maker, line) && !line.starts_with("HEADER = ")) {
  }
  EXPECT_EQ(line, "HEADER = \"" + PlacesCsvHeader(true) + "\"");
}

// Split into cells, a line of millions of commas took gigabytes before it was refused.
TEST(PlacesCsv, AnOverlongLineIsRefusedByItsNumberAndTheOthersAreRead) {
  constexpr std::size_t kCommas = 10'000'000;
  const std::string commas(kCommas, ',');
  for (const std::string& head : {std::string("name,country,latitude,longitude,gmt"), commas}) {
    std::string text = head;
    text.append("\n").append(commas).append("\nGeneva,Switzerland,46 12 0 N,6 9 0 E,1\n");
    text.append(commas);
    const CsvPlaces places = ParsePlacesCsv(text);
    std::vector<std::size_t> lines;
    for (const auto& p : places.problems) lines.push_back(p.line);
    EXPECT_EQ(lines.back(), 4u);
    EXPECT_EQ(lines[lines.size() - 2], 2u);
    EXPECT_EQ(places.problems.back().why, "the line is longer than 4096 bytes");
    EXPECT_EQ(places.places.size(), 1u);
  }
}

}  // namespace
}  // namespace orvalin
