// What a chart needs of Qt beside its painting: an application for the fonts, and its PNG file.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

#include "cli/table/output_file.h"

namespace orvalin {

// The application that drawing needs for its fonts, made on Qt's offscreen platform unless one
// is chosen, when the process has none yet; Qt's own notices are kept quiet but for its errors,
// which go to standard error after `program`. Keep it for as long as charts are drawn.
class ChartApplication {
 public:
  explicit ChartApplication(const char* program);
  ~ChartApplication();
  ChartApplication(const ChartApplication&) = delete;
  ChartApplication& operator=(const ChartApplication&) = delete;

 private:
  std::string name_;  // the application keeps its arguments for as long as it lives
  char* argv_[2] = {nullptr, nullptr};
  int argc_ = 1;
  std::unique_ptr<QGuiApplication> app_;
};

// ToolFailure when the file cannot be written.
void SaveChartPng(const QImage& image, const OutputFile& file);

}  // namespace orvalin
