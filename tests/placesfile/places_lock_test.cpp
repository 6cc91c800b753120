#include "placesfile/places_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>

#include "common/failure.h"
#include "placesfile/places_file.h"
#include "tests/cli/tool_test_support.h"

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

constexpr char kOld[] = "old bytes";
constexpr char kNew[] = "new bytes, longer than the old";

void Replace(const std::string& path, const std::string& bytes) {
  PlacesFile file;
  file.Open(path, PlacesFile::Use::Write);
  file.ReplaceAll(bytes);
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PlacesReplace, ALinkStaysALinkAndItsTargetIsReplacedInItsOwnFolder) {
  struct Case {
    const char* link_text;
    const char* target;
  };
  const Case cases[] = {{"data/real.dat", "data/real.dat"},
                        {"data/../data/link2", "data/real.dat"}};  // a link to a link
  for (const Case& c : cases) {
    ScratchDir dir;
    fs::create_directory(dir / "data");
    WriteFile(dir / "data/real.dat", kOld);
    fs::create_symlink("real.dat", dir / "data/link2");
    fs::create_symlink(c.link_text, dir / "location.dat");
    Replace(dir / "location.dat", kNew);
    EXPECT_TRUE(fs::is_symlink(dir / "location.dat")) << c.link_text;
    EXPECT_EQ(ReadFile(dir / c.target), kNew) << c.link_text;
    EXPECT_EQ(Names(dir / "data"),
              (std::vector<std::string>{".real.dat.lock", "link2", "real.dat"}));
  }
}

TEST(PlacesReplace, ABareFileNameIsReplacedInTheCurrentFolder) {
  ScratchDir dir;
  const fs::path before = fs::current_path();
  fs::current_path(dir / "");
  WriteFile("location.dat", kOld);
  Replace("location.dat", kNew);
  fs::current_path(before);
  EXPECT_EQ(ReadFile(dir / "location.dat"), kNew);
  EXPECT_EQ(Names(dir / ""), (std::vector<std::string>{".location.dat.lock", "location.dat"}));
}

TEST(PlacesReplace, ModeGroupAndOwnerAreKept) {
  ScratchDir dir;
  const std::string path = dir / "location.dat";
  WriteFile(path, kOld);
  const bool root = ::geteuid() == 0;
  // Root gives the file away as another member of a shared group would find it.
  const uid_t owner = root ? 1001 : ::geteuid();
  const gid_t group = root ? 2000 : ::getegid();
  ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
  Replace(path, kNew);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  EXPECT_EQ(st.st_gid, group);
  EXPECT_EQ(st.st_uid, owner);  // only root can give a file away; others keep their own
}

TEST(PlacesReplace, TheNextWriterRemovesLeftoverTemporaryFilesOnly) {
  ScratchDir dir;
  WriteFile(dir / "location.dat", kOld);
  for (const char* name : {".location.dat.a1B2c3", ".location.dat.ZZZZZZ", ".location.dat.bak",
                           ".location.dat.a1B2c3d", ".other.dat.a1B2c3", "notes.txt"}) {
    WriteFile(dir / name, "x");
  }
  const PlacesLock lock = PlacesLock::Take(dir / "location.dat");
  EXPECT_TRUE(lock.Held());
  EXPECT_EQ(Names(dir / ""), (std::vector<std::string>{".location.dat.a1B2c3d", ".location.dat.bak",
                                                       ".location.dat.lock", ".other.dat.a1B2c3",
                                                       "location.dat", "notes.txt"}));
}

TEST(PlacesLockTest, NoLockFileMeansUnlockedAsBefore) {
  ScratchDir dir;
  fs::create_directory(dir / ".location.dat.lock");  // in the lock file's place
  WriteFile(dir / "location.dat", kOld);
  EXPECT_FALSE(PlacesLock::Take(dir / "location.dat").Held());
  Replace(dir / "location.dat", kNew);
  EXPECT_EQ(ReadFile(dir / "location.dat"), kNew);
}

// A child process holds the lock until it is killed.
pid_t HolderOfTheLock(const std::string& path) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    const PlacesLock lock = PlacesLock::Take(path);
    [[maybe_unused]] const ssize_t n = ::write(ready[1], "x", 1);
    for (;;) ::pause();
  }
  char c;
  [[maybe_unused]] const ssize_t n = ::read(ready[0], &c, 1);
  ::close(ready[0]);
  ::close(ready[1]);
  return child;
}

TEST(PlacesLockTest, AWriterWaitsThenReportsBusyAndTheLockDiesWithItsHolder) {
  ScratchDir dir;
  const std::string path = dir / "location.dat";
  WriteFile(path, kOld);
  const pid_t holder = HolderOfTheLock(path);
  ASSERT_GT(holder, 0);

  const auto start = std::chrono::steady_clock::now();
  try {
    Replace(path, kNew);
    ADD_FAILURE() << "the replacement did not wait for the lock";
  } catch (const Failure& f) {
    EXPECT_EQ(f.fault(), Fault::PlacesFileBusy);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_EQ(ReadFile(path), kOld);

  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  Replace(path, kNew);
  EXPECT_EQ(ReadFile(path), kNew);
}

}  // namespace
}  // namespace orvalin
