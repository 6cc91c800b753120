#include "commands/default_place.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <utility>

#include "commands/browse.h"
#include "placesfile/places_lock.h"
#include "tests/cli/tool_test_support.h"
#include "tests/commands/places_fixture.h"

namespace orvalin {
namespace {

using namespace testing;

using NameList = std::vector<std::string>;

class DefaultDataTest : public PlacesTest {
 protected:
  void WriteNamed(const NameList& names) {
    std::vector<PlaceRecord> records;
    for (const auto& n : names) records.push_back(Named(n));
    WriteRecords(records);
  }
  // Define as default place on record 3 of Geneva, Zurich and Basel, in a window of the test's.
  void DefaultOfTheThirdIn(MemoryWindow& w) {
    WriteNamed({"Geneva", "Zurich", "Basel"});
    Session s(w);
    s.DataDirectory = session.DataDirectory;
    s.CurrentRecord = 3;
    w.SetFieldText(Field::Date, "05-03-2024");
    DefaultData(s);
  }
  // Runs `action` in a child whose files may not grow beyond `limit` bytes; the messages it
  // showed, one a line.
  std::string RunWithFileLimit(rlim_t limit, void (*action)(Session&)) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(out[0]);
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit r{limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &r);
      action(session);
      std::string text;
      for (const auto& m : window.MessageTexts()) text += m + "\n";
      text += "CurrentRecord " + std::to_string(session.CurrentRecord) + "\n";
      (void)!::write(out[1], text.data(), text.size());
      ::_exit(0);
    }
    ::close(out[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return text;
  }
};

TEST_F(DefaultDataTest, TheChosenPlaceGoesFirstAndTheOthersAreSorted) {
  WriteRecords({Geneva(), Basel(), Lausanne(), Zurich()});
  session.CurrentRecord = 3;
  TypePlace("typed over", "1 0 0 N", "1 0 0 E");
  DefaultData(session);
  EXPECT_EQ(Records(), (std::vector<PlaceRecord>{Lausanne(), Basel(), Geneva(), Zurich()}));
  EXPECT_EQ(Text(Field::City), "Lausanne            ");
  EXPECT_EQ(session.ChosenPlace, Lausanne());
  EXPECT_EQ(session.CurrentRecord, 1);
  EXPECT_EQ(Text(Field::RecordNumber), " 1");
  EXPECT_EQ(Text(Field::Date), "05-03-2024");
  EXPECT_EQ(session.WorkPlace.PlaceName, Lausanne().PlaceName);  // calculated for Lausanne
  EXPECT_EQ(StrayFiles(), 0);
  EXPECT_FALSE(session.File.IsOpen());
}

TEST_F(DefaultDataTest, FilesOfFewRecords) {
  struct Case {
    NameList file;
    std::int32_t current;
    NameList after;
  };
  const Case cases[] = {
      {{"Geneva", "Zurich", "Basel"}, 1, {"Geneva", "Basel", "Zurich"}},
      {{"Geneva", "Zurich"}, 1, {"Geneva", "Zurich"}},
      {{"Geneva", "Zurich"}, 2, {"Zurich", "Geneva"}},
  };
  for (const auto& c : cases) {
    WriteNamed(c.file);
    session.CurrentRecord = c.current;
    DefaultData(session);
    EXPECT_EQ(StoredNames(), c.after) << c.current;
    EXPECT_EQ(session.CurrentRecord, 1);
  }
}

TEST_F(DefaultDataTest, WithNoCurrentRecordRecordOneIsKeptAndTodayTaken) {
  WriteRecords({Geneva(), Zurich(), Basel()});
  session.CurrentRecord = 1;
  PreviousRecord(session);  // no record current
  window.SetFieldText(Field::Date, "01-01-2000");
  window.SetFieldText(Field::Horizon, "");
  const std::string record1 = FileBytes().substr(0, 72);
  DefaultData(session);
  EXPECT_EQ(FileBytes().substr(0, 72), record1);
  EXPECT_EQ(StoredNames(), (NameList{"Geneva", "Basel", "Zurich"}));
  EXPECT_EQ(Text(Field::Date), "05-03-2024");
  EXPECT_EQ(Text(Field::Horizon), "-.61");
  EXPECT_EQ(session.HorizonAltitude, -0.61);
  EXPECT_EQ(Text(Field::RecordNumber), " 1");
}

TEST_F(DefaultDataTest, AnAppendedRecordMovesToItsPlaceInNameOrder) {
  WriteRecords({Geneva(), Basel(), Zurich()});
  TypePlace("Lausanne", "46 31 0 N", "6 38 0 E");
  window.QueueAnswer(Answer::Yes);
  AddRecord(session);
  EXPECT_EQ(StoredNames(), (NameList{"Geneva", "Basel", "Zurich", "Lausanne"}));
  session.CurrentRecord = 1;
  DefaultData(session);
  EXPECT_EQ(StoredNames(), (NameList{"Geneva", "Basel", "Lausanne", "Zurich"}));
}

TEST_F(DefaultDataTest, NamesSortByCharacterCodeKeepingEqualNamesInOrder) {
  std::vector<PlaceRecord> records = {
      Named("Default"),        Named("geneva"), Named("Évian"),         Named("Berne"),
      Named("Œschinen"),       Named("Zurich"), Named("Bern", "first"), Named("élan"),
      Named("Bern", "second"), Named(" Aarau"), Named("Bern", "third")};
  WriteRecords(records);
  session.CurrentRecord = 1;
  DefaultData(session);
  // É is 201, é 233, and Œ, byte 140, is U+0152.
  const std::vector<PlaceRecord> expected = {
      Named("Default"),       Named(" Aarau"), Named("Bern", "first"), Named("Bern", "second"),
      Named("Bern", "third"), Named("Berne"),  Named("Zurich"),        Named("geneva"),
      Named("Évian"),         Named("élan"),   Named("Œschinen"),
  };
  EXPECT_EQ(Records(), expected);
}

TEST_F(DefaultDataTest, APartialCurrentRecordBecomesAWholeRecordOne) {
  const std::string partial = Bytes(Basel()).substr(0, 28);  // a file of 100 bytes
  WriteBytes(Bytes(Geneva()) + partial);
  session.CurrentRecord = 2;
  DefaultData(session);
  EXPECT_EQ(FileBytes(), Bytes(DecodeRecord(partial)) + Bytes(Geneva()));
  EXPECT_EQ(FileBytes().substr(0, 40), "Basel               Switzerl            ");

  WriteBytes(partial);  // record 1 itself, partial: rewritten whole
  session.CurrentRecord = 1;
  session.SeenRecord = 0;  // the window never saw this file's record 1
  DefaultData(session);
  EXPECT_EQ(FileBytes(), Bytes(DecodeRecord(partial)));
}

TEST_F(DefaultDataTest, ACurrentRecordBeyondTheEndChangesNothing) {
  WriteRecords({Geneva(), Basel(), Zurich()});
  const std::string before = FileBytes();
  session.CurrentRecord = 5;
  TypePlace("Bern", "46 57 0 N", "7 26 0 E");
  DefaultData(session);
  EXPECT_EQ(window.MessageTexts(),
            std::vector<std::string>{"Bad record number in line 934 of DEFAULT"});
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(session.CurrentRecord, 5);
  EXPECT_EQ(Text(Field::RecordNumber), " 5");
  EXPECT_EQ(Text(Field::City), "Bern");
  EXPECT_FALSE(session.File.IsOpen());
}

// The record the sort last reads as the first of a pair decides, through its latitude, whether
// record 1 is loaded again at the end.
TEST_F(DefaultDataTest, TheLastRecordTheSortReadsDecidesTheReload) {
  const auto unset = [](const char* name) {
    PlaceRecord r = Named(name);
    r.LatitudeText = std::string(15, '\0');
    return r;
  };
  struct Case {
    std::vector<PlaceRecord> file;
    std::int32_t current;
    const char* record_n;  // "1" when record 1 was loaded again
  };
  const Case cases[] = {
      // In order: the one pass reads records 2 and 3 as first of a pair.
      {{Geneva(), Named("Aarau"), unset("Bern"), Named("Chur")}, 1, "1"},
      // One exchange at records 3 and 4; the quiet pass ends on record 3, now Bern.
      {{Geneva(), Named("Aarau"), Named("Chur"), unset("Bern")}, 1, "1"},
      // The quiet pass stops one pair beyond the last exchange (records 3 and 4), before Davos.
      {{Geneva(), Named("Aarau"), Named("Chur"), Named("Bern"), unset("Davos"), Named("Emmen")},
       1,
       " 1"},
      {{Geneva(), Named("Aarau"), unset("Chur"), Named("Bern"), Named("Davos"), Named("Emmen")},
       1,
       "1"},
      // Nothing compared: WorkPlace keeps what the move read last, the old record 1.
      {{unset("Bern"), Geneva()}, 2, "1"},
      {{Geneva(), unset("Bern")}, 2, " 1"},
  };
  for (const auto& c : cases) {
    WriteRecords(c.file);
    session.CurrentRecord = c.current;
    DefaultData(session);
    EXPECT_EQ(Text(Field::RecordNumber), c.record_n) << &c - cases;
  }
}

TEST_F(DefaultDataTest, AFailedReorderLeavesTheFileWhole) {
  WriteRecords({Geneva(), Basel(), Lausanne(), Zurich()});
  const std::string before = FileBytes();
  session.CurrentRecord = 3;
  const std::string shown = RunWithFileLimit(100, DefaultData);
  EXPECT_EQ(shown, "Disk full in line 942 of DEFAULT\nCurrentRecord 3\n");
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(DefaultDataTest, AFailedSortIsReportedAndTheCommandGoesOn) {
  WriteRecords({Geneva(), Zurich(), Basel()});
  const std::string before = FileBytes();
  session.CurrentRecord = 1;
  const std::string shown = RunWithFileLimit(100, DefaultData);
  EXPECT_EQ(shown, "Disk full in line 6650 of Bubblesort\nCurrentRecord 1\n");
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(DefaultDataTest, FailuresBeforeTheReorder) {
  std::filesystem::create_directory(FilePath());
  session.CurrentRecord = 2;
  DefaultData(session);
  Bubblesort(session);
  EXPECT_EQ(window.MessageTexts(),
            (std::vector<std::string>{"Permission denied in line 930 of DEFAULT",
                                      "Permission denied in line 6550 of Bubblesort"}));
  EXPECT_EQ(session.CurrentRecord, 2);
}

// The window shows Lausanne, record 3; another program removes record 2 before Define as default
// place, so that record 3 is now another place: none is made the default.
TEST_F(DefaultDataTest, NeverMakesDefaultARecordAnotherProgramChanged) {
  WriteRecords({Geneva(), Basel(), Lausanne(), Zurich()});
  session.CurrentRecord = 2;
  NextRecord(session);
  WriteRecords({Geneva(), Lausanne(), Zurich()});
  window.ClearEvents();
  DefaultData(session);
  EXPECT_EQ(window.MessageTexts(),
            std::vector<std::string>{"Places file changed by another program in line 934 of "
                                     "DEFAULT"});
  EXPECT_EQ(Records(), (std::vector<PlaceRecord>{Geneva(), Lausanne(), Zurich()}));
  EXPECT_EQ(Text(Field::City), "Lausanne            ");
  EXPECT_EQ(session.CurrentRecord, 3);
  EXPECT_FALSE(session.File.IsOpen());
}

// A window that does `between` once, when the results are emptied between the move to the front
// and the sort.
class BetweenMoveAndSort : public MemoryWindow {
 public:
  explicit BetweenMoveAndSort(std::function<void()> between) : between_(std::move(between)) {}
  void SetFieldText(Field field, std::string_view text) override {
    if (field == Field::SunriseTime && text.empty() && between_) std::exchange(between_, {})();
    MemoryWindow::SetFieldText(field, text);
  }

 private:
  std::function<void()> between_;
};

// The lock that the move to the front takes is still held when the results are emptied, between
// the move and the sort: no other writer can slip in there.
TEST_F(DefaultDataTest, HoldsTheLockFromTheMoveToTheSort) {
  bool busy = false;
  BetweenMoveAndSort probe([&] {
    try {
      PlacesLock::Take(FilePath());
    } catch (const Failure& f) {
      busy = f.fault() == Fault::PlacesFileBusy;
    }
  });
  DefaultOfTheThirdIn(probe);
  EXPECT_TRUE(busy);
  EXPECT_EQ(StoredNames(), (NameList{"Basel", "Geneva", "Zurich"}));
  EXPECT_TRUE(PlacesLock::Take(FilePath()).Held());  // free at the end
}

// Another user of a folder all may write to swaps in, after the move to the front, a link to a
// file of the window's user elsewhere: the sort refuses, and that file keeps its order.
TEST_F(DefaultDataTest, TheSortNeverFollowsALinkSwappedInAfterTheMove) {
  const std::string elsewhere = Bytes(Named("Zz")) + Bytes(Named("Yy")) + Bytes(Named("Xx"));
  WriteFile(dir / "elsewhere.dat", elsewhere);
  BetweenMoveAndSort probe([&] {
    std::filesystem::create_symlink(dir / "elsewhere.dat", dir / "swap");
    std::filesystem::rename(dir / "swap", FilePath());
  });
  DefaultOfTheThirdIn(probe);
  EXPECT_EQ(probe.MessageTexts(), std::vector<std::string>{"Places file changed by another "
                                                           "program in line 6550 of Bubblesort"});
  EXPECT_EQ(ReadFile(dir / "elsewhere.dat"), elsewhere);
}

}  // namespace
}  // namespace orvalin
