#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainterPath>
#include <cmath>

#include "cli/chart/daylight_chart.h"
#include "cli/table_tool/table_cli.h"
#include "tests/cli/tool_test_support.h"
#include "tests/support/session_fixture.h"
#include "tests/support/table_rows.h"

namespace orvalin {
namespace {

// One application for the whole test program: painting text needs its fonts.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "chart_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};
const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

int CountOtherThan(const QImage& image, const QRect& area, QRgb colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) != colour ? 1 : 0;
  }
  return n;
}

TEST(DaylightChart, PngOfTheExpectedSizeWithEveryPanelDrawn) {
  testing::ScratchDir dir;
  testing::WriteFile(
      dir / "location.dat",
      testing::RecordsBytes({testing::Place("Tromsø", "Norway", "69 39 0 N", "18 57 0 E", 1)}));
  const std::string png = dir / "tromso.png";
  const testing::ToolRun run = testing::RunEntry(
      RunTable, {"--file", dir / "location.dat", "--year", "2009", "--plot", png});
  ASSERT_EQ(run.status, 0) << run.err;

  EXPECT_EQ(testing::ReadFile(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), kChartSize);
  const QRgb white = qRgb(255, 255, 255);
  const ChartPanels panels = ChartLayout(kChartSize);
  for (const QRect& panel : {panels.times, panels.day_length, panels.elevation}) {
    const QRect inside = panel.adjusted(2, 2, -2, -2);
    EXPECT_GT(CountOtherThan(image, inside, white), inside.width() * inside.height() / 2);
  }
  // Tromsø: polar night at the year's end, polar day at its middle, across the whole height.
  const QRect& t = panels.times;
  const QRgb night = image.pixel(t.right() - 5, t.center().y() + 20);  // off the grid
  const QRgb day = image.pixel(t.center().x(), t.top() + 5);
  EXPECT_EQ(image.pixel(t.right() - 5, t.top() + 5), night);
  EXPECT_EQ(image.pixel(t.right() - 5, t.bottom() - 5), night);
  EXPECT_EQ(image.pixel(t.center().x(), t.bottom() - 5), day);
  EXPECT_GT(qBlue(night), qRed(night));  // dark blue
  EXPECT_GT(qRed(day), qBlue(day));      // pale yellow
}

TEST(DaylightChart, EmptyAndSingleDaySpansDraw) {
  EXPECT_EQ(DrawDaylightChart({}, ChartText{"t", "s", "UT"}).size(), kChartSize);
  TablePlace geneva;
  geneva.latitude = 46.2;
  geneva.longitude_east = 6.15;
  const std::vector<SunRow> one = {
      ComputeRow(geneva, Day{std::chrono::year{2009} / 6 / 21}, Clock::Universal())};
  const QImage image =
      DrawDaylightChart(one, ChartText{"Geneva", "21-06-2009", "UT"}, QSize(600, 450));
  EXPECT_EQ(image.size(), QSize(600, 450));
  const QRect inside = ChartLayout(image.size()).times.adjusted(2, 2, -2, -2);
  EXPECT_GT(CountOtherThan(image, inside, qRgb(255, 255, 255)),
            inside.width() * inside.height() / 2);
}

// With a twilight, the hours between dawn and sunrise are neither night nor daylight.
TEST(DaylightChart, TwilightIsShadedBetweenNightAndDay) {
  TablePlace geneva;
  geneva.latitude = 46.2;
  geneva.longitude_east = 6.15;
  SunSettings settings;
  settings.twilight = -18;
  const std::vector<SunRow> rows =
      ComputeRows(geneva, Day{std::chrono::year{2027} / 1 / 1},
                  Day{std::chrono::year{2027} / 1 / 31}, Clock::Universal(), settings);
  ASSERT_TRUE(rows[15].dawn.known);
  const QImage image = DrawDaylightChart(rows, ChartText{"Geneva", "January", "UT"});
  const ChartPanels panels = ChartLayout(image.size());
  const QRect& t = panels.times;
  const auto at_hour = [&](double hours) {
    return image.pixel(t.center().x() + 3, t.bottom() - static_cast<int>(t.height() * hours / 24));
  };
  const double dawn_to_sunrise = (rows[15].dawn.local.hours + rows[15].sunrise.local.hours) / 2;
  const QRgb twilight = at_hour(dawn_to_sunrise);
  EXPECT_NE(twilight, at_hour(2.5));  // night
  EXPECT_NE(twilight, at_hour(12));   // daylight
  EXPECT_EQ(twilight, at_hour(rows[15].dusk.local.hours - 0.2));
}

// A span of centuries costs the chart no more points than a year: min and max per column.
TEST(DaylightChart, ACurveHasAtMostFourPointsAPixelColumnAndKeepsItsExtremes) {
  const QRectF area(0, 0, 1000, 240);
  for (const int days : {10, 1000, 365'000}) {
    std::vector<std::optional<double>> values(static_cast<std::size_t>(days));
    for (int i = 0; i < days; ++i) values[i] = 12 + 8 * std::sin(i * 0.0172);
    values[days / 2].reset();  // a missing day breaks the line
    const QPainterPath path = CurveThrough(area, values, 0, 24, 12);
    EXPECT_LE(path.elementCount(), std::min(days, 4 * 1000 + 8)) << days;
    const QRectF bounds = path.boundingRect();
    EXPECT_NEAR(bounds.top(), 240 - 240 * (days > 200 ? 20 : 12 + 8 * std::sin(9 * 0.0172)) / 24,
                0.5)
        << days;
  }
}

// Every day is kept while the days fit the pixel columns (a short span's picture is drawn a day
// a column); beyond, a column holds a few runs a curve however often its days break the line,
// and the start of its roundest year for the labels.
TEST(ChartDays, KeepsEveryDayThatFitsAndAFewRunsAColumnBeyond) {
  const int panel = ChartLayout(kChartSize).times.width();
  const std::pair<int, int> cases[] = {
      {panel, panel}, {panel + 1, panel}, {300 * 365, panel}, {300 * 365, 50}};
  for (const auto& [days, width] : cases) {
    ChartDays chart(days, width);
    Day date{std::chrono::year{1900} / 1 / 1};
    for (int i = 0; i < days; ++i, date = std::chrono::sys_days{date} + std::chrono::days{1}) {
      SunRow r;
      r.date = date;
      // Every third day a polar day: no sunrise; the others' sunrise crosses midnight.
      r.status = i % 3 == 0 ? SunOutcome::NoSunset : SunOutcome::Complete;
      r.sunrise.known = r.status == SunOutcome::Complete;
      r.sunrise.local.hours = std::fmod(i * 7.5, 24);
      chart.Add(r);
    }
    const int columns = std::min(days, width);
    ASSERT_EQ(static_cast<int>(chart.Columns().size()), columns) << days;
    const std::size_t runs = chart.Sunrise().Runs().size();
    if (days <= width) {
      EXPECT_EQ(runs, static_cast<std::size_t>(days - (days + 2) / 3)) << days;
      EXPECT_EQ(chart.Columns().back().date,
                Day{std::chrono::sys_days{date} - std::chrono::days{1}});
    }
    EXPECT_LE(runs, static_cast<std::size_t>(4 * columns)) << days;
    const Day y2000{std::chrono::year{2000} / 1 / 1};  // within the long spans
    if (days > 100 * 365) {
      EXPECT_TRUE(std::any_of(chart.Columns().begin(), chart.Columns().end(),
                              [&](const ChartColumn& c) { return c.year_start == y2000; }))
          << width;
    }
    EXPECT_EQ(DrawDaylightChart(chart, ChartText{"t", "s", "UT"}).size(), kChartSize);
  }
}

}  // namespace
}  // namespace orvalin
