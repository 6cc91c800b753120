// orvalin-table on the clocks of time zones: the system's database, the place's own zone, and
// local days.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/table_cli_fixture.h"

namespace orvalin {
namespace {

using testing::Place;
using testing::TableCli;
using testing::ToolRun;

TEST_F(TableCli, SpringChangeShowsOnTheZoneClockOnly) {
  std::map<std::string, std::vector<double>> sunrise;  // clock -> decimal hours of 3 days
  for (const auto& clock :
       std::vector<std::vector<std::string>>{{}, {"--gmt"}, {"--tz", "Europe/Zurich"}}) {
    auto args = clock;
    args.insert(args.end(), {"--place", "zü", "--from", "28-03-2009", "--to", "30-03-2009",
                             "--format", "json"});
    const ToolRun run = Table(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    const std::string name = doc["clock"].toString().toStdString();
    for (const auto& d : doc["days"].toArray()) {
      sunrise[name].push_back(d.toObject()["sunrise"].toObject()["hours"].toDouble());
    }
  }
  ASSERT_EQ(sunrise.size(), 3u);
  const auto& ut = sunrise["UT"];
  ASSERT_EQ(ut.size(), 3u);
  const int zone_offset[] = {1, 2, 2};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(sunrise["GMT+1"][i] - ut[i], 1, 1e-5);  // found as crossings: within 36 ms
    EXPECT_NEAR(sunrise["Europe/Zurich"][i] - ut[i], zone_offset[i], 1e-5);
  }
}

// The system's zone names, links and aliases included, each on its own clock.
TEST_F(TableCli, AnyZoneOfTheSystemsDatabase) {
  for (const char* zone : {"Etc/UTC", "GMT", "US/Eastern", "Asia/Calcutta", "Europe/Kiev",
                           "America/Buenos_Aires", "UTC", "Australia/Sydney"}) {
    const ToolRun run =
        Table({"--record", "1", "--date", "21-06-2027", "--tz", zone, "--format", "csv"});
    ASSERT_EQ(run.status, 0) << zone << ": " << run.err;
    EXPECT_NE(run.out.find(std::string(",") + zone + ",complete,"), std::string::npos) << zone;
  }
  const ToolRun local = Table({"--date", "21-06-2027", "--tz", "local", "--format", "json"});
  ASSERT_EQ(local.status, 0) << local.err;
  EXPECT_EQ(local.out.find("\"clock\": \"local\""), std::string::npos);  // the zone's own name
  const ToolRun unknown = Table({"--tz", "Europe/Atlantis"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("\"Europe/Atlantis\""), std::string::npos);
}

// What the time zone library would take for a zone of its own making (a POSIX rule far beyond any
// real offset, a city alone, an abbreviation) is no clock: refused with the accepted forms, and a
// city that ends one zone's name is suggested.
TEST_F(TableCli, OnlyTheDatabasesZonesAreClocks) {
  const std::pair<const char*, const char*> refused[] = {
      {"XYZ-99", "local or place"},
      {"XYZ-37", "local or place"},
      {"Paris", "local or place; did you mean Europe/Paris?"},
      {"AEST", "local or place"},
      {"../zoneinfo/Europe/Paris", "local or place"},
      {"localtime", "local or place"},
      {"posixrules", "local or place"},
      {"Factory", "local or place"},
      {"Pariss", "; did you mean Europe/Paris?"},
      {"europe/paris", "; did you mean Europe/Paris?"},
      {"Europe/\x1B[2J", "local or place"},
  };
  for (const auto& [zone, ending] : refused) {
    const ToolRun run = Table({"--date", "21-06-2009", "--tz", zone});
    EXPECT_EQ(run.status, 2) << zone;
    EXPECT_TRUE(run.err.ends_with(std::string(ending) + "\n")) << run.err;
    EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
  }
  // The system's own zone set by a POSIX rule beyond the widest offset a clock may have; and one
  // whose name would clear the terminal.
  ::setenv("TZ", "XYZ-99", 1);
  const ToolRun local = Table({"--date", "21-06-2009", "--tz", "local"});
  ::setenv("TZ", "<\x1B[2J>-3", 1);
  for (const char* format : {"text", "csv"}) {
    const ToolRun named = Table({"--date", "21-06-2009", "--tz", "local", "--format", format});
    EXPECT_EQ(named.out.find('\x1B'), std::string::npos) << named.out;
    EXPECT_NE(named.out.find("\\x1B[2J"), std::string::npos) << named.out;
  }
  ::unsetenv("TZ");
  EXPECT_EQ(local.status, 1);
  EXPECT_EQ(local.err,
            "orvalin-table: XYZ-99 is 99.00 hours from universal time on 2009-06-20; a clock may "
            "be 26 hours from it at most\n");
}

// --tz place: a town of the world list on the list's zone, any other place on the zone where it
// lies; without the list, a failure naming it.
TEST_F(TableCli, ZoneOfThePlace) {
  const std::string list = dir / "world-places.csv";
  testing::WriteFile(list,
                     "name,country,latitude,longitude,gmt,zone\n"
                     "Geneva,Switzerland,46 12 0 N,6 9 0 E,1,Europe/Zurich\n"
                     "\"Tromsø, town\",Norway,69 39 0 N,18 57 0 E,1,Europe/Oslo\n"
                     "Tromsø,Norway,69 39 0 N,18 57 0 E,1,Arctic/Longyearbyen\n"
                     "Zürich,Switzerland,40 0 0 N,8 33 0 E,1,Europe/Rome\n");
  ::setenv("ORVALIN_WORLD_PLACES", list.c_str(), 1);
  const ToolRun run = Table({"--record", "1", "--record", "2", "--record", "3", "--date",
                             "21-06-2027", "--tz", "place", "--format", "csv"});
  ::setenv("ORVALIN_WORLD_PLACES", (dir / "none.csv").c_str(), 1);
  const ToolRun missing = Table({"--record", "1", "--tz", "place"});
  ::unsetenv("ORVALIN_WORLD_PLACES");

  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* row :
       {"\nGeneva,Switzerland,Europe/Zurich,", "\nTromsø,Norway,Arctic/Longyearbyen,",
        "\nZürich,Switzerland,Europe/Zurich,"}) {
    EXPECT_NE(run.out.find(row), std::string::npos) << row;
  }
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.csv"), std::string::npos) << missing.err;
}

// Typed coordinates take the zone drawn where they lie; --gmt warns where it is not whole hours.
TEST_F(TableCli, ZoneOfTypedCoordinatesAndPartHours) {
  for (const auto& [lat, lon, zone] :
       {std::tuple{"46.2N", "6.15E", "Europe/Zurich"}, {"27.7N", "85.3E", "Asia/Kathmandu"}}) {
    const ToolRun run = testing::RunEntry(RunTable, {"--lat", lat, "--lon", lon, "--tz", "place",
                                                     "--date", "21-06-2027", "--format", "csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(std::string(",,") + zone + ","), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(std::string(",21-06-2027,") + zone + ","), std::string::npos);
  }
  testing::WriteFile(
      file, testing::RecordsBytes({Place("Kathmandu", "Nepal", "27 42 6 N", "85 19 14 E", 5)}));
  const ToolRun gmt = Table({"--gmt", "--date", "21-06-2027"});
  ASSERT_EQ(gmt.status, 0) << gmt.err;
  EXPECT_NE(gmt.err.find("+5:45 from GMT; --gmt uses the stored whole hours, --tz place"),
            std::string::npos)
      << gmt.err;
  const ToolRun geneva =
      testing::RunEntry(RunTable, {"--file", dir / "good.dat", "--gmt", "--date", "21-06-2027"});
  ASSERT_EQ(geneva.status, 0) << geneva.err;
  EXPECT_EQ(geneva.err, "");
}

// Without --file and with no location.dat here, the tools use the window's places folder, made
// from the sample on first use; with one here, that one.
TEST_F(TableCli, TheWindowsPlacesWithoutFile) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir / "");
  std::filesystem::remove(file);
  const std::string data = dir / "data";
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  const ToolRun first = testing::RunEntry(
      RunTable, {"--place", "Sydney, Australia", "--tz", "place", "--date", "21-06-2027"});
  const auto copied = std::filesystem::file_size(data + "/orvalin/location.dat");
  std::filesystem::rename(dir / "good.dat", dir / "location.dat");
  const ToolRun here = testing::RunEntry(RunTable, {"--record", "3", "--format", "csv"});
  std::filesystem::current_path(before);

  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("Australia/Sydney local time"), std::string::npos) << first.out;
  // The sample's Sydney and the world list's are alike: which one was taken is said.
  EXPECT_EQ(first.err,
            "orvalin-table: --place \"Sydney, Australia\": 2 places match as well; took Sydney, "
            "Australia (record 20); orvalin-places find \"Sydney, Australia\" lists them all\n");
  ASSERT_EQ(here.status, 0) << here.err;
  EXPECT_NE(here.out.find("\nUshuaia,Argentina,"), std::string::npos);
  EXPECT_GT(copied, 26000 * kRecordSize);  // the sample, copied by the first run
}

// In Sydney the local day's sunrise comes from the universal day before: no row pairs another
// day's event with its own.
TEST_F(TableCli, SydneyRowsAreLocalDays) {
  const ToolRun run = testing::RunEntry(
      RunTable, {"--lat", "33 52 0 S", "--lon", "151 12 0 E", "--from", "20-06-2027", "--to",
                 "22-06-2027", "--tz", "Australia/Sydney", "--format", "json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const QJsonArray days =
      QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object()["days"].toArray();
  ASSERT_EQ(days.size(), 3);
  for (const auto& d : days) {
    const QJsonObject day = d.toObject();
    for (const char* event : {"sunrise", "culmination", "sunset"}) {
      EXPECT_EQ(day[event].toObject()["date"], day["date"]) << event;
    }
    EXPECT_TRUE(day["sunrise"].toObject()["time"].toString().endsWith("+10:00"));
    EXPECT_TRUE(day["note"].isNull());
  }
}

// Tromsø on its clock sets twice on 27 July 2027, just after midnight and before the next: JSON
// gives both sunsets and their azimuths as lists, CSV the first with the note naming the second.
TEST_F(TableCli, ADayWithTwoSunsetsGivesBoth) {
  const std::vector<std::string> day = {"--place", "tromsø", "--date", "2027-07-27", "--tz",
                                        "Europe/Oslo", "--format"};
  auto args = day;
  args.emplace_back("json");
  const ToolRun json = Table(args);
  ASSERT_EQ(json.status, 0) << json.err;
  const QJsonObject row = QJsonDocument::fromJson(QByteArray::fromStdString(json.out))
                              .object()["days"]
                              .toArray()[0]
                              .toObject();
  const QJsonArray sunsets = row["sunset"].toArray(), azimuths = row["sunset_azimuth"].toArray();
  ASSERT_EQ(sunsets.size(), 2);
  ASSERT_EQ(azimuths.size(), 2);
  EXPECT_EQ(sunsets[0].toObject()["time"].toString().toStdString(), "2027-07-27T00:02:21+02:00");
  EXPECT_EQ(sunsets[1].toObject()["time"].toString().toStdString(), "2027-07-27T23:50:43+02:00");
  EXPECT_TRUE(row["sunrise"].isObject());
  args.back() = "csv";
  const ToolRun csv = Table(args);
  EXPECT_NE(csv.out.find(",\" 0h 2mn 20.5s\","), std::string::npos) << csv.out;
  EXPECT_NE(csv.out.find("two sunsets on this day (the second at 23:50:43)\n"), std::string::npos)
      << csv.out;
}

// Geneva on 27 January 2027 sees no moonrise (the moon rises at 22:53 on the 26th, 00:07 on the
// 28th): every form says so, the readable one in its short note, after the moonset of the day.
TEST_F(TableCli, ADayWithoutMoonriseSaysSoInEveryForm) {
  const std::vector<std::string> day = {"--place", "geneva", "--date", "2027-01-27", "--tz",
                                        "place", "--moon", "--format"};
  const std::pair<const char*, const char*> expected[] = {
      {"text", "10:11:13  257.2  Waning Gibbous   0.7024      no moonrise\n"},
      {"csv", ",\" 10h 11mn 13.3s\","},
      {"csv", ",Waning Gibbous,0.7024,19.6082,no moonrise on this day\n"},
      {"json", R"("note": "no moonrise on this day")"}};
  for (const auto& [format, text] : expected) {
    auto args = day;
    args.emplace_back(format);
    const ToolRun run = Table(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(text), std::string::npos) << format << "\n" << run.out;
  }
}

}  // namespace
}  // namespace orvalin
