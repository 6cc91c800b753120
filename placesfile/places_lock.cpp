#include "placesfile/places_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <thread>

#include "common/failure.h"
#include "placesfile/leftovers.h"

namespace orvalin {
namespace {

using namespace std::chrono_literals;

constexpr auto kLockWait = 1000ms;
constexpr auto kLockPoll = 10ms;
constexpr int kMaxLinks = 40;     // the system's own limit on links followed in one path
// Readable by all whatever the umask: another user sharing the folder must be able to lock it.
constexpr mode_t kLockMode = 0644;
constexpr int kLockOpen = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The link's text, or nothing when `path` is no link (or not there).
std::string LinkText(const std::string& path) {
  std::string text(PATH_MAX, '\0');
  const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
  if (n <= 0) return {};
  text.resize(static_cast<std::size_t>(n));
  return text;
}

[[noreturn]] void Unlockable(const std::string& lock_path, std::string_view why) {
  Fail(Fault::PlacesFileUnlockable, lock_path + " " + std::string(why));
}

// Why the lock file could not be opened, `error` being what the system said.
[[noreturn]] void CannotOpen(const std::string& lock_path, int error, bool exists) {
  switch (error) {
    case ELOOP:
      Unlockable(lock_path, "is a symbolic link");
    case EACCES:
    case EPERM:
      Unlockable(lock_path, exists ? "may not be read (permission denied)"
                                   : "cannot be made: its folder is not writable");
    case EROFS:
      Unlockable(lock_path, "cannot be made: its file system is read-only");
    default:
      Unlockable(lock_path,
                 "cannot be opened (" + std::string(Description(FaultOfErrno(error))) + ")");
  }
}

// The lock file, made when it is not there yet.
Descriptor OpenLockFile(int dir, const std::string& name, const std::string& lock_path) {
  for (;;) {
    int fd = ::openat(dir, name.c_str(), kLockOpen | O_CREAT | O_EXCL, kLockMode);
    if (fd >= 0) {
      [[maybe_unused]] const int ignored = ::fchmod(fd, kLockMode);
    } else if (errno == EEXIST) {
      fd = ::openat(dir, name.c_str(), kLockOpen);
      if (fd < 0 && errno == ENOENT) continue;  // removed between the two: make it again
      if (fd < 0) CannotOpen(lock_path, errno, true);
    } else if (errno != EINTR) {
      CannotOpen(lock_path, errno, false);
    }
    if (fd < 0) continue;
    Descriptor lock(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) FailFromErrno(errno);
    if (S_ISDIR(st.st_mode)) Unlockable(lock_path, "is a folder");
    if (!S_ISREG(st.st_mode)) Unlockable(lock_path, "is not a plain file");
    return lock;
  }
}

// The kernel's rule (fs.protected_symlinks), kept whatever the system's setting: in a folder
// where anyone may put a file, a link may be another user's trap.
void CheckMayFollow(const std::string& link, uid_t link_owner) {
  struct stat folder {};
  if (::stat(FolderOf(link).c_str(), &folder) != 0) return;  // opening the folder says why
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  if (shared && link_owner != folder.st_uid && link_owner != ::geteuid()) {
    Fail(Fault::PlacesFileSharedLink, link);
  }
}

}  // namespace

std::string ResolvedTarget(const std::string& path) {
  std::string target = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    // Its owner first: in a shared folder only the owner may swap a link for another.
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return target;
    CheckMayFollow(target, link.st_uid);
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

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LockFileOf(const std::string& target) {
  return FolderOf(target) + "." + NameOf(target) + ".lock";
}

TargetFolder TargetFolder::Of(const std::string& path) {
  const std::string target = ResolvedTarget(path);
  TargetFolder t{FolderOf(target), NameOf(target), Descriptor()};
  t.dir.Reset(::open(t.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!t.dir.IsOpen()) FailFromErrno(errno);
  return t;
}

PlacesLock PlacesLock::Take(const TargetFolder& target) {
  PlacesLock lock;
  lock.folder_.Reset(::fcntl(target.dir.get(), F_DUPFD_CLOEXEC, 0));
  if (!lock.folder_.IsOpen()) FailFromErrno(errno);
  lock.lock_path_ = LockFileOf(target.folder + target.name);
  lock.lock_name_ = NameOf(lock.lock_path_);
  lock.Acquire();
  RemoveLeftovers(target.dir.get(), target.name);
  return lock;
}

PlacesLock PlacesLock::Take(const std::string& path) { return Take(TargetFolder::Of(path)); }

void PlacesLock::Acquire() {
  lock_.Reset();
  const auto until = std::chrono::steady_clock::now() + kLockWait;
  for (;;) {
    Descriptor fd = OpenLockFile(folder_.get(), lock_name_, lock_path_);
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        Unlockable(lock_path_, "cannot be locked on this file system");
      }
      if (std::chrono::steady_clock::now() >= until) Fail(Fault::PlacesFileBusy);
      std::this_thread::sleep_for(kLockPoll);
    }
    // A lock file removed or replaced while we waited is locked by nobody else: lock the one
    // that every other writer now opens.
    if (IdentityAt(folder_.get(), lock_name_) == IdentityOf(fd.get())) {
      lock_ = std::move(fd);
      return;
    }
  }
}

void PlacesLock::Confirm() const {
  if (Held() && IdentityAt(folder_.get(), lock_name_) != IdentityOf(lock_.get())) {
    Fail(Fault::PlacesFileChanged);
  }
}

}  // namespace orvalin
