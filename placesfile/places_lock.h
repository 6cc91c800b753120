// One writer at a time on the places file, across programs: an exclusive flock on a lock file
// beside the file's resolved target. The lock file outlives every replacement of the places
// file, and the system releases the lock when its holder dies.
#pragma once

#include <string>

namespace orvalin {

// The file a path names once every symbolic link is followed, even to a target not yet there.
std::string ResolvedTarget(const std::string& path);
// The folder part of a path with its final "/", "./" when there is none.
std::string FolderOf(const std::string& path);
// ".<name>.lock" beside the target.
std::string LockFileOf(const std::string& target);
// The mkstemp pattern of the replacement's temporary file, ".<name>.XXXXXX" beside the target.
std::string TemporaryPatternOf(const std::string& target);
// Removes the temporary files of a replacement that died before its rename. Only a lock holder
// may call it: every live replacement holds the lock.
void RemoveLeftovers(const std::string& target);

class PlacesLock {
 public:
  PlacesLock() = default;
  // Waits up to kLockWait for the lock of the file at `path`, then fails with Places file busy.
  // Where no lock file can be made (a read-only folder, a missing one) the lock is not held and
  // the caller goes on unlocked. Leftovers are removed once the lock is held.
  static PlacesLock Take(const std::string& path);

  PlacesLock(PlacesLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  PlacesLock& operator=(PlacesLock&& other) noexcept;
  PlacesLock(const PlacesLock&) = delete;
  PlacesLock& operator=(const PlacesLock&) = delete;
  ~PlacesLock() { Release(); }

  bool Held() const { return fd_ >= 0; }
  void Release();

 private:
  explicit PlacesLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// For tests of two writers: from now on, every lock taken creates the file `flag` and is held
// until that file is removed, so that another process can be made to meet a held lock.
void HoldLocksWhileFlagExists(std::string flag);
// The same with the flag named by ORVALIN_TEST_HOLD_LOCK, when it is set: only the driver and
// the places tool call it.
void HoldLocksAsTheEnvironmentSays();

}  // namespace orvalin
