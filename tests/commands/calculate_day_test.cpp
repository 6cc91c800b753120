#include "commands/calculate_day.h"

#include <gtest/gtest.h>

#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

using testing::SessionTest;

class CalculateDayTest : public SessionTest {
 protected:
  CalculateDayTest() {
    session.HorizonAltitude = -0.61;
    TypePlace("Geneva", "46 12 0 N", "6 9 0 E");
    window.SetFieldText(Field::Date, "21-06-2009");
  }
  std::vector<std::string> Results() const {
    std::vector<std::string> texts;
    for (const Field f : {Field::SunriseTime, Field::SunriseAzimuth, Field::CulminationTime,
                          Field::CulminationAzimuth, Field::SunsetTime, Field::SunsetAzimuth,
                          Field::Horizon, Field::DayLength, Field::CulminationElevation}) {
      texts.push_back(Text(f));
    }
    return texts;
  }
};

TEST_F(CalculateDayTest, WorkedExampleTypedIntoTheFields) {
  CalculateDay(session);
  EXPECT_TRUE(window.events().empty());
  EXPECT_EQ(Text(Field::SunriseTime), " 3h 45mn 19.5s");
  EXPECT_EQ(Text(Field::CulminationTime), " 11h 37mn 14.2s");
  EXPECT_EQ(Text(Field::DayLength), " 15h 43mn 48.5s");
  EXPECT_EQ(Text(Field::CulminationAzimuth), "  180° 0' 0\"");
  EXPECT_EQ(Text(Field::CulminationElevation), "  67° 14' 16.1\"");
  EXPECT_EQ(Text(Field::Horizon), "-.61");
  EXPECT_EQ(session.WorkPlace.PlaceName, FixedText("Geneva", 20));
  EXPECT_EQ(session.WorkPlace.GmtHours, 1);
}

TEST_F(CalculateDayTest, TimeOffsetIsRoundedHalfToEvenAndNotUsed) {
  CalculateDay(session);
  const auto reference = Results();
  const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"abc", 0}, {" -3.5", -4}};
  for (auto [typed, stored] : cases) {
    window.SetFieldText(Field::Gmt, typed);
    window.SetFieldText(Field::Country, typed);
    CalculateDay(session);
    EXPECT_EQ(session.WorkPlace.GmtHours, stored) << typed;
    EXPECT_EQ(Results(), reference) << typed;
  }
}

TEST_F(CalculateDayTest, FailuresReportTheirLineAfterABeep) {
  struct Case {
    Field field;
    const char* text;
    const char* report;
  };
  const Case cases[] = {
      {Field::Gmt, "99999", "Overflow in line 600 of ORVALIN"},
      {Field::Latitude, "99999 0 0 N", "Overflow in line 610 of ORVALIN"},
      {Field::Date, "21062009", "Invalid procedure call or argument in line 610 of ORVALIN"},
      {Field::Date, "40000-1-2009", "Overflow in line 610 of ORVALIN"},
  };
  for (const auto& c : cases) {
    TypePlace("Geneva", "46 12 0 N", "6 9 0 E");
    window.SetFieldText(Field::Date, "21-06-2009");
    window.SetFieldText(Field::SunriseTime, "before");
    window.SetFieldText(c.field, c.text);
    window.ClearEvents();
    CalculateDay(session);
    ASSERT_EQ(window.events().size(), 2u) << c.text;
    EXPECT_EQ(window.events()[0].kind, WindowEvent::Kind::Beep);
    EXPECT_EQ(window.MessageTexts(), std::vector<std::string>{c.report});
    EXPECT_EQ(window.events()[1].box.title, "Orvalin");
    EXPECT_EQ(Text(Field::SunriseTime), "before") << "results are left as they were";
  }
}

TEST_F(CalculateDayTest, DateIsSplitOnDashesWithoutRangeTest) {
  // "15-6" has no year part: the year becomes the day's number.
  window.SetFieldText(Field::Date, "15-6");
  CalculateDay(session);
  EXPECT_EQ(Text(Field::Date), "15-6");
  const auto short_date = Results();
  window.SetFieldText(Field::Date, "15-0-15");
  CalculateDay(session);
  EXPECT_EQ(Results(), short_date);

  // Day 31 of February is the 3rd of March.
  window.SetFieldText(Field::Date, "31-2-2009");
  CalculateDay(session);
  const auto overflowing_day = Results();
  window.SetFieldText(Field::Date, "3-3-2009");
  CalculateDay(session);
  EXPECT_EQ(Results(), overflowing_day);
}

TEST_F(CalculateDayTest, EmptyDateBecomesToday) {
  window.SetFieldText(Field::Date, "");
  CalculateDay(session);
  EXPECT_EQ(Text(Field::Date), "05-03-2024");
  EXPECT_EQ(session.WorkDate, "05-03-2024");
}

TEST_F(CalculateDayTest, AnglesThatFailEnterAsZeroOrUnsigned) {
  window.SetFieldText(Field::Latitude, "46 31 0 X");
  CalculateDay(session);
  EXPECT_EQ(window.MessageTexts(),
            std::vector<std::string>{"Erreur signe module VerifAngle. Wrong Angle"});
  const auto unsigned_north = Results();
  window.SetFieldText(Field::Latitude, "46 31 0 N");
  CalculateDay(session);
  EXPECT_EQ(Results(), unsigned_north);
}

TEST_F(CalculateDayTest, EarlyReturnEmptiesWhatWasNotStored) {
  CalculateDay(session);  // a normal day first
  TypePlace("Tromso", "69 39 0 N", "18 57 0 E");
  window.SelectLanguage(Language::French);
  CalculateDay(session);  // midnight sun
  EXPECT_EQ(window.MessageTexts(), std::vector<std::string>{"Pas de coucher de soleil"});
  EXPECT_EQ(Results(),
            (std::vector<std::string>{"", "", "", "", "", "", "-.61", " 24h 0mn 0s", ""}));

  window.SetFieldText(Field::Date, "21-12-2009");  // polar night
  window.SelectLanguage(Language::English);
  window.ClearEvents();
  CalculateDay(session);
  EXPECT_EQ(window.MessageTexts(), std::vector<std::string>{"No sunrise"});
  EXPECT_EQ(window.BeepCount(), 1);
  EXPECT_EQ(Results(),
            (std::vector<std::string>{"", "", "", "", "", "", "-.61", " 0h 0mn 0s", ""}));
}

}  // namespace
}  // namespace orvalin
