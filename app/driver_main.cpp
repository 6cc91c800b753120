// orvalin-driver: the real main window on Qt's offscreen platform, scripted by JSON Lines on
// standard input, reporting on standard output what the window shows.
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/args/command_line.h"
#include "cli/args/tool_errors.h"
#include "engine/date_text.h"
#include "ui/driver/driver.h"
#include "ui/driver/json_line.h"
#include "ui/driver/scripted_dialogs.h"
#include "ui/main_window.h"
#ifdef ORVALIN_TEST_HOOKS
#include "tests/support/lock_holding.h"
#endif

namespace {

constexpr int kScriptError = 2;

struct Options {
  bool help = false;
  std::optional<std::string> error;  // a command line not understood, as the error event says
  std::optional<std::string> dir;
  std::optional<std::chrono::year_month_day> today;
};

int Fail(const std::string& text) {
  orvalin::Emit(orvalin::JsonLine().Text("error", text));
  return kScriptError;
}

// Read in order, as a script's writer expects: the first misfit is the one reported. --help is
// understood only alone; --dir and --today may be repeated, the last one counting.
Options ParseArguments(const std::vector<std::string>& args) {
  constexpr orvalin::OptionRule kRules[] = {
      {"--dir", true, true},
      {"--today", true, true},
      {"--help", false, false, "-h"},
  };
  constexpr std::string_view kUsageLine = "usage: orvalin-driver [--dir DIR] [--today DD-MM-YYYY]";
  Options options;
  try {
    orvalin::ArgumentReader reader(args, kRules, {.words = false, .joined_values = false});
    while (const auto argument = reader.Next()) {
      const std::string_view name = argument->rule->name;
      if (name == "--help") {
        options.help = args.size() == 1;
        if (!options.help) options.error = std::string(kUsageLine);
        return options;
      }
      if (name == "--dir") {
        options.dir = argument->value;
      } else if (!(options.today = orvalin::ReadStrictDate(argument->value))) {
        options.error = "--today needs a date as DD-MM-YYYY, not " + argument->value;
        return options;
      }
    }
  } catch (const orvalin::BadUsage&) {
    options.error = std::string(kUsageLine);
  }
  return options;
}

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace

constexpr std::string_view kUsage =
    "Usage: orvalin-driver [--dir DIR] [--today DD-MM-YYYY]\n"
    "Runs the Orvalin window without a screen and takes its actions as JSON Lines on standard\n"
    "input, writing what the window shows as JSON Lines; see the manual page, orvalin-driver(1).\n";

int main(int argc, char* argv[]) {
  const Options options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (options.help) {
    std::cout << kUsage;
    return 0;
  }
  std::signal(SIGXFSZ, SIG_IGN);  // a write over the file-size limit fails instead of killing
  if (options.error) return Fail(*options.error);
  if (options.dir && ::chdir(options.dir->c_str()) != 0) {
    return Fail("cannot make " + *options.dir + " the current directory");
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;  // the driver's own arguments are not Qt's
  QApplication app(qt_argc, argv);

  auto dialogs = std::make_unique<orvalin::ScriptedDialogs>(options.today);
  orvalin::ScriptedDialogs& scripted = *dialogs;
  orvalin::MainWindow window(std::move(dialogs));
#ifdef ORVALIN_TEST_HOOKS
  orvalin::HoldLocksAsTheEnvironmentSays(window.session().File);
#endif
  orvalin::Driver driver(window, scripted);

  std::string line;
  while (std::getline(std::cin, line)) {
    if (IsBlank(line)) continue;
    if (!driver.Run(line)) return kScriptError;
  }
  window.close();
  return EXIT_SUCCESS;
}
