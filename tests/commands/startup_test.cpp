#include <gtest/gtest.h>
#include <unistd.h>

#include "commands/start_up.h"
#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

class StartUpTest : public testing::SessionTest {
 protected:
  StartUpTest() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
    session.DataDirectory.clear();
  }
  ~StartUpTest() override { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST_F(StartUpTest, EnglishTodayRecordOneAndItsResults) {
  WriteRecords({testing::Geneva(), testing::Place("Basel", "CH", "47 33 0 N", "7 35 0 E", 1)});
  window.SelectLanguage(Language::English);
  window.SetToday(std::chrono::year_month_day{std::chrono::year{2009}, std::chrono::June,
                                              std::chrono::day{21}});
  StartUp(session);
  EXPECT_EQ(session.DataDirectory, dir.string() + "/");
  EXPECT_EQ(window.Caption("PreviousDay"), "Previous day");
  EXPECT_EQ(window.Caption("Label9"), "Record number");
  EXPECT_EQ(Text(Field::Date), "21-06-2009");
  EXPECT_EQ(Text(Field::City), "Geneva              ");
  EXPECT_EQ(Text(Field::RecordNumber), "1");
  EXPECT_EQ(Text(Field::Horizon), "-.61");
  EXPECT_EQ(Text(Field::SunriseTime), " 3h 45mn 19.5s");
  EXPECT_EQ(session.CurrentRecord, 1);
  EXPECT_TRUE(window.events().empty());
}

TEST_F(StartUpTest, AStartInFrenchShowsTheFrenchColumn) {
  WriteRecords({testing::Geneva()});
  window.SelectLanguage(Language::French);
  StartUp(session);
  EXPECT_EQ(window.Caption("PreviousDay"), "Jr. précédent");
  EXPECT_EQ(window.Caption("Frame3"), "Base de données des lieux");
}

TEST_F(StartUpTest, MissingFileIsCreatedInTheCurrentDirectory) {
  StartUp(session);
  EXPECT_TRUE(std::filesystem::exists(dir / "location.dat"));
  ASSERT_FALSE(window.MessageTexts().empty());
  EXPECT_EQ(window.MessageTexts().front(), "Enter data then save before calculate");
}

}  // namespace
}  // namespace orvalin
