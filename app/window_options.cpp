#include "app/window_options.h"

#include "cli/args/command_line.h"
#include "cli/args/tool_errors.h"

namespace orvalin {

const std::string_view kWindowHelp =
    R"(Usage: orvalin [--dir DIR]
The Orvalin window: sunrise, culmination and sunset of one place and one day, in universal
time, with the places kept in a file of their own, location.dat.

Options:
  --dir DIR            keep the places in DIR/location.dat: DIR becomes the current
                       directory before the window opens (a missing or empty
                       location.dat there is made empty, and the window asks for a place)
  -h, --help           show this help
  -V, --version        show the version

The places folder: with --dir, DIR. Otherwise the current directory when it holds
location.dat. Otherwise your own places folder, $XDG_DATA_HOME/orvalin
(~/.local/share/orvalin when XDG_DATA_HOME is not set): the first run makes it and
copies the installed sample places into it (share/orvalin/location.dat of the
installation, /usr/share/orvalin/location.dat from the package); later runs use it and
the places you save extend it.

Exit status: 0 done, 1 the places folder cannot be used, 2 bad usage.
)";

const std::string_view kWindowUsage = "usage: orvalin [--dir DIR] [--help] [--version]";

WindowOptions ParseWindowOptions(const std::vector<std::string>& args) {
  constexpr OptionRule kRules[] = {
      {"--dir", true},
      {"--help", false, false, "-h"},
      {"--version", false, false, "-V"},
  };
  using Action = WindowOptions::Action;
  WindowOptions options;
  try {
    // Read in order: --help or --version answers at once, even with a bad argument after it.
    ArgumentReader reader(args, kRules, {.words = false});
    while (const auto argument = reader.Next()) {
      if (argument->rule->name == "--help") return {Action::Help, std::nullopt};
      if (argument->rule->name == "--version") return {Action::Version, std::nullopt};
      if (argument->value.empty()) return {Action::BadUsage, std::nullopt};
      options.dir = argument->value;
    }
  } catch (const BadUsage&) {
    return {Action::BadUsage, std::nullopt};
  }
  return options;
}

}  // namespace orvalin
