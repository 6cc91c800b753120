// The two ways a command-line tool stops early, mapped to its exit status.
#pragma once

#include <exception>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "common/escaped_text.h"
#include "common/failure.h"

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

// Output that did not all reach its file (a full disk, /dev/full) is a failure: a truncated export
// must not pass as done.
inline void EnsureWritten(std::ostream& out) {
  out.flush();
  if (!out) throw ToolFailure("standard output cannot be written (is the disk full?)");
}

// --help and --version: true when one was asked for and answered on `out`.
template <typename CommandLineT>
bool AnswerHelpOrVersion(const CommandLineT& cl, std::ostream& out, std::string_view program,
                         std::string_view help, std::string_view version) {
  if (cl.Has("--help")) {
    out << help;
    return true;
  }
  if (cl.Has("--version")) {
    out << program << ' ' << version << '\n';
    return true;
  }
  return false;
}

// A message as the tools write it: it quotes what was typed or read, whose control characters
// would otherwise drive the terminal.
inline std::string MessageText(std::string_view message) {
  return EscapeControls(message, Backslash::Kept);
}

// The status a failure exits with: kExitFailure, unless the run learns that its answers use it.
struct FailureStatus {
  int value = kExitFailure;
};

// A tool's whole run: what stops it early becomes one line on `err` and the exit status.
template <typename Body>
int RunTool(std::string_view program, std::ostream& err, Body&& body,
            const FailureStatus& failure = {}) {
  const auto say = [&](std::string_view message) {
    err << program << ": " << MessageText(message) << '\n';
  };
  try {
    return body();
  } catch (const BadUsage& e) {
    say(e.what());
    return kExitBadUsage;
  } catch (const std::bad_alloc&) {
    err << program << ": " << Description(Fault::OutOfMemory) << '\n';  // nothing to allocate
    return failure.value;
  } catch (const std::exception& e) {
    say(e.what());
    return failure.value;
  }
}

}  // namespace orvalin
