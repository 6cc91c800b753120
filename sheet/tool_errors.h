// The two ways a command-line tool stops early, mapped to its exit status.
#pragma once

#include <stdexcept>

namespace orvalin {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadUsage = 2;

// The command line cannot be carried out as typed (exit status 2).
struct BadUsage : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The command was understood but could not be done: a file, a place, a write (exit status 1).
struct ToolFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace orvalin
