#include "cli/table_cli.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

#include "cli/table_format.h"
#include "common/text.h"
#include "tests/cli/tool_test_support.h"
#include "tests/support/table_writing.h"
#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

using testing::Place;
using testing::ToolRun;

class TableCli : public ::testing::Test {
 protected:
  TableCli() {
    testing::WriteFile(
        dir / "good.dat",
        testing::RecordsBytes({testing::Geneva(),
                               Place("Tromsø", "Norway", "69 39 0 N", "18 57 0 E", 1),
                               Place("Ushuaia", "Argentina", "54 48 0 S", "68 18 0 W", -3)}));
    testing::WriteFile(file, testing::RecordsBytes({
                                 testing::Geneva(),
                                 Place("Tromsø", "Norway", "69 39 0 N", "18 57 0 E", 1),
                                 Place("Zürich", "Switzerland", "47 22 0 N", "8 33 0 E", 1),
                                 Place("Broken", "Nowhere", "46 12 N", "6 9 0 E", 1),
                             }));
  }
  ToolRun Table(std::vector<std::string> args) {
    args.insert(args.begin(), {"--file", file});
    return testing::RunEntry(RunTable, args);
  }

  testing::ScratchDir dir;
  std::string file = dir / "location.dat";
};

TEST_F(TableCli, WorkedExampleRowHoldsTheWindowsTexts) {
  for (const auto& place :
       std::vector<std::vector<std::string>>{{"--record", "1"}, {"--place", "gen"}, {}}) {
    auto args = place;
    args.insert(args.end(), {"--date", "21-06-2009", "--window-texts"});
    const ToolRun run = Table(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Geneva, Switzerland (46 12 0 N, 6 9 0 E)"), std::string::npos);
    const std::string row = run.out.substr(run.out.find("21-06-2009"));
    for (const char* text : {" 3h 45mn 19.5s", " 11h 37mn 14.2s", " 15h 43mn 48.5s"}) {
      EXPECT_NE(row.find(text), std::string::npos) << text;
    }
  }
  const ToolRun typed = testing::RunEntry(RunTable, {"--lat", "46 12 0 N", "--lon", "6 9 0 E",
                                                     "--date", "21-06-2009", "--format", "csv"});
  ASSERT_EQ(typed.status, 0) << typed.err;
  EXPECT_NE(
      typed.out.find(
          ",46.200000,6.150000,2009-06-21,21-06-2009,UT,complete,\" 3h 45mn 19.5s\",2009-06-21,"
          "3.755425,2009-06-21T03:45:20+00:00,"),
      std::string::npos);
}

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
  };
  for (const auto& [zone, ending] : refused) {
    const ToolRun run = Table({"--date", "21-06-2009", "--tz", zone});
    EXPECT_EQ(run.status, 2) << zone;
    EXPECT_TRUE(run.err.ends_with(std::string(ending) + "\n")) << run.err;
  }
  // The system's own zone set by a POSIX rule beyond the widest offset a clock may have.
  ::setenv("TZ", "XYZ-99", 1);
  const ToolRun local = Table({"--date", "21-06-2009", "--tz", "local"});
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

TEST_F(TableCli, PolarRowsInEveryFormat) {
  const ToolRun text = Table({"--place", "TROM", "--date", "21-06-2009", "--window-texts"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("24h 0mn 0s"), std::string::npos);
  EXPECT_NE(text.out.find("no sunset: the sun stays up all day"), std::string::npos);

  const ToolRun csv = Table({"--record", "2", "--date", "21-12-2009", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out,
            std::string(TableCsvHeader()) +
                "\nTromsø,Norway,Europe/Oslo,69.650000,18.950000,2009-12-21,21-12-2009,UT,no "
                "sunrise,,,,,,,,,,,,,,,,,,,"
                "\" 0h 0mn 0s\",0.000000,,,"
                "no sunrise: the sun stays down all day\n");
}

TEST_F(TableCli, CsvAndJsonCarryAYearOfRows) {
  const ToolRun csv = Table({"--year", "2008", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(testing::LineCount(csv.out), 367u);  // a leap year and the header
  const ToolRun json = Table({"--month", "02-2009", "--format", "json", "--tz", "Europe/Zurich"});
  ASSERT_EQ(json.status, 0) << json.err;
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  const QJsonArray days = doc.object()["days"].toArray();
  ASSERT_EQ(days.size(), 28);
  EXPECT_EQ(days[0].toObject()["date"].toString(), "2009-02-01");
  EXPECT_EQ(days[0].toObject()["date_text"].toString(), "01-02-2009");
  EXPECT_EQ(days[0].toObject()["sunrise"].toObject()["time"].toString().left(11), "2009-02-01T");
  EXPECT_TRUE(days[0].toObject()["sunrise"].toObject()["time"].toString().endsWith("+01:00"));
  const QJsonObject place = doc.object()["place"].toObject();
  EXPECT_EQ(place["gmt"].toInt(), 1);
  EXPECT_NEAR(place["longitude_deg"].toDouble(), 6.15, 1e-9);  // east positive
  EXPECT_NEAR(place["longitude_west_deg"].toDouble(), -6.15, 1e-9);
}

TEST_F(TableCli, BadUsageIsOneLineAndStatusTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"--lat", "4612", "--lon", "6 9 0 E"},
      {"--lat", "46 12 N", "--lon", "6 9 0 E"},
      {"--lat", "46 12 0 x", "--lon", "6 9 0 E"},
      {"--lat", "46 12 0 E", "--lon", "6 9 0 E"},
      {"--lat", "95 0 0 N", "--lon", "6 9 0 E"},
      {"--lat", "46 12 0 N", "--lon", "6 9 0"},
      {"--lat", "46 12 0.000000 N", "--lon", "6 9 0 E"},
      {"--lat", "46 12 0 N"},
      {"--date", "31-02-2009"},
      {"--date", "2009-21-06"},
      {"--month", "13-2009"},
      {"--year", "09"},
      {"--from", "01-01-2009"},
      {"--from", "02-01-2009", "--to", "01-01-2009"},
      {"--date", "21-06-2009", "--year", "2009"},
      {"--tz", "Mars/Olympus_Mons"},
      {"--tz", "Europe/Zurich", "--gmt"},
      {"--format", "xml"},
      {"--record", "0"},
      {"--all", "--place", "gen"},
      {"--record", "1", "--lat", "46 12 0 N", "--lon", "6 9 0 E"},
      {"--format", "csv", "--minutes"},
      {"--window-texts", "--minutes"},
      {"--twilight", "golden"},
      {"--horizon", "-0,833"},
      {"--horizon", "95"},
      {"--colour"},
      {"extra"},
  };
  for (const auto& args : cases) {
    const ToolRun run = testing::RunEntry(RunTable, args);
    EXPECT_EQ(run.status, 2) << args.front() << ' ' << args.back();
    EXPECT_EQ(testing::LineCount(run.err), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("orvalin-table: ", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(TableCli, FailuresAreStatusOne) {
  const std::vector<std::vector<std::string>> cases = {
      {"--record", "9"},       // beyond the file
      {"--place", "nowhere"},  // not found
      {"--place", "broken"},   // its latitude cannot be read
      {"--place", "geneva", "--plot", dir / "no-such-folder/x.png"},
  };
  for (const auto& args : cases) {
    const ToolRun run = Table(args);
    EXPECT_EQ(run.status, 1) << args.back();
    EXPECT_EQ(testing::LineCount(run.err), 1u) << run.err;
  }
  const ToolRun missing = testing::RunEntry(RunTable, {"--file", dir / "none.dat"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "none.dat"));  // never created
}

TEST_F(TableCli, HelpAndVersion) {
  for (const char* ask : {"--help", "-h"}) {
    const ToolRun help = testing::RunEntry(RunTable, {ask});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--tz AREA/CITY"), std::string::npos);
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(CharacterCount(line), 80u) << line;
  }
  for (const char* ask : {"--version", "-V"}) {
    const ToolRun version = testing::RunEntry(RunTable, {ask});
    EXPECT_EQ(version.out, "orvalin-table " ORVALIN_VERSION "\n");
  }
}

// The default text: clock times and decimal degrees, every line within 100 columns, whatever
// the rows say.
TEST_F(TableCli, ReadableTextFitsHundredColumns) {
  const ToolRun geneva = Table({"--date", "21-06-2009"});
  ASSERT_EQ(geneva.status, 0) << geneva.err;
  EXPECT_NE(
      geneva.out.find("\n2009-06-21  03:45:20   54.1  11:37:14  19:29:08  305.9  15:43:49   67.2"),
      std::string::npos)
      << geneva.out;
  const ToolRun minutes = Table({"--date", "21-06-2009", "--minutes"});
  EXPECT_NE(minutes.out.find("\n2009-06-21    03:45   54.1    11:37   19:29  305.9   15:44   67.2"),
            std::string::npos)
      << minutes.out;
  const std::vector<std::vector<std::string>> cases = {
      {"--all", "--year", "2009"},
      {"--all", "--year", "2009", "--minutes"},
      {"--record", "2", "--year", "2009", "--tz", "Etc/GMT-5"},
      {"--record", "1", "--from", "01-05-2027", "--to", "01-09-2027", "--tz", "Etc/GMT-5"},
      {"--record", "2", "--year", "2009", "--twilight", "civil", "--tz", "Europe/Oslo"},
      {"--record", "1", "--year", "2009", "--twilight", "astronomical", "--minutes"},
  };
  for (const auto& args : cases) {
    std::vector<std::string> all = args;
    if (args.front() == "--all") all.insert(all.end(), {"--file", dir / "good.dat"});
    const ToolRun run = args.front() == "--all" ? testing::RunEntry(RunTable, all) : Table(all);
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(CharacterCount(line), 100u) << line;
    }
  }
}

// Many places in one run: every CSV line and JSON day names its place; a place that cannot be
// read stops the run before anything is written.
TEST_F(TableCli, ManyPlacesInOneRun) {
  const ToolRun csv = Table({"--record", "3", "--place", "tro", "--record", "1", "--month",
                             "02-2009", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(testing::LineCount(csv.out), 1u + 3 * 28);
  for (const char* start : {"\nZürich,Switzerland,Europe/Zurich,47.366667,8.550000,2009-02-01,",
                            "\nTromsø,Norway,Europe/Oslo,69.650000,18.950000,2009-02-28,",
                            "\nGeneva,Switzerland,Europe/Zurich,46.200000,6.150000,2009-02-01,"}) {
    EXPECT_NE(csv.out.find(start), std::string::npos) << start;
  }
  const ToolRun json = Table(
      {"--record", "1", "--record", "2", "--date", "21-06-2009", "--format", "json", "--gmt"});
  ASSERT_EQ(json.status, 0) << json.err;
  const QJsonArray places =
      QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object()["places"].toArray();
  ASSERT_EQ(places.size(), 2);
  EXPECT_EQ(places[1].toObject()["place"].toObject()["name"].toString(), "Tromsø");
  EXPECT_EQ(places[1].toObject()["clock"].toString(), "GMT+1");
  EXPECT_EQ(places[1].toObject()["days"].toArray()[0].toObject()["place"].toString(), "Tromsø");

  const ToolRun broken = Table({"--all", "--date", "21-06-2009"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.out, "");
  EXPECT_NE(broken.err.find("record 4"), std::string::npos) << broken.err;
}

// A full disk: the rows cannot be written, and the run says so.
TEST_F(TableCli, AFailedWriteIsAFailure) {
  std::ofstream full("/dev/full");
  std::ostringstream err;
  EXPECT_EQ(RunTable({"--file", file, "--year", "2009"}, full, err), 1);
  EXPECT_EQ(err.str(), "orvalin-table: the table cannot be written\n");
}

// The answers for scripts, from a given now: the next event as a local time, a wait for an event
// that has just passed, and whether it is day, which agrees with the sun's elevation then.
TEST_F(TableCli, ScriptAnswersFromAGivenNow) {
  const std::vector<std::string> geneva = {"--record", "1", "--tz", "Europe/Zurich"};
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), geneva.begin(), geneva.end());
    return Table(args);
  };
  const ToolRun next = run({"--next", "sunrise", "--now", "2027-06-21T03:00:00+02:00"});
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(next.out, "2027-06-21T05:45:18+02:00\n");
  const ToolRun golden = run({"--next", "golden-hour-start", "--now", "2027-06-21T10:00:00Z"});
  EXPECT_EQ(golden.out, "2027-06-21T20:44:05+02:00\n");
  const ToolRun passed = run({"--wait", "sunrise", "--now", "2027-06-21T05:45:43+02:00"});
  EXPECT_EQ(passed.status, 0);
  EXPECT_EQ(passed.err, "orvalin-table: sunrise was 25 s ago, at 2027-06-21T05:45:18+02:00\n");
  for (const char* time : {"05:45:10", "05:45:30"}) {
    const ToolRun at = run({"--date", "2027-06-21", "--at", time, "--format", "json"});
    const QJsonObject row = QJsonDocument::fromJson(QByteArray::fromStdString(at.out))
                                .object()["days"]
                                .toArray()[0]
                                .toObject();
    const bool up = row["at_elevation"].toObject()["degrees"].toDouble() > kHorizonAltitude;
    const ToolRun day = run({"--is-day", "--now", std::string("2027-06-21T") + time + "+02:00"});
    EXPECT_EQ(day.status, up ? 0 : 1) << time << at.out;
  }
  EXPECT_EQ(run({"--next", "noon"}).status, 2);
  EXPECT_EQ(run({"--now", "2027-06-21T03:00:00"}).status, 2);
}

}  // namespace
}  // namespace orvalin
