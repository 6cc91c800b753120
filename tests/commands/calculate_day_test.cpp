#include "commands/calculate_day.h"

#include <gtest/gtest.h>

#include "tests/support/session_fixture.h"
#include "engine/sun_day.h"

namespace orvalin {
namespace {

using testing::SessionTest;

class CalculateDayTest : public SessionTest {
 protected:
  CalculateDayTest() {
    session.HorizonAltitude = kHorizonAltitude;
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

// Events in the UT day's last 236 s, which a sidereal day of passes cannot reach, are the
// day's own; a day they skip over has none of that kind, as a polar day has none.
TEST_F(CalculateDayTest, EventsInTheLastMinutesOfTheUtDay) {
  struct Case {
    const char *latitude, *longitude, *date;
    std::vector<std::string> results;
    const char* message;
  };
  const Case cases[] = {
      {"28 38 9 N",
       "77 13 28 E",
       "20-05-2027",
       {" 23h 58mn 34.6s", "  66° 35' 30.2\"", " 6h 47mn 39.8s", "  180° 0' 0\"", " 13h 36mn 33.3s",
        "  293° 18' 15.2\"", "-.61", " 13h 37mn 58.6s", "  81° 21' 18.6\""},
       nullptr},
      {"41 51 0 N",
       "87 39 0 W",
       "16-03-2027",
       {" 12h 2mn 11.3s", "  91° 45' 39.8\"", " 17h 59mn 18.4s", "  180° 0' 0\"", " 23h 56mn 59.1s",
        "  268° 30' 8.45\"", "-.61", " 11h 54mn 47.8s", "  46° 25' 50.2\""},
       nullptr},
      {"41 51 0 N",
       "87 39 0 W",
       "18-03-2027",
       {" 11h 58mn 47.1s", "  90° 42' 2.64\"", " 17h 58mn 43.9s", "  180° 0' 0\"",
        " 23h 59mn 14.6s", "  269° 33' 53.5\"", "-.61", " 12h 0mn 27.5s", "  47° 13' 16.9\""},
       nullptr},
      // The sunset of 18 March is at 23:59:15, the next one at 00:00:22 on 20 March.
      {"41 51 0 N",
       "87 39 0 W",
       "19-03-2027",
       {" 11h 57mn 4.79s", "", " 17h 58mn 26.5s", "", "", "", "-.61", "", "  47° 37' .624\""},
       "No sunset"},
  };
  for (const Case& c : cases) {
    TypePlace("", c.latitude, c.longitude);
    window.SetFieldText(Field::Date, c.date);
    window.ClearEvents();
    CalculateDay(session);
    EXPECT_EQ(Results(), c.results) << c.date;
    EXPECT_EQ(window.MessageTexts(),
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
        << c.date;
  }
}

}  // namespace
}  // namespace orvalin
