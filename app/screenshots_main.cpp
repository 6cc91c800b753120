// orvalin-screenshots OUTDIR: pictures of the main window in English and in French, as it opens
// on the places file of the current directory, and, on a real display (xvfb-run), the window
// with the sunrise's tooltip on the place's own clock.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QToolTip>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "ui/driver/scripted_dialogs.h"
#include "ui/main_window.h"

namespace {

bool Save(orvalin::MainWindow& window, const QDir& folder, const QString& name) {
  QApplication::processEvents();
  const QString path = folder.filePath(name);
  if (window.grab().save(path)) return true;
  std::cerr << "cannot write " << path.toStdString() << "\n";
  return false;
}

// A tooltip is a window of its own, which grab() leaves out: the screen is taken instead, over
// the window and the tooltip together. Offscreen there is no screen to take.
bool SaveWithTooltip(orvalin::MainWindow& window, const QDir& folder, const QString& name) {
  QLineEdit* field = window.Field("SunRise");
  QToolTip::showText(field->mapToGlobal(QPoint(field->width() / 2, field->height())),
                     field->toolTip(), field);
  QRect area = window.frameGeometry();
  for (int wait = 0; wait < 50; ++wait) {
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && w->windowType() == Qt::ToolTip) area = area.united(w->geometry());
    }
  }
  const QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                    area.height());
  if (shot.isNull() || QGuiApplication::platformName() == "offscreen") {
    std::cerr << "no screen to take the tooltip from: run under xvfb-run\n";
    return true;
  }
  const QString path = folder.filePath(name);
  if (shot.save(path)) return true;
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
  orvalin::MainWindow window(std::make_unique<orvalin::ScriptedDialogs>(
      std::chrono::year{2009} / std::chrono::June / std::chrono::day{21}));
  window.show();
  if (!Save(window, folder, "window-en.png")) return EXIT_FAILURE;
  if (!SaveWithTooltip(window, folder, "window-tooltip.png")) return EXIT_FAILURE;
  window.Button("Option1")->click();
  if (!Save(window, folder, "window-fr.png")) return EXIT_FAILURE;
  return EXIT_SUCCESS;
}
