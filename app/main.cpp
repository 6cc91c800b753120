// The desktop program: the main window on the toolkit's own dialogs and clock.
#include <unistd.h>

#include <QApplication>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/window_options.h"
#include "placesfile/places_folder.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace {

constexpr int kFailure = 1;
constexpr int kBadUsage = 2;

// Chooses the places folder (see placesfile/places_folder.h) and makes it the current directory,
// where the window keeps location.dat. false when it cannot be used; the reason is on standard
// error.
bool EnterPlacesFolder(const std::optional<std::string>& dir) {
  try {
    const orvalin::FolderChoice choice =
        orvalin::ChoosePlacesFolder(orvalin::ProcessFolderInputs(dir));
    if (const std::string warning = orvalin::SetUpPlacesFolder(choice); !warning.empty()) {
      std::cerr << "orvalin: warning: " << warning << '\n';
    }
    if (choice.reason != orvalin::FolderChoice::Reason::CurrentHasPlaces &&
        ::chdir(choice.folder.c_str()) != 0) {
      std::cerr << "orvalin: cannot make " << choice.folder.string()
                << " the current directory: " << std::strerror(errno) << '\n';
      return false;
    }
  } catch (const orvalin::FolderError& e) {
    std::cerr << "orvalin: " << e.what() << '\n';
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  const orvalin::WindowOptions options =
      orvalin::ParseWindowOptions(std::vector<std::string>(argv + 1, argv + argc));
  switch (options.action) {
    case orvalin::WindowOptions::Action::Help:
      std::cout << orvalin::kWindowHelp << std::flush;
      return std::cout ? EXIT_SUCCESS : kFailure;
    case orvalin::WindowOptions::Action::Version:
      std::cout << "orvalin " << ORVALIN_VERSION << std::endl;
      return std::cout ? EXIT_SUCCESS : kFailure;
    case orvalin::WindowOptions::Action::BadUsage:
      std::cerr << orvalin::kWindowUsage << '\n';
      return kBadUsage;
    case orvalin::WindowOptions::Action::Run:
      break;
  }
  if (!EnterPlacesFolder(options.dir)) return kFailure;

  // Going over a file-size limit must fail the write, which the places code reports, instead of
  // killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  int qt_argc = 1;  // the program's own arguments are not Qt's
  QApplication app(qt_argc, argv);
#ifdef ORVALIN_APP_ID
  // The desktop entry's name, so that a Wayland shell shows the window with its entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(ORVALIN_APP_ID));
#endif
  orvalin::MainWindow window(std::make_unique<orvalin::QtDialogs>());
  window.show();
  return QApplication::exec();
}
