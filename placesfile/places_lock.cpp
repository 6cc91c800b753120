#include "placesfile/places_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "common/failure.h"

namespace orvalin {
namespace {

using namespace std::chrono_literals;

constexpr auto kLockWait = 1000ms;
constexpr auto kLockPoll = 10ms;
constexpr auto kHoldLimit = 60s;  // a forgotten flag must not hang a test run for ever
constexpr int kMaxLinks = 40;     // the system's own limit on links followed in one path
constexpr std::string_view kTemporarySuffix = "XXXXXX";
constexpr char kHoldLockVariable[] = "ORVALIN_TEST_HOLD_LOCK";

std::string& HoldFlag() {
  static std::string flag;
  return flag;
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The link's text, or nothing when `path` is no link (or not there).
std::string LinkText(const std::string& path) {
  std::string text(PATH_MAX, '\0');
  const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
  if (n <= 0) return {};
  text.resize(static_cast<std::size_t>(n));
  return text;
}

bool IsTemporaryOf(std::string_view entry, std::string_view pattern) {
  const std::size_t stem = pattern.size() - kTemporarySuffix.size();
  if (entry.size() != pattern.size() || entry.substr(0, stem) != pattern.substr(0, stem)) {
    return false;
  }
  for (const char c : entry.substr(stem)) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

void HoldWhileFlagExists() {
  const std::string& flag = HoldFlag();
  if (flag.empty()) return;
  const int fd = ::open(flag.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd >= 0) ::close(fd);
  const auto until = std::chrono::steady_clock::now() + kHoldLimit;
  while (::access(flag.c_str(), F_OK) == 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(kLockPoll);
  }
}

}  // namespace

std::string ResolvedTarget(const std::string& path) {
  std::string target = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    const std::string text = LinkText(target);
    if (text.empty()) return target;
    if (text.front() == '/') {
      target = text;
    } else {
      target = FolderOf(target).append(text);
    }
  }
  return target;  // a loop of links: opening the file reports it
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string LockFileOf(const std::string& target) {
  return FolderOf(target) + "." + NameOf(target) + ".lock";
}

std::string TemporaryPatternOf(const std::string& target) {
  return FolderOf(target) + "." + NameOf(target) + "." + std::string(kTemporarySuffix);
}

void RemoveLeftovers(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string pattern = NameOf(TemporaryPatternOf(target));
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (IsTemporaryOf(entry->d_name, pattern)) ::unlink((folder + entry->d_name).c_str());
  }
  ::closedir(dir);
}

PlacesLock PlacesLock::Take(const std::string& path) {
  const std::string target = ResolvedTarget(path);
  const int fd = ::open(LockFileOf(target).c_str(),
                        O_RDONLY | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return PlacesLock();
  PlacesLock lock(fd);
  const auto until = std::chrono::steady_clock::now() + kLockWait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) return PlacesLock();  // no locks on this system
    if (std::chrono::steady_clock::now() >= until) Fail(Fault::PlacesFileBusy);
    std::this_thread::sleep_for(kLockPoll);
  }
  RemoveLeftovers(target);
  HoldWhileFlagExists();
  return lock;
}

PlacesLock& PlacesLock::operator=(PlacesLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void PlacesLock::Release() {
  if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the flock
  fd_ = -1;
}

void HoldLocksWhileFlagExists(std::string flag) { HoldFlag() = std::move(flag); }

void HoldLocksAsTheEnvironmentSays() {
  if (const char* flag = std::getenv(kHoldLockVariable)) HoldLocksWhileFlagExists(flag);
}

}  // namespace orvalin
