// The desktop program: the main window on the toolkit's own dialogs and clock.
#include <QApplication>
#include <csignal>
#include <memory>

#include "ui/dialogs.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  // Going over a file-size limit must fail the write, which the places code reports, instead of
  // killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  orvalin::Form1 window(std::make_unique<orvalin::QtDialogs>());
  window.show();
  return QApplication::exec();
}
