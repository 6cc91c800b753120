#include "placesfile/place_finder.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "placesfile/finder_fold.h"
#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

using testing::Place;

TEST(FinderFold, CaseAccentsPunctuationAndSaints) {
  const std::pair<std::string, std::string> cases[] = {{"Zürich", "zurich"},
                                                       {"Straße", "strasse"},
                                                       {"Æbeltoft", "aebeltoft"},
                                                       {"Tromsø", "tromso"},
                                                       {"Łódź", "lodz"},
                                                       {"Œuvre ŠŽŸ", "oeuvreszy"},
                                                       {"  São   Paulo ", "saopaulo"},
                                                       {"St. Gallen", "saintgallen"},
                                                       {"Ste-Foy", "saintefoy"},
                                                       {"Saint-Étienne", "saintetienne"},
                                                       {"Stes", "stes"},
                                                       {"Ze\xCC\x81", "ze"},
                                                       {"Москва", "Москва"},
                                                       {"(.-,)", ""},
                                                       {"Ploiești", "ploiesti"}};
  for (const auto& [text, folded] : cases) EXPECT_EQ(FinderFoldUtf8(text), folded) << text;
}

// Every letter of Windows-1252 folds to small letters a to z, the same from a record's byte as
// from the character typed.
TEST(FinderFold, EveryWindows1252Letter) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(FinderFoldCp1252(byte), FinderFoldUtf8(DecodeCp1252(byte))) << b;
    const bool letter =
        (b >= 0xC0 && b != 0xD7 && b != 0xF7) ||
        std::string_view("\x83\x8A\x8C\x8E\x9A\x9C\x9E\x9F").find(byte) != std::string_view::npos;
    if (!letter) continue;
    const std::string folded = FinderFoldCp1252(byte);
    EXPECT_FALSE(folded.empty()) << b;
    for (const char c : folded) EXPECT_TRUE(c >= 'a' && c <= 'z') << b;
  }
}

class Finder : public ::testing::Test {
 protected:
  Finder() {
    world = WorldList::Parse(
        "name,country,latitude,longitude,gmt,zone\n"
        "Apiaí,Brazil,24 30 34 S,48 50 33 W,-3,America/Sao_Paulo\n"
        "Wellington,India,11 21 56 N,76 47 4 E,5,Asia/Kolkata\n"
        "Sydney,Canada,46 8 6 N,60 10 59 W,-4,America/Glace_Bay\n"
        "Sydney,Australia,33 52 4 S,151 12 26 E,10,Australia/Sydney\n"
        "Wellington,New Zealand,41 17 12 S,174 46 32 E,12,Pacific/Auckland\n"
        "Apia,Samoa,13 50 0 S,171 46 0 W,13,Pacific/Apia\n"
        "Kyiv,Ukraine,50 27 17 N,30 31 26 E,2,Europe/Kyiv\n"
        "Munich,Germany,48 8 15 N,11 34 32 E,1,Europe/Berlin\n"
        "Vaduz,Liechtenstein,47 8 0 N,9 31 0 E,1,Europe/Vaduz\n"
        "Vadul,Liechtenstein,47 8 0 N,9 31 0 E,1,Europe/Vaduz\n",
        "population,code,capital,other_names\n"
        "25000,BR,0,\n30000,IN,0,\n31000,CA,0,\n4600000,AU,0,\n380000,NZ,1,\n40000,WS,1,\n"
        "2797553,UA,1,Kiev|Kijów\n1260391,DE,0,Munchen|Monaco di Baviera\n5000,LI,1,\n"
        "5000,LI,0,Vaduz Town\n");
    std::vector<PlaceRecord> records;
    for (const WorldTown& town : world.Towns()) {
      records.push_back(DecodeRecord({town.record.data(), town.record.size()}));
    }
    records.push_back(Place("Sydney", "Australia", "33 52 0 S", "151 12 0 E", 10));  // own
    for (const PlaceRecord& r : records) {
      const RecordBytes b = EncodeRecord(r);
      bytes.append(b.data(), b.size());
    }
  }
  std::int64_t Best(const std::string& typed) const {
    const auto found = PlaceFinder(bytes, world).Find(typed);
    return found.empty() ? 0 : found.front().record;
  }

  WorldList world;
  std::string bytes;
};

TEST_F(Finder, BestFirst) {
  const std::pair<std::string, std::int64_t> cases[] = {
      {"Apia", 6},             // exact before a longer name
      {"apiai", 1},            //
      {"Wellington", 5},       // the larger town
      {"Sydney", 11},          // the user's own place before the world's towns
      {"Syd", 11},             //
      {"Sydney, Canada", 3},   // one country, by name
      {"sydney, ca", 3},       // or code
      {"Sydney,  New", 0},     //
      {"Wellington, ZEA", 0},  // a country's name is matched from its start
      {"Kiev", 7},             // other names
      {"KIJOW", 7},            //
      {"München", 8},          //
      {"Monaco", 8},           //
      {"Vaduz", 9},            // an own name before an other, the capital before its equal
      {"Vadu", 9},             //
      {"zz", 0},               //
      {"", 0},
  };
  for (const auto& [typed, record] : cases) EXPECT_EQ(Best(typed), record) << typed;
  const auto sydney = PlaceFinder(bytes, world).Find("Sydney");
  ASSERT_EQ(sydney.size(), 3u);
  EXPECT_EQ(sydney[1].record, 4);  // 4.6 million before 31,000
  EXPECT_FALSE(PlaceFinder::Equally(sydney[0], sydney[1]));
  EXPECT_TRUE(PlaceFinder::Equally(sydney[1], sydney[2]));
  EXPECT_EQ(PlaceFinder(bytes, world).Find("kiev").front().other_name, "Kiev");
  EXPECT_EQ(PlaceFinder(bytes + "Syd", world).Find("Syd").size(), 4u);  // and a partial record
}

TEST_F(Finder, NearestSpellings) {
  const PlaceFinder finder(bytes, world);
  EXPECT_EQ(finder.NearestSpellings("Welingtn", 5), std::vector<std::string>{"Wellington"});
  EXPECT_EQ(finder.NearestSpellings("Kjev", 1), std::vector<std::string>{"Kiev"});
  EXPECT_TRUE(finder.NearestSpellings("Xqzwvy", 5).empty());
}

// What people type for a town of the world: a country's name for its capital, other names of
// countries, divisions by name or by a code that is also a country's, abbreviations.
TEST(FinderOnTheWorldList, ThePlacePeopleMean) {
  const WorldList world = WorldList::Load(ORVALIN_WORLD_PLACES_CSV);
  std::string bytes;
  for (const WorldTown& town : world.Towns()) bytes.append(town.record.data(), kRecordSize);
  const PlaceFinder finder(bytes, world);
  const std::pair<std::string, std::string> cases[] = {
      {"Mexico", "Mexico City, Mexico, 19 25 42 N"},
      {"Panama", "Panamá, Panama, 8 59 37 N"},
      {"Kuwait", "Kuwait City, Kuwait, 29 22 11 N"},
      {"Luxembourg", "Luxembourg, Luxembourg, 49 36 42 N"},
      {"London, UK", "London, United Kingdom, 51 30 31 N"},
      {"Amsterdam, Holland", "Amsterdam, Netherlands, 52 22 27 N"},
      {"Istanbul, Turkey", "Istanbul, Türkiye, 41 0 50 N"},
      {"NYC", "New York City, United States, 40 42 51 N"},
      {"Paris, TX", "Paris, United States, 33 39 39 N"},
      {"Paris, Texas", "Paris, United States, 33 39 39 N"},
      {"Washington, D.C.", "Washington, United States, 38 53 42 N"},
      {"Portland, ME", "Portland, United States, 43 39 27 N"},
      {"Sydney, New South Wales", "Sydney, Australia, 33 52 4 S"},
  };
  for (const auto& [typed, place] : cases) {
    const auto found = finder.Find(typed);
    ASSERT_FALSE(found.empty()) << typed;
    const PlaceRecord r = DecodeRecord(RecordBytesAt(bytes, found.front().record));
    EXPECT_EQ(WithoutFilling(r.PlaceName) + ", " + WithoutFilling(r.CountryName) + ", " +
                  WithoutFilling(r.LatitudeText),
              place)
        << typed;
  }
}

// An areas file out of its form is left out whole.
TEST(WorldAreas, OnlyAWholeFileInOrder) {
  EXPECT_EQ(WorldAreas::Parse("code,names\nUS,USA|America\nUS.TX,Texas\n").Named("tex").size(), 1u);
  for (const char* text : {"code,names\nUS.TX,Texas\nUS,USA\n", "code,names\nUS,USA",
                           "code,names\nus,USA\n", "code,names\nUSA,USA\n", "names\nUS,USA\n"}) {
    EXPECT_TRUE(WorldAreas::Parse(text).Named("usa").empty()) << text;
  }
}

// The world's zone for its towns, the nearest town's elsewhere; names that do not fit the
// places are left out rather than given to the wrong towns.
TEST_F(Finder, ZonesAndAMisfitNamesFile) {
  EXPECT_EQ(world.ZoneAt(std::string_view(bytes).substr(6 * kRecordSize, kRecordSize), Latitude(0), Longitude(0)),
            "Europe/Kyiv");
  EXPECT_EQ(world.ZoneAt({}, Latitude(47.0), Longitude(9.0)), "Europe/Vaduz");
  const WorldList misfit = WorldList::Parse(
      "name,country,latitude,longitude,gmt,zone\n"
      "Kyiv,Ukraine,50 27 17 N,30 31 26 E,2,Europe/Kyiv\n",
      "population,code,capital,other_names\n1,UA,1,Kiev\n"
      "2,UA,0,Kiew\n");
  ASSERT_EQ(misfit.Towns().size(), 1u);
  EXPECT_TRUE(misfit.Towns()[0].other_names.empty());
}

}  // namespace
}  // namespace orvalin
