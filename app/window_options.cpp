#include "app/window_options.h"

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
  WindowOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return {WindowOptions::Action::Help, std::nullopt};
    if (arg == "--version" || arg == "-V") return {WindowOptions::Action::Version, std::nullopt};
    std::optional<std::string> dir;
    if (arg == "--dir" && i + 1 < args.size()) {
      dir = args[++i];
    } else if (arg.starts_with("--dir=")) {
      dir = arg.substr(6);
    }
    if (!dir || dir->empty() || options.dir) return {WindowOptions::Action::BadUsage, std::nullopt};
    options.dir = std::move(dir);
  }
  return options;
}

}  // namespace orvalin
