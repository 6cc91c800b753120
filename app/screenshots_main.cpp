// orvalin-screenshots OUTDIR: pictures of the main window in English and in French, as it opens
// on the places file of the current directory.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/scripted_dialogs.h"
#include "ui/form1.h"

namespace {

bool Save(orvalin::Form1& window, const QDir& folder, const QString& name) {
  QApplication::processEvents();
  const QString path = folder.filePath(name);
  if (window.grab().save(path)) return true;
  std::cerr << "cannot write " << path.toStdString() << "\n";
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: orvalin-screenshots OUTDIR\n";
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QApplication app(qt_argc, argv);
  // A fixed day, so that the pictures change only when the window does.
  orvalin::Form1 window(std::make_unique<orvalin::ScriptedDialogs>(
      std::chrono::year{2009} / std::chrono::June / std::chrono::day{21}));
  window.show();
  if (!Save(window, folder, "window-en.png")) return EXIT_FAILURE;
  window.Button("Option1")->click();
  if (!Save(window, folder, "window-fr.png")) return EXIT_FAILURE;
  return EXIT_SUCCESS;
}
