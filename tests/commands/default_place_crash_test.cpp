// A DefaultData killed at any moment leaves location.dat whole: as it was, with the chosen
// place moved first, or moved and sorted; never a record lost or doubled.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <random>

#include "commands/default_place.h"
#include "tests/commands/places_fixture.h"

namespace orvalin {
namespace {

using namespace testing;

class CrashTest : public PlacesTest {
 protected:
  pid_t StartDefaultData(std::int32_t current) {
    const pid_t child = ::fork();
    if (child == 0) {
      session.CurrentRecord = current;
      DefaultData(session);
      ::_exit(0);
    }
    return child;
  }
  std::string ReadFile() const {
    std::ifstream in(FilePath(), std::ios::binary);
    std::string bytes(std::filesystem::file_size(FilePath()), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
  }
  ino_t FileInode() const {
    struct stat st {};
    return ::stat(FilePath().c_str(), &st) == 0 ? st.st_ino : 0;
  }
  void RemoveStrayFiles() {
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      if (e.path().filename() != "location.dat") std::filesystem::remove(e.path());
    }
  }
};

TEST_F(CrashTest, AKilledDefaultDataLeavesOneWholeFile) {
  constexpr int kRecords = 20000;
  std::string old, moved;
  for (int r = 0; r < kRecords; ++r) {
    char name[16];
    std::snprintf(name, sizeof name, "P%05d", kRecords - r);
    old += Bytes(Named(name));
  }
  const std::string last = old.substr(old.size() - kRecordSize);
  moved = last + old.substr(0, old.size() - kRecordSize);

  WriteBytes(old);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ::waitpid(StartDefaultData(kRecords), &status, 0);
  const auto took = std::chrono::steady_clock::now() - start;
  const std::string sorted = ReadFile();
  ASSERT_NE(sorted, moved);
  ASSERT_EQ(sorted.substr(0, kRecordSize), last);

  std::mt19937 rng(7);
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 5 / 4;
  int seen[3] = {0, 0, 0};
  for (int kill = 0; kill < 30; ++kill) {
    RemoveStrayFiles();
    WriteBytes(old);
    const pid_t child = StartDefaultData(kRecords);
    ::usleep(static_cast<useconds_t>(rng() % (span + 1)));
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    const std::string after = ReadFile();
    const int state = after == old ? 0 : after == moved ? 1 : after == sorted ? 2 : -1;
    ASSERT_NE(state, -1) << "kill " << kill << ": a file of " << after.size() << " bytes";
    ++seen[state];
  }
  std::printf("kills over %lld us: old %d, moved %d, sorted %d\n", static_cast<long long>(span),
              seen[0], seen[1], seen[2]);

  // Killed as soon as the file has been replaced once: the in-between file, the chosen place
  // first and the others as they were, is what stands.
  RemoveStrayFiles();
  WriteBytes(old);
  const ino_t before = FileInode();
  const pid_t child = StartDefaultData(kRecords);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (FileInode() == before && std::chrono::steady_clock::now() < deadline) {
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  EXPECT_EQ(ReadFile(), moved);
}

}  // namespace
}  // namespace orvalin
