#include "tests/support/lock_holding.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace orvalin {

void HoldLocksAsTheEnvironmentSays(PlacesFile& file) {
  const char* variable = std::getenv("ORVALIN_TEST_HOLD_LOCK");
  if (variable == nullptr) return;
  file.WhenLockTaken([flag = std::string(variable)] {
    using namespace std::chrono_literals;
    const int fd = ::open(flag.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) ::close(fd);
    const auto until = std::chrono::steady_clock::now() + 60s;
    while (::access(flag.c_str(), F_OK) == 0 && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(10ms);
    }
  });
}

}  // namespace orvalin
