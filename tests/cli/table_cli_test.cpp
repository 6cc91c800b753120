#include "cli/table_tool/table_cli.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

#include "cli/table/table_format.h"
#include "common/text.h"
#include "tests/cli/table_cli_fixture.h"
#include "tests/cli/tool_test_support.h"
#include "tests/support/session_fixture.h"
#include "tests/support/table_writing.h"

namespace orvalin {
namespace {

using testing::Place;
using testing::TableCli;
using testing::ToolRun;

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
      {"--next", "sunrise", "--offset", "nan"},
      {"--next", "sunrise", "--offset", "+-5"},
      {"--next", "sunrise", "--date", "2027-06-21"},
      {"--next", "sunrise", "--now", "0001-01-01T00:00:00+23:59"},
      {"--is-day", "--offset", "5"},
      // Options that do not go together are judged before any file is read.
      {"--now", "2027-06-21T03:00:00Z", "--file", "/nonexistent/location.dat"},
      {"--path", "60", "--format", "ics", "--file", "/nonexistent/location.dat"},
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

// A chart drawn onto the places file read is refused, by whatever name it comes.
TEST_F(TableCli, APlotNeverOverwritesThePlacesFile) {
  const std::string before = testing::ReadFile(file);
  std::filesystem::create_symlink(file, dir / "link.dat");
  for (const std::string& plot : {file, dir / "link.dat"}) {
    const ToolRun run = Table({"--date", "21-06-2009", "--plot", plot});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(testing::ReadFile(file), before);
  }
}

// Among places as good as each other, the one taken is named, and the command that lists them
// all in the same file.
TEST_F(TableCli, AmongEqualsTheOneTakenIsNamed) {
  testing::WriteFile(file, testing::RecordsBytes(std::vector<PlaceRecord>(11, testing::Geneva())));
  const ToolRun run = Table({"--place", "Geneva", "--date", "21-06-2027"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "orvalin-table: --place \"Geneva\": 11 places match as well; took Geneva, "
            "Switzerland (record 1); orvalin-places find \"Geneva\" --file \"" +
                file + "\" --limit 11 lists them all\n");
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

// --path writes each day as it is computed: over the years 1 to 9999 an output that takes only
// the first rows stops the run at once; JSON of many places and days stays one document.
TEST_F(TableCli, APathStreamsDayByDay) {
  struct FirstBytesOnly : std::streambuf {
    std::size_t left = 1 << 16;
    int_type overflow(int_type c) override { return left-- == 0 ? traits_type::eof() : c; }
  } first_bytes;
  std::ostream out(&first_bytes);
  std::ostringstream err;
  EXPECT_EQ(RunTable({"--file", file, "--from", "01-01-0001", "--to", "31-12-9999", "--path", "1"},
                     out, err),
            1);
  const ToolRun json = Table({"--record", "1", "--record", "2", "--from", "20-06-2027", "--to",
                              "21-06-2027", "--path", "720", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const QJsonArray paths =
      QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object()["paths"].toArray();
  ASSERT_EQ(paths.size(), 2);
  EXPECT_EQ(paths[1].toObject()["points"].toArray().size(), 4);
}

// With the moon a path gives at each point what --at gives at that time, under the path's names.
TEST_F(TableCli, APathWithTheMoonGivesItAsAtDoes) {
  const std::vector<std::string> day = {"--place", "geneva", "--date", "2027-06-21", "--tz", "place",
                                        "--moon", "--format"};
  const auto run = [&](std::vector<std::string> more) {
    auto args = day;
    args.insert(args.end(), more.begin(), more.end());
    const ToolRun r = Table(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const auto json = [](const std::string& out) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
  };
  const QJsonArray points =
      json(run({"json", "--path", "480"}))["paths"].toArray()[0].toObject()["points"].toArray();
  ASSERT_EQ(points.size(), 3);
  const std::pair<const char*, const char*> keys[] = {
      {"moon_azimuth_deg", "at_moon_azimuth"},
      {"moon_elevation_deg", "at_moon_elevation"},
      {"moon_apparent_elevation_deg", "at_moon_apparent_elevation"},
      {"moon_illumination", "at_moon_illumination"}};
  const char* times[] = {"00:00", "08:00", "16:00"};
  for (int k = 0; k < 3; ++k) {
    const std::string at = times[k];
    const QJsonObject row = json(run({"json", "--at", at}))["days"].toArray()[0].toObject();
    for (const auto& [path_key, at_key] : keys) {
      const QJsonValue want = row[at_key].isObject() ? row[at_key].toObject()["degrees"] : row[at_key];
      EXPECT_EQ(points[k].toObject()[path_key].toDouble(), want.toDouble()) << at << ' ' << path_key;
    }
  }
  EXPECT_EQ(run({"csv", "--path", "1440"}),
            "place,time,azimuth_deg,elevation_deg,apparent_elevation_deg,up,moon_azimuth_deg,"
            "moon_elevation_deg,moon_apparent_elevation_deg,moon_illumination\n"
            "Geneva,2027-06-21T00:00:00+02:00,336.784553,-16.971206,-16.971206,false,137.449890,"
            "7.133459,7.254809,0.9674\n");
  EXPECT_NE(run({"text", "--path", "480"})
                .find("Up   Moon az.  Moon elev.  Moon app.  Illum.\n"
                      "2027-06-21  00:00:00   336.78     -16.97    -16.97  no     137.45        "
                      "7.13       7.25  0.9674\n"),
            std::string::npos);
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

// The true next event on any clock: the second sunset of a day that holds two, one just after
// midnight UT, after a polar night, from a moment with fractions of a second; none beyond the
// years computed. --is-day tells a failure from the night.
TEST_F(TableCli, NextEventOnAnyClockAndIsDayStatuses) {
  const std::vector<std::string> tromso = {"--lat", "69.6492", "--lon", "18.9553", "--tz",
                                           "Europe/Oslo"};
  const std::vector<std::string> delhi = {"--lat", "28.6358", "--lon", "77.2245"};
  const std::vector<std::string> chicago = {"--lat", "41.85", "--lon", "-87.65", "--tz", "UTC"};
  const std::vector<std::string> missing = {"--file", dir / "none.dat"};
  const struct {
    const std::vector<std::string>& place;
    std::vector<std::string> ask;
    int status;
    std::string out;
  } cases[] = {
      {tromso, {"--next", "sunset", "--now", "2027-07-27T12:00:00+02:00"}, 0,
       "2027-07-27T23:50:40+02:00\n"},
      {tromso, {"--next", "sunrise", "--now", "2027-12-01T12:00:00+01:00"}, 0,
       "2028-01-17T11:22:56+01:00\n"},
      {tromso, {"--next", "culmination", "--now", "2027-12-21T23:59:59.999999Z"}, 0,
       "2027-12-22T11:42:37+01:00\n"},
      {delhi, {"--next", "sunrise", "--now", "2027-05-18T12:00:00+00:00"}, 0,
       "2027-05-18T23:59:33+00:00\n"},
      {chicago, {"--next", "sunset", "--now", "2027-09-15T12:00:00Z"}, 0,
       "2027-09-15T23:59:06+00:00\n"},
      {chicago, {"--next", "sunset", "--now", "2027-05-05T01:03:48,114517000+00:00"}, 0,
       "2027-05-06T00:52:05+00:00\n"},
      {chicago, {"--now", "2027-09-15T12:00:00Z", "--next", "sunset", "--offset", "+2.5"}, 0,
       "2027-09-16T00:01:36+00:00\n"},
      {delhi, {"--next", "sunrise", "--now", "9999-12-31T23:59:59Z"}, 1, ""},
      {tromso, {"--is-day", "--now", "2027-12-21T12:00:00+01:00"}, 1, ""},
      {tromso, {"--is-day", "--now", "2027-06-21T00:00:00+02:00"}, 0, ""},
      {missing, {"--is-day"}, 3, ""},
      {tromso, {"--is-day", "--date", "2027-06-21"}, 2, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.place;
    args.insert(args.end(), c.ask.begin(), c.ask.end());
    const ToolRun run = testing::RunEntry(RunTable, args);
    EXPECT_EQ(run.status, c.status) << c.ask.front() << ' ' << c.ask.back() << run.err;
    EXPECT_EQ(run.out, c.out) << c.ask.back();
  }
}

}  // namespace
}  // namespace orvalin
