// A picture of a span of days at one place: sunrise, culmination and sunset on the table's
// clock, the day length, and the sun's elevation at culmination, with polar days and nights.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QSize>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/chart/chart_days.h"
#include "cli/table/output_file.h"
#include "cli/table/sun_table.h"

namespace orvalin {

inline constexpr QSize kChartSize{1200, 900};

struct ChartText {
  std::string title;       // the place
  std::string subtitle;    // the span and the clock
  std::string clock_name;  // names the time axis
};

// Where the three panels lie in a picture of `size`.
struct ChartPanels {
  QRect times, day_length, elevation;
};
ChartPanels ChartLayout(QSize size);

// A curve through one value a day across `area` (values from `low` at the bottom to `high` at
// the top), broken where a value is missing or jumps by more than `jump`. Days beyond one a pixel
// column are drawn as each column's least and greatest value: at most four points a column.
QPainterPath CurveThrough(const QRectF& area, const std::vector<std::optional<double>>& values,
                          double low, double high, double jump);

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

// Needs a QGuiApplication (a ChartApplication) for its fonts. `days` were gathered for ChartLayout(size)'s width.
QImage DrawDaylightChart(const ChartDays& days, const ChartText& text, QSize size = kChartSize);
QImage DrawDaylightChart(const std::vector<SunRow>& rows, const ChartText& text,
                         QSize size = kChartSize);

// ToolFailure when the file cannot be written.
void SaveChartPng(const QImage& image, const OutputFile& file);

}  // namespace orvalin
