// The command line of the desktop program, orvalin: plain C++, read before the toolkit starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

struct WindowOptions {
  enum class Action { Run, Help, Version, BadUsage };
  Action action = Action::Run;
  std::optional<std::string> dir;  // --dir DIR
};

// The arguments after the program's name.
WindowOptions ParseWindowOptions(const std::vector<std::string>& args);

// The text of --help, and the one line written on standard error for a bad command line.
extern const std::string_view kWindowHelp;
extern const std::string_view kWindowUsage;

}  // namespace orvalin
