#include "placesfile/places_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

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

// Only a dead writer's temporary file goes: a name a person might use, a live writer's file, or
// a link carrying the mark stays.
TEST(PlacesReplace, TheNextWriterRemovesDeadWritersTemporaryFilesOnly) {
  ScratchDir dir;
  WriteFile(dir / "location.dat", kOld);
  WriteFile(dir / "outside", kOld);
  for (const char* name :
       {".location.dat.orvalin-new-a1B2c3", ".location.dat.orvalin-new-live00",
        ".location.dat.backup", ".location.dat.a1B2c3", ".location.dat.orvalin-new-a1B2c3d",
        ".other.dat.orvalin-new-a1B2c3", "notes.txt"}) {
    WriteFile(dir / name, "x");
  }
  fs::create_symlink("outside", dir / ".location.dat.orvalin-new-link00");
  const int live = ::open((dir / ".location.dat.orvalin-new-live00").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  const PlacesLock lock = PlacesLock::Take(dir / "location.dat");
  ::close(live);
  EXPECT_EQ(Names(dir / ""),
            (std::vector<std::string>{
                ".location.dat.a1B2c3", ".location.dat.backup", ".location.dat.lock",
                ".location.dat.orvalin-new-a1B2c3d", ".location.dat.orvalin-new-link00",
                ".location.dat.orvalin-new-live00", ".other.dat.orvalin-new-a1B2c3", "location.dat",
                "notes.txt", "outside"}));
  EXPECT_EQ(ReadFile(dir / "outside"), kOld);
}

// The lock is never skipped: whatever stands at its name that cannot be locked refuses the write
// and says why, and nothing is written.
TEST(PlacesLockTest, ALockFileThatCannotBeOneRefusesTheWrite) {
  struct Case {
    const char* what;
    void (*make)(const std::string& lock);
    const char* why;
  };
  const Case cases[] = {
      {"a link to nowhere",
       [](const std::string& lock) { fs::create_symlink("/nonexistent", lock); },
       "is a symbolic link"},
      {"a link to a file",
       [](const std::string& lock) { fs::create_symlink("location.dat", lock); },
       "is a symbolic link"},
      {"a folder", [](const std::string& lock) { fs::create_directory(lock); }, "is a folder"},
      {"a pipe", [](const std::string& lock) { ::mkfifo(lock.c_str(), 0666); },
       "is not a plain file"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir / "location.dat", lock = dir / ".location.dat.lock";
    WriteFile(path, kOld);
    c.make(lock);
    try {
      Replace(path, kNew);
      ADD_FAILURE() << c.what << ": written without the lock";
    } catch (const Failure& f) {
      EXPECT_EQ(f.what(), "Places file cannot be locked: " + lock + " " + c.why) << c.what;
    }
    EXPECT_EQ(ReadFile(path), kOld) << c.what;
  }
}

// Another program deletes the lock file while a writer holds it: the next writer locks a new
// one, keeps the first writer's temporary file, and the first writer, finding its lock gone,
// refuses rather than overwrite what the other wrote, whether it replaced the file or added a
// record in place.
TEST(PlacesLockTest, ALockDeletedWhileHeldLosesNoWrite) {
  const std::string old(kRecordSize, 'o'), added = std::string(old).append(kRecordSize, ' ');
  struct Case {
    const char* second;
    void (*write)(const std::string& path);
    std::string after;
  };
  const Case cases[] = {
      {"a replacement", [](const std::string& path) { Replace(path, "second's bytes"); },
       "second's bytes"},
      {"a record added in place",
       [](const std::string& path) {
         PlacesFile file;
         file.Open(path, PlacesFile::Use::Write);
         file.Write(2, DecodeRecord(std::string(kRecordSize, ' ')));
       },
       added},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir / "location.dat";
    WriteFile(path, old);
    PlacesFile first;
    first.Open(path, PlacesFile::Use::Write);
    std::vector<std::string> seen_by_second;
    try {
      first.ReplaceWithAppended([&](const PlacesFile::PieceSink& sink) {
        sink("first's bytes");
        fs::remove(dir / ".location.dat.lock");
        c.write(path);
        seen_by_second = Names(dir / "");
      });
      ADD_FAILURE() << c.second << ": the first writer overwrote the second";
    } catch (const Failure& f) {
      EXPECT_EQ(f.fault(), Fault::PlacesFileChanged) << c.second;
    }
    // The file, the new lock and the first's temporary file.
    EXPECT_EQ(seen_by_second.size(), 3u) << c.second;
    EXPECT_EQ(ReadFile(path), c.after) << c.second;
    EXPECT_EQ(Names(dir / ""), (std::vector<std::string>{".location.dat.lock", "location.dat"}));
  }
}

// Another user of a group-writable folder swaps the file for a link to a file outside it between
// the reading and the replacement: before it, while it writes, or at any moment of it. The
// replacement either lands on the name or is refused, and never reaches the file outside nor
// gives it the read file's mode.
TEST(PlacesReplace, ALinkSwappedInAfterTheReadingRedirectsNothing) {
  ScratchDir dir;
  fs::create_directory(dir / "shared");
  const std::string path = dir / "shared/location.dat", outside = dir / "outside";
  WriteFile(outside, kOld);
  fs::permissions(outside, fs::perms::owner_read | fs::perms::owner_write);
  const auto swap_in_link = [&] {
    fs::create_symlink(outside, dir / "shared/swap");
    fs::rename(dir / "shared/swap", path);
  };
  enum Moment { kBefore, kWhileWriting, kRacing, kMoments };
  int refused = 0;
  constexpr int kRounds = 300;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove(path);
    WriteFile(path, kOld);
    fs::permissions(path, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                             fs::perms::others_exec));
    PlacesFile file;
    file.Open(path, PlacesFile::Use::Write);
    const auto moment = static_cast<Moment>(round % kMoments);
    if (moment == kBefore) swap_in_link();
    std::thread swapper([&] {
      if (moment == kRacing) swap_in_link();
    });
    try {
      file.ReplaceWith([&](const PlacesFile::PieceSink& sink) {
        sink(kNew);
        if (moment == kWhileWriting) swap_in_link();
      });
    } catch (const Failure& f) {
      EXPECT_EQ(f.fault(), Fault::PlacesFileChanged);
      ++refused;
    }
    swapper.join();
  }
  EXPECT_EQ(ReadFile(outside), kOld);
  EXPECT_EQ(fs::status(outside).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_GE(refused, 2 * kRounds / kMoments);
  EXPECT_EQ(Names(dir / "shared").size(), 2u);  // location.dat and its lock: nothing left over
}

// A link in a folder where all may put files and only their owners remove them (sticky, as /tmp)
// is followed only when it is the folder owner's or the user's, as the kernel's protection of
// links would follow it; refused, nothing is made beside its target.
TEST(PlacesReplace, ALinkInASharedFolderIsFollowedOnlyWhereTheKernelWould) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving links and folders to another user needs root";
  constexpr uid_t kOther = 65534;
  struct Case {
    mode_t folder_mode;
    uid_t folder_owner, link_owner;
    bool followed;
  };
  const Case cases[] = {{01777, 0, kOther, false},
                        {01777, 0, 0, true},
                        {01777, kOther, kOther, true},
                        {0777, 0, kOther, true},
                        {01775, 0, kOther, true}};
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string shared = dir / "shared", link = dir / "shared/location.dat",
                      target = dir / "private.dat";
    fs::create_directory(shared);
    ASSERT_EQ(::chown(shared.c_str(), c.folder_owner, 0), 0);
    ASSERT_EQ(::chmod(shared.c_str(), c.folder_mode), 0);
    WriteFile(target, kOld);
    fs::create_symlink(target, link);
    ASSERT_EQ(::lchown(link.c_str(), c.link_owner, 0), 0);
    const std::string what = std::to_string(c.folder_mode) + " " + std::to_string(c.link_owner);
    try {
      Replace(link, kNew);
      EXPECT_TRUE(c.followed) << what;
    } catch (const Failure& f) {
      EXPECT_FALSE(c.followed) << what;
      EXPECT_EQ(f.what(), "Places file is a link in a shared folder: " + link);
    }
    EXPECT_EQ(ReadFile(target), c.followed ? kNew : kOld) << what;
    EXPECT_EQ(fs::exists(dir / ".private.dat.lock"), c.followed) << what;
  }
}

// The attributes of a file besides its mode and owner: the user's notes, and the access ACL (in
// the kernel's form: the owner may read and write, user 1234, the group and the mask read).
TEST(PlacesReplace, UserAttributesAndTheAccessAclAreKept) {
  ScratchDir dir;
  const std::string path = dir / "location.dat";
  WriteFile(path, kOld);
  struct Entry {
    std::uint16_t tag, perm;
    std::uint32_t id;
  };
  const Entry entries[] = {{0x01, 6, ~0u}, {0x02, 4, 1234}, {0x04, 4, ~0u}, {0x10, 4, ~0u},
                           {0x20, 0, ~0u}};
  std::string acl("\x02\0\0\0", 4);
  for (const Entry& e : entries) acl.append(reinterpret_cast<const char*>(&e), sizeof e);
  const std::pair<std::string, std::string> kept[] = {{"user.note", "keep me"},
                                                      {"system.posix_acl_access", acl}};
  for (const auto& [name, value] : kept) {
    if (::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) != 0) {
      GTEST_SKIP() << "this file system keeps no " << name << ": " << std::strerror(errno);
    }
  }
  const auto mode = fs::status(path).permissions();
  Replace(path, kNew);
  for (const auto& [name, value] : kept) {
    std::string now(value.size() + 1, '\0');
    now.resize(std::max<ssize_t>(::getxattr(path.c_str(), name.c_str(), now.data(), now.size()), 0));
    EXPECT_EQ(now, value) << name;
  }
  EXPECT_EQ(fs::status(path).permissions(), mode);
  EXPECT_EQ(ReadFile(path), kNew);
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
