#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "cli/args/tool_errors.h"
#include "cli/places/places_cli.h"
#include "cli/table/output_file.h"
#include "common/out_text.h"
#include "placesfile/place_rules.h"
#include "tests/cli/tool_test_support.h"
#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

using testing::Place;
using testing::ToolRun;

constexpr char kCsv[] =
    "name,country,latitude,longitude,gmt\n"
    "Zürich,Switzerland,47 22 0 N,8 33 0 E,1\n"
    "Évian-les-Bains,France,46 24 0 N,6 35 0 E,1\n"
    "Œuilly,France,49 25 0 N,3 41 0 E,1\n"
    "Šibenik,Croatia,43 44 0 N,15 54 0 E,1\n"
    "\"Paris, Île-de-France\",France,48 51 24 N,2 21 3 E,1\n";

class PlacesCli : public ::testing::Test {
 protected:
  ToolRun Places(std::vector<std::string> args) {
    args.insert(args.begin(), {"--file", file});
    return testing::RunEntry(RunPlaces, args);
  }
  std::string WriteCsv(const std::string& name, const std::string& text) {
    testing::WriteFile(dir / name, text);
    return dir / name;
  }

  testing::ScratchDir dir;
  std::string file = dir / "location.dat";
};

// find: best first in each format, --limit, and the nearest spellings with status 1.
TEST_F(PlacesCli, FindListsTheBestFirst) {
  ASSERT_EQ(Places({"import", WriteCsv("in.csv", kCsv)}).status, 0);
  ::setenv("ORVALIN_WORLD_PLACES", (dir / "none.csv").c_str(), 1);  // the file's own names only
  const ToolRun text = Places({"find", "sibenik"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.err, "orvalin-places: only the names of " + file + " were searched, not the " +
                          "other names of the world's towns (\"Kiev\" for Kyiv): " +
                          (dir / "none.csv") + " cannot be read\n");
  EXPECT_EQ(text.out.rfind("Šibenik, Croatia  43 44 0 N  15 54 0 E  ", 0), 0u) << text.out;
  EXPECT_NE(text.out.find("  record 4\n"), std::string::npos) << text.out;
  const ToolRun csv = Places({"find", "E", "--format", "csv", "--limit", "1"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
            "name,country,latitude,longitude,zone,record,other_name");
  EXPECT_EQ(testing::LineCount(csv.out), 2u);
  const ToolRun json = Places({"find", "paris, fr", "--format", "json"});
  EXPECT_NE(json.out.find("\"record\": 5"), std::string::npos) << json.out;
  const ToolRun none = Places({"find", "Zurik"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("matches \"Zurik\"; the nearest spellings: Zürich"), std::string::npos)
      << none.err;
  const ToolRun long_text = Places({"find", std::string(5000, 'q') + "\x1B"});
  EXPECT_NE(long_text.err.find(" matches \"" + std::string(60, 'q') + "…\"\n"), std::string::npos)
      << long_text.err;
  EXPECT_EQ(Places({"find", "x", "--limit", "0"}).status, 2);
  EXPECT_EQ(Places({"list", "--limit", "3"}).status, 2);
  const std::string no_ics = "orvalin-places: --format \"ics\": expected text, csv or json\n";
  const ToolRun ics = Places({"find", "e", "--format", "ics"});
  EXPECT_EQ(ics.status, 2);
  EXPECT_EQ(ics.err, no_ics);
  EXPECT_EQ(Places({"list", "--format", "ics"}).err, no_ics);
  ::unsetenv("ORVALIN_WORLD_PLACES");
}

TEST_F(PlacesCli, ImportThenExportGivesTheSameCsv) {
  const ToolRun import = Places({"import", WriteCsv("in.csv", kCsv)});
  ASSERT_EQ(import.status, 0) << import.err;
  const std::string bytes = testing::ReadFile(file);
  ASSERT_EQ(bytes.size(), 5 * kRecordSize);
  EXPECT_EQ(bytes.substr(0, 7), "Z\xFCrich ");                          // Windows-1252 in the file
  EXPECT_EQ(static_cast<unsigned char>(bytes[2 * kRecordSize]), 0x8C);  // Œ
  EXPECT_EQ(static_cast<unsigned char>(bytes[3 * kRecordSize]), 0x8A);  // Š

  const ToolRun exported = Places({"export"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.out, kCsv);
  ASSERT_EQ(Places({"export", "--output", dir / "out.csv"}).status, 0);
  EXPECT_EQ(testing::ReadFile(dir / "out.csv"), kCsv);
}

// An export onto the places file it reads is refused, by whatever name it comes; an output
// whose writing fails leaves the file that was there, and no temporary file.
TEST_F(PlacesCli, AnOutputNeverOverwritesAnInputNorIsLeftHalfWritten) {
  const std::string bytes = testing::RecordsBytes({testing::Geneva()});
  testing::WriteFile(file, bytes);
  std::filesystem::create_symlink(file, dir / "link.dat");
  std::filesystem::create_hard_link(file, dir / "hard.dat");
  for (const std::string& output :
       {file, dir / "./location.dat", dir / "link.dat", dir / "hard.dat"}) {
    EXPECT_EQ(Places({"export", "--output", output}).status, 2) << output;
    EXPECT_EQ(testing::ReadFile(file), bytes);
  }
  const std::string csv = dir / "out.csv";
  testing::WriteFile(csv, "old");
  const OutputFile output("--output", csv, {file});
  EXPECT_THROW(output.Write([](std::ostream& out) {
    out << std::string(1 << 20, 'x');
    throw ToolFailure("stopped");
  }),
               ToolFailure);
  EXPECT_EQ(testing::ReadFile(csv), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / ""), {}), 4);
}

TEST_F(PlacesCli, ABadLineWritesNothingAndEveryBadLineIsListed) {
  const std::string before = testing::RecordsBytes({testing::Geneva()});
  testing::WriteFile(file, before);
  const std::string csv = WriteCsv("bad.csv",
                                   "name,country,latitude,longitude,gmt\n"
                                   "Zürich,Switzerland,47 22 0 N,8 33 0 E,1\n"
                                   "Nowhere,X,4612,6 9 0 E,1\n"
                                   "Tokyo,Japan,35 41 22 N,139 41 30 E,9.5\n");
  for (const auto& extra : std::vector<std::vector<std::string>>{{}, {"--replace"}}) {
    std::vector<std::string> args = {"import", csv};
    args.insert(args.end(), extra.begin(), extra.end());
    const ToolRun run = Places(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(testing::ReadFile(file), before);
    EXPECT_NE(run.err.find(csv + ":3: the latitude \"4612\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(csv + ":4: the time offset \"9.5\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing was written"), std::string::npos);
  }
  const std::string fresh = dir / "fresh.dat";
  EXPECT_EQ(testing::RunEntry(RunPlaces, {"--file", fresh, "import", csv}).status, 1);
  EXPECT_FALSE(std::filesystem::exists(fresh));
}

// A file of many bad lines is told by its first problems and how many there are, whatever the
// mix of lines unread and lines that check refuses.
TEST_F(PlacesCli, ManyBadLinesListTheFirstHundredAndCountTheRest) {
  std::string csv = "name,country,latitude,longitude,gmt\n";
  for (int i = 0; i < 150; ++i) csv += "Far,Y,45 0 0 N,20 0 0 E,20\nBad,Y,4612,6 9 0 E,1\n";
  const ToolRun run = Places({"import", WriteCsv("bad.csv", csv)});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(testing::LineCount(run.err), 102u);
  EXPECT_NE(run.err.find("bad.csv:101: the latitude \"4612\""), std::string::npos);
  EXPECT_TRUE(
      run.err.ends_with("\norvalin-places: 200 more problems not listed\n"
                        "orvalin-places: 300 bad lines; nothing was written to " +
                        file + "\n"))
      << run.err;
}

TEST_F(PlacesCli, ImportRefusesWhatCheckRefuses) {
  const std::string before = testing::RecordsBytes({testing::Geneva()});
  testing::WriteFile(file, before);
  const std::string csv = WriteCsv("bad.csv",
                                   "name,country,latitude,longitude,gmt\n"
                                   "Bern,Schweiz,46 57 0 E,7 26 0 N,1\n"
                                   "X,Y,95 0 0 N,200 0 0 E,20\n"
                                   "Far,Y,45 0 0 N,20 0 0 E,20\n"
                                   "Del\x7F,Y,45 0 0 N,20 0 0 E,2\n"
                                   "Good,Y,45 0 0 N,20 0 0 E,+5\n");
  for (const auto& extra : std::vector<std::string>{"--replace", "--dry-run"}) {
    const ToolRun run = Places({"import", csv, extra});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(testing::ReadFile(file), before);
    for (const char* listed :
         {":2: the latitude \"46 57 0 E\" ends in E, which does not suit a latitude (N or S)",
          ":3: the latitude \"95 0 0 N\" lies beyond 90 degrees",
          ":4: the offset from GMT, 20 hours, lies outside -12 to +14",
          ":5: the name has a control character (code 127)",
          "orvalin-places: 4 bad lines; nothing was written"}) {
      EXPECT_NE(run.err.find(listed), std::string::npos) << listed << "\n" << run.err;
    }
  }
}

TEST_F(PlacesCli, AWindowsSpreadsheetsFileIsReadWithItsEncoding) {
  const std::string csv = WriteCsv(
      "win.csv", "name;country;latitude;longitude;gmt\r\nGen\xE8ve;Suisse;46,2;6,15;+1\r\n");
  const ToolRun run = Places({"import", csv, "--encoding", "cp1252"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(testing::ReadFile(file),
            testing::RecordsBytes({Place("Genève", "Suisse", "46 12 0 N", "6 9 0 E", 1)}));
  EXPECT_EQ(Places({"check"}).status, 0);
}

TEST_F(PlacesCli, ANonUtf8FileIsRefusedNamingLineByteAndOption) {
  const std::string csv = WriteCsv(
      "win.csv", "name,country,latitude,longitude,gmt\nGen\xE8ve,Suisse,46 12 0 N,6 9 0 E,1\n");
  const ToolRun run = Places({"import", csv});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(csv + ":2: byte 0xE8 at column 4 is not UTF-8"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("--encoding cp1252"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(Places({"import", csv, "--encoding", "latin9"}).status, 2);
}

TEST_F(PlacesCli, DryRunJudgesAndWritesNothing) {
  const ToolRun run = Places({"import", WriteCsv("in.csv", kCsv), "--dry-run"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("5 places"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(PlacesCli, RemoveDeletesOneRecordAndKeepsTheOthersInOrder) {
  const std::vector<PlaceRecord> three = {testing::Geneva(),
                                          Place("Two", "X", "1 0 0 N", "1 0 0 E", 0),
                                          Place("Three", "X", "2 0 0 N", "2 0 0 E", 0)};
  testing::WriteFile(file, testing::RecordsBytes(three));
  const ToolRun run = Places({"remove", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Removed record 2 (Two)"), std::string::npos) << run.out;
  EXPECT_EQ(testing::ReadFile(file), testing::RecordsBytes({three[0], three[2]}));
  for (const auto& entry : std::filesystem::directory_iterator(dir / "")) {  // no temporary left
    EXPECT_TRUE(entry.path().filename() == "location.dat" ||
                entry.path().filename() == ".location.dat.lock")
        << entry.path();
  }
  for (const auto& [n, status] : std::vector<std::pair<std::string, int>>{{"3", 1}, {"0", 2}}) {
    EXPECT_EQ(Places({"remove", n}).status, status) << n;
    EXPECT_EQ(testing::ReadFile(file), testing::RecordsBytes({three[0], three[2]}));
  }
}

// A folder is no CSV file; a pipe, as `import <(cat a.csv)` gives, is read to its end.
TEST_F(PlacesCli, ImportReadsAPipeAndRefusesAFolder) {
  const ToolRun folder = Places({"import", dir / ""});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, "orvalin-places: " + dir / "" + ": cannot be read: it is a folder\n");
  const std::string pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] {
    sigset_t broken_pipe;  // a reader gone early fails the write, not the test
    sigemptyset(&broken_pipe);
    sigaddset(&broken_pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &broken_pipe, nullptr);
    testing::WriteFile(pipe, kCsv);
  });
  const ToolRun piped = Places({"import", pipe});
  writer.join();
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, "Added to " + file + ": 5 places after 0, 5 in all\n");
}

TEST_F(PlacesCli, ImportAppendsOrReplaces) {
  testing::WriteFile(file, testing::RecordsBytes({testing::Geneva()}));
  const std::string csv = WriteCsv("in.csv", kCsv);
  ASSERT_EQ(Places({"import", csv}).status, 0);
  EXPECT_EQ(testing::ReadFile(file).size(), 6 * kRecordSize);
  EXPECT_EQ(testing::ReadFile(file).substr(0, 6), "Geneva");
  ASSERT_EQ(Places({"import", csv, "--replace"}).status, 0);
  EXPECT_EQ(testing::ReadFile(file).size(), 5 * kRecordSize);
  EXPECT_EQ(testing::ReadFile(file).substr(0, 1), "Z");

  testing::WriteFile(file, testing::RecordsBytes({testing::Geneva()}) + "partial");
  const ToolRun partial = Places({"import", csv});
  EXPECT_EQ(partial.status, 1);
  EXPECT_EQ(testing::ReadFile(file).size(), kRecordSize + 7);
}

// A link at the lock's name is no lock: the import is refused, says why, and writes nothing.
TEST_F(PlacesCli, AWriteThatCannotBeLockedFailsAndSaysWhy) {
  testing::WriteFile(file, testing::RecordsBytes({testing::Geneva()}));
  std::filesystem::create_symlink("/nonexistent", dir / ".location.dat.lock");
  const ToolRun run = Places({"import", WriteCsv("in.csv", kCsv)});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "orvalin-places: " + file +
                         ": Places file cannot be locked: " + (dir / ".location.dat.lock") +
                         " is a symbolic link; nothing was written\n");
  EXPECT_EQ(testing::ReadFile(file), testing::RecordsBytes({testing::Geneva()}));
}

TEST_F(PlacesCli, ListInEveryFormat) {
  ASSERT_EQ(Places({"import", WriteCsv("in.csv", kCsv)}).status, 0);
  const ToolRun text = Places({"list"});
  ASSERT_EQ(text.status, 0);
  EXPECT_EQ(testing::LineCount(text.out), 6u);
  EXPECT_NE(text.out.find("\n 2  Évian-les-Bains       France       46 24 0 N   6 35 0 E     1\n"),
            std::string::npos)
      << text.out;
  const ToolRun csv = Places({"list", "--format", "csv"});
  EXPECT_NE(csv.out.find("5,\"Paris, Île-de-France\",France,48 51 24 N,2 21 3 E,1\n"),
            std::string::npos);
  const ToolRun json = Places({"list", "--format", "json"});
  const QJsonArray places = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(places.size(), 5);
  EXPECT_EQ(places[3].toObject()["name"].toString(), QString::fromUtf8("Šibenik"));
  EXPECT_EQ(places[3].toObject()["record"].toInt(), 4);
}

// A name that would retitle the terminal and clear it, a leading blank, a backslash and an
// unassigned byte: shown escaped everywhere, exported and imported back to the same bytes.
TEST_F(PlacesCli, NoControlCharacterReachesTheTerminalAndExportRoundTrips) {
  std::string bytes = testing::RecordsBytes({
      Place("\x1B]0;owned\x07\x1B[2J", "X", "46 12 0 N", "6 9 0 E", 1),
      Place("  Le Locle", "a\\x41\\", "47 3 0 N", "6 45 0 E", 1),
      Place("Odd", "X", "46 12 0 N", "6 9 0 E", 1),
  });
  bytes[2 * kRecordSize + 1] = '\x9D';
  testing::WriteFile(file, bytes);
  const std::string bad = WriteCsv("bad\x1B[2J.csv",
                                   "name,country,latitude,longitude,gmt\n"
                                   "X,Y,\x1B]0;owned\x07,6 9 0 E,1\n");
  for (const auto& args : std::vector<std::vector<std::string>>{{"list"},
                                                                {"list", "--format", "csv"},
                                                                {"list", "--format", "json"},
                                                                {"export"},
                                                                {"check"},
                                                                {"find", "\x1B[2J"},
                                                                {"import", bad},
                                                                {"import", bad + "\x07"}}) {
    const ToolRun run = Places(args);
    for (const std::string& out : {run.out, run.err}) {
      for (std::size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        const bool c1 = b == 0xC2 && i + 1 < out.size() && (out[i + 1] & 0xE0) == 0x80;
        EXPECT_TRUE((b >= 0x20 && b != 0x7F && !c1) || b == '\n') << args[0] << ": " << out;
      }
    }
  }
  EXPECT_NE(Places({"list"}).out.find("\\x1B]0;owned\\x07\\x1B[2J"), std::string::npos);

  ASSERT_EQ(Places({"export", "--output", dir / "out.csv"}).status, 0);
  const std::string copy = dir / "copy.dat";
  const ToolRun import =
      testing::RunEntry(RunPlaces, {"--file", copy, "import", dir / "out.csv"});
  ASSERT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(testing::ReadFile(copy), bytes);
  EXPECT_NE(Places({"remove", "1"}).out.find("(\\x1B]0;owned\\x07\\x1B[2J)"), std::string::npos);
}

// Every record of a file's bytes, a partial last one included.
std::vector<PlaceProblem> CheckPlaces(std::string_view bytes) {
  std::vector<PlaceProblem> problems;
  const std::int64_t count = RecordsIn(bytes);
  for (std::int64_t n = 1; n <= count; ++n) {
    auto more = CheckRecord(n, RecordBytesAt(bytes, n));
    problems.insert(problems.end(), more.begin(), more.end());
  }
  return problems;
}

TEST(PlacesCheck, FindsWhatTheWindowCannotUse) {
  std::string bytes = testing::RecordsBytes({
      testing::Geneva(),                              // 1: good
      Place("Nowhere", "X", "4612", "6 9 0 E", 1),    // 2
      Place("Lost", "X", "46 12 0 E", "6 9 0 N", 1),  // 3: two letters misplaced
      Place("Far", "X", "46 12 0 N", "6 9 0 E", 40),  // 4
      Place("Tab", "X", "46 12 0 N", "6 9 0 E", 1),   // 5: gets a control byte
      Place("Odd", "X", "46 12 0 N", "6 9 0 E", 1),   // 6: gets byte 0x81
      Place("", "X", "46 12 0 N", "6 9 0 E", 1),      // 7
  });
  bytes[4 * kRecordSize + 1] = '\t';
  bytes[5 * kRecordSize + 25] = '\x81';
  bytes += testing::RecordsBytes({testing::Geneva()}).substr(0, 50);  // 8: partial, no longitude
  std::vector<std::int64_t> records;
  for (const auto& p : CheckPlaces(bytes)) records.push_back(p.record);
  EXPECT_EQ(records, (std::vector<std::int64_t>{2, 3, 3, 4, 5, 6, 7, 8, 8}));
  EXPECT_TRUE(CheckPlaces(testing::RecordsBytes({testing::Geneva()})).empty());
  EXPECT_TRUE(CheckPlaces("").empty());
}

TEST_F(PlacesCli, CheckSaysHowManyAndFailsOnProblems) {
  testing::WriteFile(file, testing::RecordsBytes({testing::Geneva()}));
  const ToolRun good = Places({"check"});
  EXPECT_EQ(good.status, 0);
  EXPECT_NE(good.out.find("1 record, no problem"), std::string::npos) << good.out;
  testing::WriteFile(file, testing::RecordsBytes({testing::Geneva()}) + "x");
  const ToolRun bad = Places({"check"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("record 2: the record is partial: 1 of 72 bytes"), std::string::npos);
}

TEST_F(PlacesCli, UsageAndMissingFiles) {
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"sort"},
                                                                {"import"},
                                                                {"list", "extra"},
                                                                {"list", "--replace"},
                                                                {"export", "--format", "csv"},
                                                                {"list", "--format", "xml"},
                                                                {"--frobnicate"}}) {
    const ToolRun run = testing::RunEntry(RunPlaces, args);
    EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args.front());
    EXPECT_EQ(testing::LineCount(run.err), 1u) << run.err;
  }
  for (const char* command : {"list", "export", "check"}) {
    EXPECT_EQ(Places({command}).status, 1) << command;
  }
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(Places({"import", dir / "none.csv"}).status, 1);
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace orvalin
