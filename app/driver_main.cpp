// orvalin-driver: the real main window on Qt's offscreen platform, scripted by JSON Lines on
// standard input, reporting on standard output what the window shows.
#include <fcntl.h>
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
#include <thread>

#include "app/driver.h"
#include "app/json_line.h"
#include "app/scripted_dialogs.h"
#include "engine/date_text.h"
#include "placesfile/places_file.h"
#include "ui/form1.h"

namespace {

constexpr int kScriptError = 2;

struct Options {
  std::optional<std::string> dir;
  std::optional<std::chrono::year_month_day> today;
};

int Fail(const std::string& text) {
  orvalin::Emit(orvalin::JsonLine().Text("error", text));
  return kScriptError;
}

// "" when the arguments are understood, else the error's text.
std::string ParseArguments(int argc, char* argv[], Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (i + 1 >= argc || (argument != "--dir" && argument != "--today")) {
      return "usage: orvalin-driver [--dir DIR] [--today DD-MM-YYYY]";
    }
    const std::string value = argv[++i];
    if (argument == "--dir") {
      options.dir = value;
    } else if (!(options.today = orvalin::ReadStrictDate(value))) {
      return "--today needs a date as DD-MM-YYYY, not " + value;
    }
  }
  return {};
}

// For tests of two writers: with ORVALIN_TEST_HOLD_LOCK naming a flag file, every lock the window
// takes makes the flag and is held until the flag is removed, so that another program meets a
// held lock; a minute at most, so that a forgotten flag does not hang a test run.
void HoldLocksAsTheEnvironmentSays(orvalin::PlacesFile& file) {
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

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace

constexpr std::string_view kUsage =
    "Usage: orvalin-driver [--dir DIR] [--today DD-MM-YYYY]\n"
    "Runs the Orvalin window without a screen and takes its actions as JSON Lines on standard\n"
    "input, writing what the window shows as JSON Lines; see the manual page, orvalin-driver(1).\n";

int main(int argc, char* argv[]) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  std::signal(SIGXFSZ, SIG_IGN);  // a write over the file-size limit fails instead of killing
  Options options;
  if (const std::string error = ParseArguments(argc, argv, options); !error.empty()) {
    return Fail(error);
  }
  if (options.dir && ::chdir(options.dir->c_str()) != 0) {
    return Fail("cannot make " + *options.dir + " the current directory");
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;  // the driver's own arguments are not Qt's
  QApplication app(qt_argc, argv);

  auto dialogs = std::make_unique<orvalin::ScriptedDialogs>(options.today);
  orvalin::ScriptedDialogs& scripted = *dialogs;
  orvalin::Form1 window(std::move(dialogs));
  HoldLocksAsTheEnvironmentSays(window.session().File);
  orvalin::Driver driver(window, scripted);

  std::string line;
  while (std::getline(std::cin, line)) {
    if (IsBlank(line)) continue;
    if (!driver.Run(line)) return kScriptError;
  }
  window.close();
  return EXIT_SUCCESS;
}
