// Both tools run as programs: exit statuses, standard streams, UTF-8 and the chart's platform.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/cli/tool_test_support.h"

namespace orvalin {
namespace {

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Program {
  testing::ScratchDir dir;
  testing::ToolRun Run(const std::string& exe, const std::vector<std::string>& args,
                       const std::string& stdout_path = "") {
    // The user's places folder, where a run without location.dat here would go, is the test's.
    std::string command =
        "cd " + Quoted(dir / "") + " && XDG_DATA_HOME=" + Quoted(dir / "data") + " " + Quoted(exe);
    for (const auto& a : args) command += ' ' + Quoted(a);
    command += " >" + Quoted(stdout_path.empty() ? dir / "out.txt" : stdout_path) + " 2>" +
               Quoted(dir / "err.txt") + " </dev/null";
    const int status = std::system(command.c_str());
    testing::ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = testing::ReadFile(dir / "out.txt");
    run.err = testing::ReadFile(dir / "err.txt");
    return run;
  }
};

// orvalin-places with standard output into a pipe read only after 1.3 s, so that the run lasts
// over a second however fast the machine, and standard error into `err_write`; what came out of
// `err_read`, read to its end.
std::string StandardErrorOfASlowRun(const std::vector<std::string>& args, int err_read,
                                    int err_write) {
  int out[2];
  if (::pipe(out) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err_write, STDERR_FILENO);
    std::vector<char*> argv = {const_cast<char*>(ORVALIN_PLACES_EXE)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(ORVALIN_PLACES_EXE, argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err_write);
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  char buffer[1 << 16];
  while (::read(out[0], buffer, sizeof buffer) > 0) {
  }
  ::close(out[0]);
  std::string err;
  for (ssize_t n; (n = ::read(err_read, buffer, sizeof buffer)) > 0;) {
    err.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(err_read);
  ::waitpid(child, nullptr, 0);
  return err;
}

// A run over a second shows how far it has come on a terminal, on one line cleared at the end,
// and nothing on a standard error that is no terminal.
TEST(ToolsRun, ProgressOnlyOnATerminal) {
  Program p;
  testing::WriteFile(p.dir / "location.dat", std::string(20000 * kRecordSize, 'x'));
  const std::vector<std::string> list = {"--file", p.dir / "location.dat", "list", "--format",
                                         "csv"};
  int master = -1, slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const std::string shown = StandardErrorOfASlowRun(list, master, slave);
  EXPECT_NE(shown.find("\r\x1b[Korvalin-places: "), std::string::npos) << shown;
  EXPECT_NE(shown.find(" of 20000 records ("), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with("\r\x1b[K")) << shown;
  int err[2];
  ASSERT_EQ(::pipe(err), 0);
  EXPECT_EQ(StandardErrorOfASlowRun(list, err[0], err[1]), "");
}

TEST(ToolsRun, SamplePlacesImportExportAndTable) {
  Program p;
  const std::string sample = testing::ReadFile(ORVALIN_SAMPLE_CSV);
  ASSERT_FALSE(sample.empty());
  const auto import =
      p.Run(ORVALIN_PLACES_EXE, {"--file", "location.dat", "import", ORVALIN_SAMPLE_CSV});
  ASSERT_EQ(import.status, 0) << import.err;
  const auto exported = p.Run(ORVALIN_PLACES_EXE, {"export"});
  EXPECT_EQ(exported.out, sample);  // Zürich, Évian-les-Bains, Tromsø... unchanged
  EXPECT_EQ(p.Run(ORVALIN_PLACES_EXE, {"check"}).status, 0);

  const auto table = p.Run(ORVALIN_TABLE_EXE, {"--place", "gen", "--date", "21-06-2009",
                                               "--window-texts", "--plot", "g.png"});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_NE(table.out.find(" 3h 45mn 19.5s"), std::string::npos);
  EXPECT_EQ(testing::ReadFile(p.dir / "g.png").substr(0, 4), "\x89PNG");

  const auto zurich = p.Run(ORVALIN_TABLE_EXE, {"--place", "zü", "--date", "29-03-2009"});
  EXPECT_NE(zurich.out.find("Zürich, Switzerland"), std::string::npos) << zurich.out;
}

// Names from a shared CSV that a spreadsheet would run as formulas reach no CSV output as
// formulas: the export escapes their first character and reads back to the same bytes, the
// tables lead them with an apostrophe, and numbers stay numbers.
TEST(ToolsRun, CellsASpreadsheetWouldRunAreWrittenInert) {
  Program p;
  const std::string csv =
      "name,country,latitude,longitude,gmt\n"
      "\\x3D1+1,X,54 48 0 S,68 18 0 W,-3\n"
      "\\x40SUM(1),X,1 0 0 N,1 0 0 E,0\n"
      "\\x2D2+3,X,1 0 0 N,1 0 0 E,0\n"
      "\\x2B1,X,1 0 0 N,1 0 0 E,0\n"
      "\\x09Tab,X,1 0 0 N,1 0 0 E,0\n";
  testing::WriteFile(p.dir / "in.csv", csv);
  testing::WriteFile(p.dir / "location.dat", "");  // here, not the user's places folder
  ASSERT_EQ(p.Run(ORVALIN_PLACES_EXE, {"import", "in.csv"}).status, 0);
  const std::string stored = testing::ReadFile(p.dir / "location.dat");
  EXPECT_EQ(stored.substr(0, 4), "=1+1");

  EXPECT_EQ(p.Run(ORVALIN_PLACES_EXE, {"export"}).out, csv);
  ASSERT_EQ(p.Run(ORVALIN_PLACES_EXE, {"export", "--output", "out.csv"}).status, 0);
  ASSERT_EQ(p.Run(ORVALIN_PLACES_EXE, {"import", "out.csv", "--replace"}).status, 0);
  EXPECT_EQ(testing::ReadFile(p.dir / "location.dat"), stored);

  const std::string table =
      p.Run(ORVALIN_TABLE_EXE, {"--all", "--date", "21-06-2009", "--format", "csv"}).out;
  const std::string listed = p.Run(ORVALIN_PLACES_EXE, {"list", "--format", "csv"}).out;
  for (const char* name : {"'=1+1,", "'@SUM(1),", "'-2+3,", "'+1,", "\\x09Tab,"}) {
    EXPECT_NE(table.find("\n" + std::string(name)), std::string::npos) << name << table;
    EXPECT_NE(listed.find("," + std::string(name)), std::string::npos) << name << listed;
  }
  // Numbers are numbers: the decimal coordinates take no apostrophe.
  EXPECT_NE(table.find(",-54.800000,-68.300000,"), std::string::npos) << table;
}

TEST(ToolsRun, BadUsageExitsTwoWithOneLine) {
  Program p;
  const auto angle = p.Run(ORVALIN_TABLE_EXE, {"--lat", "46 12 N", "--lon", "6 9 0 E"});
  EXPECT_EQ(angle.status, 2);
  EXPECT_EQ(angle.out, "");
  EXPECT_EQ(angle.err,
            "orvalin-table: --lat \"46 12 N\": cannot be read: no capital N, S, E, W or O after "
            "the seconds; accepted forms: 46.2 or -33.87 (north positive), 46.2N, 46°12'N, "
            "46°12'0\"N or \"46 12 0 N\"\n");
  const auto date =
      p.Run(ORVALIN_TABLE_EXE, {"--lat", "46 12 0 N", "--lon", "6 9 0 E", "--date", "31-02-2009"});
  EXPECT_EQ(date.status, 2);
  EXPECT_EQ(date.err, "orvalin-table: --date \"31-02-2009\": there is no such day\n");
  EXPECT_EQ(p.Run(ORVALIN_PLACES_EXE, {"merge"}).status, 2);
  for (const char* exe : {ORVALIN_TABLE_EXE, ORVALIN_PLACES_EXE}) {
    const auto version = p.Run(exe, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find(ORVALIN_VERSION), std::string::npos);
  }
}

TEST(ToolsRun, AFailedWriteToStandardOutputExitsOne) {
  Program p;
  ASSERT_EQ(p.Run(ORVALIN_PLACES_EXE, {"import", ORVALIN_SAMPLE_CSV}).status, 0);
  const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
      {ORVALIN_PLACES_EXE, {"list"}},
      {ORVALIN_PLACES_EXE, {"export"}},
      {ORVALIN_PLACES_EXE, {"-h"}},
      {ORVALIN_TABLE_EXE, {"--record", "1", "--month", "2009-03"}}};
  for (const auto& [exe, args] : runs) {
    const auto run = p.Run(exe, args, "/dev/full");
    EXPECT_EQ(run.status, 1) << args.front();
    EXPECT_NE(run.err.find("cannot be written"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace orvalin
