#include "commands/date_commands.h"

#include <gtest/gtest.h>

#include "commands/working_date.h"
#include "tests/support/session_fixture.h"
#include "engine/sun_day.h"

namespace orvalin {
namespace {

using testing::Geneva;
using testing::SessionTest;

constexpr const char* kRefused = "error date format dd-mm-yyyy";
constexpr const char* kOver = "Calculation not precise over year 2200";
constexpr const char* kUnder = "Calculation not precise under year 1800";

class DateCommandsTest : public SessionTest {
 protected:
  DateCommandsTest() {
    WriteRecords({Geneva(), testing::Place("Basel", "Switzerland", "47 33 0 N", "7 35 0 E", 1)});
    session.HorizonAltitude = kHorizonAltitude;
    // A usable place, as after a calculation of the place typed in the fields.
    TypePlace("Lausanne", "46 31 0 N", "6 38 0 E");
    session.WorkPlace = testing::Place("Lausanne", "", "46 31 0 N", "6 38 0 E", 1);
  }
};

struct RunNameCase {
  const char* typed;
  const char* shown;  // Datejour afterwards
  std::vector<std::string> messages;
  bool calculated;
};

TEST_F(DateCommandsTest, RunNameChecksAndRewritesTheTypedDate) {
  const RunNameCase cases[] = {
      {"1-2-2024", "01-02-2024", {}, true},
      {" 7 - 3 - 2024 ", "07-03-2024", {}, true},
      {"31-02-2024", "31-02-2024", {}, true},
      {"1.6-1-2024", "02-01-2024", {}, true},
      {"15-01-32000", "15-01-32000", {kOver}, true},
      {"15-01-2201", "15-01-2201", {kOver}, true},
      {"15-01-2200", "15-01-2200", {}, true},
      {"15-01-1800", "15-01-1800", {}, true},
      {"15-01-26", "15-01-26", {kUnder}, true},
      {"15-01--5", "15-01-05", {kUnder}, true},
      {"32-01-2024", "32-01-2024", {kRefused}, false},
      {"0-01-2024", "0-01-2024", {kRefused}, false},
      {"15-13-2024", "15-13-2024", {kRefused}, false},
      {"15-0-2024", "15-0-2024", {kRefused}, false},
      {"15/01/2024", "15/01/2024", {kRefused}, false},
      {"15-01", "15-01", {kRefused}, false},
      {"15-01-32001", "15-01-32001", {kRefused}, false},
      {"99999-01-2024", "99999-01-2024", {kRefused}, false},  // overflow: refused, no trap
      {"15-01--40000", "15-01--40000", {kRefused}, false},
  };
  for (const auto& c : cases) {
    window.SetFieldText(Field::Date, c.typed);
    window.SetFieldText(Field::Horizon, "untouched");
    window.ClearEvents();
    CalculateWithNewDate(session);
    EXPECT_EQ(Text(Field::Date), c.shown) << c.typed;
    EXPECT_EQ(window.MessageTexts(), c.messages) << c.typed;
    EXPECT_EQ(window.BeepCount(), c.calculated ? 0 : 1) << c.typed;
    EXPECT_EQ(Text(Field::Horizon), c.calculated ? "-.61" : "untouched") << c.typed;
  }
}

TEST_F(DateCommandsTest, WarningsFollowTheLanguage) {
  window.SelectLanguage(Language::French);
  window.SetFieldText(Field::Date, "01-01-2300");
  CalculateWithNewDate(session);
  window.SetFieldText(Field::Date, "01-01-1700");
  CalculateWithNewDate(session);
  EXPECT_EQ(window.MessageTexts(), (std::vector<std::string>{"Calculs imprécis après l'an 2200",
                                                             "Calculs imprécis avant l'an 1800"}));
}

struct StepCase {
  const char* from;
  int step;
  const char* to;  // nullptr: refused
};

TEST_F(DateCommandsTest, NextAndPreviousDayStepTheCalendar) {
  const StepCase cases[] = {
      {"31-12-2024", +1, "01-01-2025"}, {"28-02-2024", +1, "29-02-2024"},
      {"28-02-2100", +1, "01-03-2100"}, {"01-03-2000", -1, "29-02-2000"},
      {"01-03-2023", -1, "28-02-2023"}, {"30-04-2024", +1, "01-05-2024"},
      {"1-1-2024", -1, "31-12-2023"},   {"7-3-26", +1, "08-03-26"},
      {"01-01-0001", +1, "02-01-01"},   {"31-12-9999", -1, "30-12-9999"},
      {"31-02-2024", +1, nullptr},      {"abc", +1, nullptr},
      {"01-01-0001", -1, nullptr},      {"31-12-9999", +1, nullptr},
      {"15-01-0", +1, nullptr},         {"15-01", +1, nullptr},
      {"99999-1-2024", +1, nullptr},    {"15-13-2024", -1, nullptr},
      {"2830-09-02", +1, nullptr},      {"258-1-2024", -1, nullptr},
  };
  for (const auto& c : cases) {
    window.SetFieldText(Field::Date, c.from);
    window.ClearEvents();
    if (c.step > 0)
      NextDay(session);
    else
      PreviousDay(session);
    if (c.to == nullptr) {
      EXPECT_EQ(Text(Field::Date), c.from) << c.from;
      EXPECT_EQ(window.MessageTexts(), std::vector<std::string>{kRefused}) << c.from;
      EXPECT_EQ(window.BeepCount(), 1) << c.from;
    } else {
      EXPECT_EQ(Text(Field::Date), c.to) << c.from;
      EXPECT_EQ(window.BeepCount(), 0) << c.from;
    }
  }
}

TEST_F(DateCommandsTest, WithoutAUsablePlaceTheDefaultPlaceIsLoaded) {
  for (const char* city : {"", "Not defined"}) {
    for (auto command : {NextDay, PreviousDay, CalculateWithNewDate}) {
      window.SetFieldText(Field::City, city);
      window.SetFieldText(Field::Date, "17-08-2011");
      window.SetFieldText(Field::Horizon, "");
      window.SetFieldText(Field::SunriseTime, "stale");
      window.SetFieldText(Field::RecordNumber, "");
      session.CurrentRecord = 2;
      command(session);
      EXPECT_EQ(Text(Field::Date), "05-03-2024");
      EXPECT_EQ(Text(Field::City), FixedText("Geneva", 20));
      EXPECT_EQ(Text(Field::RecordNumber), "1");
      EXPECT_EQ(session.CurrentRecord, 1);
      EXPECT_EQ(Text(Field::Horizon), "-.61");
      // RunName only loads; the day commands also calculate.
      EXPECT_EQ(Text(Field::SunriseTime) == "stale", command == CalculateWithNewDate) << city;
    }
  }
}

TEST_F(DateCommandsTest, NotDefinedWithATrailingBlankIsAUsableName) {
  window.SetFieldText(Field::City, "Not defined ");
  EXPECT_TRUE(IsPlaceLoaded(session));
  session.WorkPlace = PlaceRecord{};  // never assigned: code 0
  EXPECT_FALSE(IsPlaceLoaded(session));
}

TEST_F(DateCommandsTest, TodayCalculatesTwice) {
  window.SetFieldText(Field::Date, "01-01-2000");
  TypePlace("Tromso", "69 39 0 N", "18 57 0 E");
  window.SetToday(std::chrono::year_month_day{std::chrono::year{2009}, std::chrono::June,
                                              std::chrono::day{21}});
  Today(session);
  EXPECT_EQ(Text(Field::Date), "21-06-2009");
  EXPECT_EQ(session.WorkDate, "21-06-2009");
  EXPECT_EQ(window.MessageTexts(), (std::vector<std::string>{"No sunset", "No sunset"}));
}

}  // namespace
}  // namespace orvalin
