#include "placesfile/leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <string_view>

namespace orvalin {
namespace {

constexpr std::string_view kMark = ".orvalin-new-";
constexpr std::size_t kSuffixSize = 6;
constexpr std::string_view kSuffixCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kNameAttempts = 100;

std::string StemOf(const std::string& name) { return "." + name + std::string(kMark); }

std::string RandomSuffix() {
  std::array<unsigned char, kSuffixSize> bytes{};
  if (::getrandom(bytes.data(), bytes.size(), GRND_NONBLOCK) !=
      static_cast<ssize_t>(bytes.size())) {
    // Names need not be secret: O_EXCL refuses any that is taken.
    auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (auto& b : bytes) b = static_cast<unsigned char>(ticks >>= 5);
  }
  std::string suffix;
  for (const unsigned char b : bytes) suffix += kSuffixCharacters[b % kSuffixCharacters.size()];
  return suffix;
}

bool IsTemporaryName(std::string_view entry, std::string_view stem) {
  if (entry.size() != stem.size() + kSuffixSize || !entry.starts_with(stem)) return false;
  return entry.substr(stem.size()).find_first_not_of(kSuffixCharacters) == std::string_view::npos;
}

// A file of that name whose writer no longer holds its flock, removed only if the name still
// refers to the file that was judged.
void RemoveIfDead(int dir, const std::string& entry) {
  const Descriptor fd(::openat(dir, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (!fd.IsOpen() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return;
  struct stat now {};
  if (::fstatat(dir, entry.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == st.st_dev &&
      now.st_ino == st.st_ino) {
    ::unlinkat(dir, entry.c_str(), 0);
  }
}

}  // namespace

TemporaryFile CreateTemporary(int dir, const std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    TemporaryFile temp{StemOf(name) + RandomSuffix(), Descriptor()};
    temp.fd.Reset(
        ::openat(dir, temp.name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!temp.fd.IsOpen()) {
      if (errno == EEXIST || errno == EINTR) continue;
      FailFromErrno(errno);
    }
    if (::flock(temp.fd.get(), LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::unlinkat(dir, temp.name.c_str(), 0);
      FailFromErrno(error);
    }
    return temp;
  }
  FailFromErrno(EEXIST);
}

void RemoveLeftovers(int dir, const std::string& name) {
  const int own = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (own < 0) return;
  DIR* listing = ::fdopendir(own);
  if (listing == nullptr) {
    ::close(own);
    return;
  }
  const std::string stem = StemOf(name);
  while (const dirent* entry = ::readdir(listing)) {
    if (IsTemporaryName(entry->d_name, stem)) RemoveIfDead(dir, entry->d_name);
  }
  ::closedir(listing);
}

}  // namespace orvalin
