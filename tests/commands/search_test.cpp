#include "commands/search.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "commands/browse.h"
#include "placesfile/search_rule.h"
#include "tests/commands/places_fixture.h"
#include "tests/support/find_place.h"

namespace orvalin {
namespace {

using namespace testing;

class SearchTest : public PlacesTest {
 protected:
  SearchTest() {
    WriteRecords({Geneva(), Basel(), Named("Évian"), Lausanne(), Named("geneva bis")});
    session.World = WorldListSource((dir / "no-world.csv").string());
    session.CurrentRecord = 2;
    window.SetFieldText(Field::RecordNumber, " 2");
    window.SetFieldText(Field::City, "shown");
    window.SetFieldText(Field::Horizon, "h");
  }
  // The record number found, or 0 when the not-found path was taken.
  int Find(std::optional<std::string> typed) {
    window.ClearEvents();
    session.CurrentRecord = 2;
    window.SetFieldText(Field::RecordNumber, " 2");
    window.QueueInput(std::move(typed));
    Search(session);
    const auto texts = window.MessageTexts();
    const bool missed = std::find(texts.begin(), texts.end(), "Place not found") != texts.end();
    return missed ? 0 : session.CurrentRecord;
  }
};

TEST(FoldCase, OnlySmallLettersAToZBecomeCapitals) {
  const std::pair<std::string, std::string> cases[] = {
      {"geneva", "GENEVA"},    {"Zürich", "ZüRICH"},           {"évian É", "éVIAN É"},
      {"šŠœŒž", "šŠœŒž"},      {"{|}~\x7f`@[", "{|}~\x7f`@["}, {"", ""},
      {"az AZ 09", "AZ AZ 09"}};
  for (auto [text, folded] : cases) {
    FoldCase(text);
    EXPECT_EQ(text, folded);
  }
}

// The first rule's hit is the window's; where it misses, the folded names' first in file order.
TEST_F(SearchTest, FindsTheFirstRecordWhoseNameBeginsWithTheText) {
  struct Case {
    std::optional<std::string> typed;
    int first_rule, window;
  };
  const Case cases[] = {
      {"gen", 1, 1},
      {"GeNeVa ", 1, 1},  // the stored name is filled with blanks
      {"geneva b", 5, 5},
      {" geneva", 0, 1},
      {"bAs", 2, 2},
      {"evian", 0, 3},  // É is not folded by the first rule
      {"Év", 3, 3},
      {"éV", 0, 3},                       // é and É differ
      {FixedText("lausanne", 20), 4, 4},  // 20 characters: the whole name
      {FixedText("lausanne", 19) + "x", 0, 0},
      {FixedText("Geneva", 20) + "x", 1, 1},  // 21: the whole name stands inside
      {FixedText("Geneva", 19) + "x ", 0, 0},
      {"in " + FixedText("Lausanne", 20), 4, 4},
      {"xx" + FixedText("Basel", 20) + "yy", 2, 2},
      {FixedText("geneva bis", 20) + FixedText("geneva", 20), 1, 1},  // first in file order
      {"", 0, 0},
      {" .-", 0, 0},         // folds to nothing
      {std::nullopt, 0, 0},  // cancelled
      {"zz", 0, 0},
  };
  const std::string bytes = FileBytes();
  for (const auto& [typed, first_rule, window] : cases) {
    const std::string text = typed.value_or("");
    EXPECT_EQ(FindPlace(bytes, text).value_or(0), first_rule) << text;
    EXPECT_EQ(Find(typed), window) << text;
  }
  const WindowEvent& input = window.events().front();
  EXPECT_EQ(input.kind, WindowEvent::Kind::Input);
  EXPECT_EQ(input.box.text, "Enter Place name");
  EXPECT_EQ(input.box.title, "Search");
}

// Where neither rule on the names finds a place, the world towns' other names do, the first
// record in file order winning; each found place is shown as a hit is.
TEST_F(SearchTest, OtherNamesOfWorldTownsOnAMiss) {
  const PlaceRecord kyiv = Place("Kyiv", "Ukraine", "50 27 17 N", "30 31 26 E", 2);
  const PlaceRecord koln = Place("Köln", "Germany", "50 56 0 N", "6 57 0 E", 1);
  std::ofstream(dir / "world-places.csv") << "name,country,latitude,longitude,gmt,zone\n"
                                             "Kyiv,Ukraine,50 27 17 N,30 31 26 E,2,Europe/Kyiv\n"
                                             "Köln,Germany,50 56 0 N,6 57 0 E,1,Europe/Berlin\n";
  std::ofstream(dir / "world-names.csv") << "population,code,capital,other_names\n"
                                            "2797553,UA,1,Kiev|Kijów\n"
                                            "1075935,DE,0,Cologne|Koeln\n";
  session.World = WorldListSource((dir / "world-places.csv").string());
  WriteRecords({Geneva(), Named("Kievka"), kyiv, koln, Named("Cólogne-Süd")});
  const std::pair<std::string, int> cases[] = {
      {"kiev", 2},     // the first rule: Kievka begins so
      {"Kijow", 3},    // an other name, folded
      {"Koln", 4},     // the folded names, in file order
      {"cologne", 5},  // an own name, folded, before an other name
      {"Kolo", 0},
  };
  for (const auto& [typed, found] : cases) EXPECT_EQ(Find(typed), found) << typed;
  ASSERT_EQ(Find("koeln"), 4);
  EXPECT_EQ(Text(Field::RecordNumber), " 4");
  EXPECT_EQ(Text(Field::City), FixedText("Köln", 20));
  EXPECT_EQ(Text(Field::Horizon), "-.61");
  EXPECT_NE(Text(Field::SunriseTime), "");
  EXPECT_EQ(session.WorkPlace, koln);
  EXPECT_FALSE(session.File.IsOpen());
}

TEST_F(SearchTest, AHitShowsThePlace) {
  WriteRecords({Geneva(), Place("Basel", "Switzerland", "47 33 0 N", "7 35 0 E", 2)});
  window.SetFieldText(Field::SunriseTime, "r");
  window.SetFieldText(Field::CulminationElevation, "r");
  ASSERT_EQ(Find("bas"), 2);
  EXPECT_EQ(Text(Field::RecordNumber), " 2");
  EXPECT_EQ(Text(Field::City), "Basel               ");
  EXPECT_EQ(Text(Field::Gmt), " 2");
  EXPECT_EQ(Text(Field::Horizon), "-.61");
  EXPECT_EQ(session.HorizonAltitude, -0.61);
  EXPECT_EQ(session.WorkPlace.CountryName, FixedText("Switzerland", 20));
  EXPECT_FALSE(session.File.IsOpen());
  ASSERT_EQ(Find("Gen"), 1);
  EXPECT_EQ(Text(Field::RecordNumber), " 1");
}

TEST_F(SearchTest, AMissTellsInTheWindowsLanguageAndPutsTheRecordBack) {
  for (bool french : {true, false}) {
    window.SelectLanguage(french ? Language::French : Language::English);
    window.ClearEvents();
    Search(session);  // cancelled
    EXPECT_EQ(window.MessageTexts(),
              std::vector<std::string>{french ? "Lieu inconnu" : "Place not found"});
    EXPECT_EQ(session.CurrentRecord, 2);
    EXPECT_EQ(Text(Field::RecordNumber), " 2");
    EXPECT_EQ(Text(Field::City), "shown");
    EXPECT_EQ(Text(Field::Horizon), "h");
    EXPECT_EQ(session.WorkPlace, Named("geneva bis"));  // the last record read
    EXPECT_FALSE(session.File.IsOpen());
  }
}

TEST_F(SearchTest, AnEmptyOrMissingFileMissesAtOnce) {
  for (bool exists : {true, false}) {
    if (exists)
      WriteBytes("");
    else
      std::filesystem::remove(FilePath());
    window.SetFieldText(Field::RecordNumber, "kept");
    window.QueueInput("gen");
    Search(session);
    EXPECT_EQ(Text(Field::RecordNumber), "kept");
    EXPECT_EQ(session.CurrentRecord, 2);
    EXPECT_TRUE(std::filesystem::exists(FilePath()));
  }
}

TEST_F(SearchTest, AMissThenAnUpdateLeavesTheOtherRecordsAsTheyWere) {
  WriteRecords({Geneva(), Basel(), Zurich()});
  session.CurrentRecord = 1;
  window.SetFieldText(Field::RecordNumber, " 1");
  TypePlace("Geneva", "46 12 0 N", "6 9 0 E");
  window.SetFieldText(Field::Country, "Switzerland");
  window.QueueInput("xyz");
  Search(session);
  UpdatePlace(session);
  EXPECT_EQ(Records(), (std::vector<PlaceRecord>{Geneva(), Basel(), Zurich()}));
}

TEST_F(SearchTest, CharactersBeyondZStayAsTheyAreWhereverTheRecordStands) {
  const std::vector<std::string> names = {"šibenik", "Šibenik", "Œland", "Zagreb", "œuvre"};
  const std::pair<std::string, std::string> cases[] = {
      {"š", "šibenik"}, {"Š", "Šibenik"}, {"Œ", "Œland"},     {"œ", "œuvre"},
      {"z", "Zagreb"},  {"ša", ""},       {"ŠIB", "Šibenik"}, {"šIB", "šibenik"}};
  // Each name in turn first, and the others after it in both orders.
  for (std::size_t first = 0; first < names.size(); ++first) {
    for (bool reversed : {false, true}) {
      std::vector<std::string> order = {names[first]};
      for (std::size_t j = 0; j < names.size(); ++j) {
        if (j != first) order.push_back(names[j]);
      }
      if (reversed) std::reverse(order.begin() + 1, order.end());
      std::vector<PlaceRecord> records;
      records.reserve(order.size());
      for (const auto& n : order) records.push_back(Named(n));
      WriteRecords(records);
      for (const auto& [typed, expected] : cases) {
        const int found = Find(typed);
        const std::string name = found ? order[found - 1] : "";
        EXPECT_EQ(name, expected) << typed << " with " << names[first] << " first";
      }
    }
  }
}

TEST_F(SearchTest, APartialLastRecordIsSearchedWithBlanksAfterIt) {
  WriteBytes(Bytes(Geneva()) + Bytes(Named("Bern")).substr(0, 8));
  EXPECT_EQ(Find("bern                "), 2);
  EXPECT_EQ(Text(Field::City), "Bern                ");
}

TEST_F(SearchTest, FailuresNameTheirStep) {
  std::filesystem::remove(FilePath());
  std::filesystem::create_directory(FilePath());
  window.SetFieldText(Field::RecordNumber, "kept");
  window.QueueInput("gen");
  Search(session);
  EXPECT_EQ(window.MessageTexts(),
            std::vector<std::string>{"Permission denied in line 800 of Search"});
  EXPECT_EQ(Text(Field::RecordNumber), "kept");
  EXPECT_EQ(session.CurrentRecord, 2);
  EXPECT_FALSE(session.File.IsOpen());
}

}  // namespace
}  // namespace orvalin
