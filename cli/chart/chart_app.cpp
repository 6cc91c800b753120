#include "cli/chart/chart_app.h"

#include <QBuffer>
#include <iostream>

#include "cli/args/tool_errors.h"

namespace orvalin {

namespace {

// Qt's own notices (a missing XDG_RUNTIME_DIR, say) mean nothing to the tools' users.
void OnlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << QCoreApplication::applicationName().toStdString() << ": "
              << message.toStdString() << '\n';
  }
}

}  // namespace

ChartApplication::ChartApplication(const char* program) : name_(program) {
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  argv_[0] = name_.data();
  qInstallMessageHandler(OnlyQtErrors);
  app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

ChartApplication::~ChartApplication() = default;

void SaveChartPng(const QImage& image, const OutputFile& file) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    throw ToolFailure(file.Path() + ": the chart cannot be written");
  }
  file.Write([&](std::ostream& out) { out.write(png.constData(), png.size()); });
}

}  // namespace orvalin
