#include "cli/chart/daylight_chart.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <optional>

#include "cli/args/tool_errors.h"

namespace orvalin {
namespace {

const QColor kNight(45, 58, 90);
const QColor kDaylight(251, 233, 166);
const QColor kTwilight(120, 140, 190);
const QColor kSunrise(240, 125, 0);
const QColor kSunset(194, 24, 91);
const QColor kCulmination(120, 90, 0);
const QColor kLengthFill(245, 197, 66);
const QColor kLengthLine(170, 120, 0);
const QColor kElevation(46, 125, 50);
const QColor kPanelBack(244, 244, 244);
const QColor kGrid(128, 128, 128, 110);
const QColor kInk(33, 33, 33);

constexpr int kLeft = 78, kRight = 28, kTop = 118, kBottom = 30, kGap = 52;
constexpr int kShowPointsUpTo = 62;    // days; a short span gets a dot a day
constexpr double kYearLabelRoom = 40;  // pixels between labelled years, at least
constexpr double kDaysAYear = 365.2425;

QFont Font(int pixels, bool bold = false) {
  QFont f("DejaVu Sans");
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Maps columns (a day each, or a pixel each for long spans) and values into one panel.
struct Frame {
  QRectF area;
  int columns;
  double low, high;
  // Whole pixels, so that neighbouring columns meet without a seam.
  double ColumnLeft(int i) const { return std::round(area.left() + area.width() * i / columns); }
  double X(int i) const { return area.left() + area.width() * (i + 0.5) / columns; }
  double Y(double v) const { return area.bottom() - (v - low) / (high - low) * area.height(); }
  QRectF Column(int i, double from, double to) const {
    return QRectF(QPointF(ColumnLeft(i), Y(to)), QPointF(ColumnLeft(i + 1), Y(from)));
  }
};

void YAxis(QPainter& p, const Frame& f, double step, const std::function<QString(double)>& label) {
  p.setFont(Font(12));
  for (double v = f.low; v <= f.high + 1e-9; v += step) {
    const double y = f.Y(v);
    p.setPen(QPen(kGrid, 1));
    p.drawLine(QPointF(f.area.left(), y), QPointF(f.area.right(), y));
    p.setPen(kInk);
    p.drawText(QRectF(0, y - 9, f.area.left() - 8, 18), Qt::AlignRight | Qt::AlignVCenter,
               label(v));
  }
}

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Every year, or every 2, 5, 10, 20, 50... years, as far apart as a label needs.
int YearStep(int days, double width) {
  const double pixels_a_year = width * kDaysAYear / days;
  for (int step = 1;; step *= 10) {
    for (const int m : {1, 2, 5}) {
      if (m * step * pixels_a_year >= kYearLabelRoom) return m * step;
    }
  }
}

// Grid lines at the starts of months (or years, or days for short spans), labelled under the
// panel.
void XAxis(QPainter& p, const Frame& f, const ChartDays& days) {
  const int n = days.Days();
  const bool by_year = n > 800, by_day = n <= kShowPointsUpTo;
  const int year_step = by_year ? YearStep(n, f.area.width()) : 1;
  std::vector<std::pair<int, Day>> ticks;
  for (int i = 0; i < f.columns; ++i) {
    const ChartColumn& c = days.Columns()[i];
    std::optional<Day> start = by_day ? c.date : by_year ? c.year_start : c.month_start;
    if (by_year && start && static_cast<int>(start->year()) % year_step != 0) start.reset();
    if (start || i == 0) ticks.emplace_back(i, start.value_or(c.date));
  }
  p.setFont(Font(12));
  const QFontMetrics metrics(p.font());
  const int every =
      by_day ? std::max(1, static_cast<int>(std::ceil(n * 46.0 / f.area.width()))) : 1;
  for (std::size_t t = 0; t < ticks.size(); ++t) {
    const auto [i, d] = ticks[t];
    const int next = t + 1 < ticks.size() ? ticks[t + 1].first : f.columns;
    const double x = by_day ? f.X(i) : f.ColumnLeft(i);
    if ((i > 0 || by_day) && !(by_day && i % every != 0)) {
      p.setPen(QPen(kGrid, 1));
      p.drawLine(QPointF(x, f.area.top()), QPointF(x, f.area.bottom()));
    }
    if (by_day && i % every != 0) continue;
    QString label;
    if (by_day) {
      label = QString::asprintf("%02u-%02u", static_cast<unsigned>(d.day()),
                                static_cast<unsigned>(d.month()));
    } else if (by_year) {
      label = QString::number(static_cast<int>(d.year()));
    } else {
      label = kMonths[static_cast<unsigned>(d.month()) - 1];
      if (d.month() == std::chrono::January && n > 366)
        label += " " + QString::number(static_cast<int>(d.year()));
    }
    const double left = by_day ? f.X(i) - 30 : x;
    const double width = by_day ? 60 : f.ColumnLeft(next) - x;
    if (metrics.horizontalAdvance(label) > width + 4) continue;
    p.setPen(kInk);
    p.drawText(QRectF(left, f.area.bottom() + 3, width, 18), Qt::AlignHCenter | Qt::AlignTop,
               label);
  }
}

void PanelTitle(QPainter& p, const Frame& f, const QString& title) {
  p.setFont(Font(14, true));
  p.setPen(kInk);
  p.drawText(QPointF(f.area.left(), f.area.top() - 9), title);
}

// More days than pixel columns: each column's runs as first, least, greatest and last value, so
// that a path has a few points a column however many days the chart spans.
QPainterPath CurvePath(const Frame& f, const ChartCurve& curve) {
  QPainterPath path;
  for (const ColumnRun& run : curve.Runs()) {
    const double x = f.X(run.column);
    run.joined ? path.lineTo(x, f.Y(run.first)) : path.moveTo(x, f.Y(run.first));
    if (run.low == run.high) continue;  // one value, or a day a column
    for (const double v : {run.low, run.high, run.last}) path.lineTo(x, f.Y(v));
  }
  return path;
}

void Curve(QPainter& p, const Frame& f, const ChartCurve& curve, const QPen& pen) {
  const QPainterPath path = CurvePath(f, curve);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  if (f.columns <= kShowPointsUpTo) {
    p.setBrush(pen.color());
    for (const ColumnRun& run : curve.Runs())
      p.drawEllipse(QPointF(f.X(run.column), f.Y(run.first)), 3.0, 3.0);
  }
}

// Runs of polar days or nights wide enough to carry a word.
void PolarLabels(QPainter& p, const Frame& f, const std::vector<ChartColumn>& columns) {
  p.setFont(Font(13, true));
  const auto same = [](const ChartColumn& a, const ChartColumn& b) {
    return a.status == b.status && a.one_status == b.one_status;
  };
  for (int i = 0; i < f.columns;) {
    int end = i + 1;
    while (end < f.columns && same(columns[end], columns[i])) ++end;
    const QRectF band(QPointF(f.ColumnLeft(i), f.area.top()),
                      QPointF(f.ColumnLeft(end), f.area.bottom()));
    const SunOutcome s = columns[i].status;
    if (columns[i].one_status && (s == SunOutcome::NoSunset || s == SunOutcome::NoSunrise) &&
        band.width() >= 70) {
      const bool day = s == SunOutcome::NoSunset;
      p.setPen(day ? kInk : QColor(Qt::white));
      p.drawText(band, Qt::AlignCenter,
                 day ? "polar day\nsun up\nall day" : "polar night\nsun down\nall day");
    }
    i = end;
  }
}

// The hours of column i that `band` fills.
void FillHours(QPainter& p, const Frame& f, int i, const HourBand& band, const QColor& colour) {
  if (band.all_day) {
    p.fillRect(f.Column(i, 0, 24), colour);
    return;
  }
  if (band.within) p.fillRect(f.Column(i, band.within->first, band.within->second), colour);
  if (band.across) {
    p.fillRect(f.Column(i, band.across->first, 24), colour);
    p.fillRect(f.Column(i, 0, band.across->second), colour);
  }
}

void TimesPanel(QPainter& p, const Frame& f, const ChartDays& days, const std::string& clock) {
  p.fillRect(f.area, kNight);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int i = 0; i < f.columns; ++i) {
    // The twilight band lies under the daylight.
    FillHours(p, f, i, days.Columns()[i].twilight, kTwilight);
    FillHours(p, f, i, days.Columns()[i].daylight, kDaylight);
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  YAxis(p, f, 3, [](double v) { return QString::asprintf("%02d:00", static_cast<int>(v)); });
  XAxis(p, f, days);
  Curve(p, f, days.Culmination(), QPen(kCulmination, 2, Qt::DashLine));
  Curve(p, f, days.Sunrise(), QPen(kSunrise, 3));
  Curve(p, f, days.Sunset(), QPen(kSunset, 3));
  PolarLabels(p, f, days.Columns());
  PanelTitle(p, f, "Sunrise, culmination and sunset: time of day, " + Q(clock));
}

void DayLengthPanel(QPainter& p, const Frame& f, const ChartDays& days) {
  p.fillRect(f.area, kPanelBack);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int i = 0; i < f.columns; ++i) {
    const std::optional<double> longest = days.Columns()[i].longest_day;
    if (longest) p.fillRect(f.Column(i, 0, *longest), kLengthFill);
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  YAxis(p, f, 6, [](double v) { return QString::asprintf("%d h", static_cast<int>(v)); });
  XAxis(p, f, days);
  Curve(p, f, days.DayLength(), QPen(kLengthLine, 2));
  PanelTitle(p, f, "Day length (hours)");
}

// The computation stops before the culmination on most polar days and nights: say so in the gap.
void GapNotes(QPainter& p, const Frame& f, const std::vector<ChartColumn>& columns) {
  p.setFont(Font(12));
  p.setPen(QColor(110, 110, 110));
  for (int i = 0; i < f.columns;) {
    int end = i;
    while (end < f.columns && !columns[end].elevation_known) ++end;
    const QRectF gap(QPointF(f.ColumnLeft(i), f.area.top()),
                     QPointF(f.ColumnLeft(end), f.area.bottom()));
    if (end > i && gap.width() >= 90) {
      const bool day = columns[(i + end) / 2].status == SunOutcome::NoSunset;
      p.drawText(gap, Qt::AlignCenter,
                 day ? "not computed\non polar days" : "not computed\non polar nights");
    }
    i = std::max(end, i + 1);
  }
}

void ElevationPanel(QPainter& p, Frame f, const ChartDays& days) {
  p.fillRect(f.area, kPanelBack);
  for (const ColumnRun& run : days.Elevation().Runs())
    f.low = std::min(f.low, std::floor(run.low / 30) * 30);
  YAxis(p, f, 30, [](double v) { return QString::asprintf("%d\u00B0", static_cast<int>(v)); });
  XAxis(p, f, days);
  Curve(p, f, days.Elevation(), QPen(kElevation, 3));
  GapNotes(p, f, days.Columns());
  PanelTitle(p, f, "Sun's elevation at culmination (degrees)");
}

void Legend(QPainter& p, int y, bool twilight) {
  struct Item {
    const char* text;
    QColor color;
    bool box;
    Qt::PenStyle style;
  };
  const Item items[] = {{"Sunrise", kSunrise, false, Qt::SolidLine},
                        {"Sunset", kSunset, false, Qt::SolidLine},
                        {"Culmination", kCulmination, false, Qt::DashLine},
                        {"Daylight", kDaylight, true, Qt::SolidLine},
                        {"Twilight", kTwilight, true, Qt::SolidLine},
                        {"Night", kNight, true, Qt::SolidLine}};
  p.setFont(Font(13));
  const QFontMetrics metrics(p.font());
  int x = kLeft;
  for (const Item& item : items) {
    if (item.color == kTwilight && !twilight) continue;
    if (item.box) {
      p.setPen(QPen(kInk, 1));
      p.setBrush(item.color);
      p.drawRect(QRect(x, y - 7, 26, 14));
    } else {
      p.setPen(QPen(item.color, 3, item.style));
      p.drawLine(x, y, x + 26, y);
    }
    p.setPen(kInk);
    p.drawText(QPoint(x + 32, y + 5), item.text);
    x += 32 + metrics.horizontalAdvance(item.text) + 24;
  }
}

}  // namespace

ChartPanels ChartLayout(QSize size) {
  const int width = size.width() - kLeft - kRight;
  const int room = size.height() - kTop - kBottom - 2 * kGap;
  const int times = room / 2, length = room / 4, elevation = room - times - length;
  ChartPanels panels;
  panels.times = QRect(kLeft, kTop, width, times);
  panels.day_length = QRect(kLeft, panels.times.bottom() + 1 + kGap, width, length);
  panels.elevation = QRect(kLeft, panels.day_length.bottom() + 1 + kGap, width, elevation);
  return panels;
}

QPainterPath CurveThrough(const QRectF& area, const std::vector<std::optional<double>>& values,
                          double low, double high, double jump) {
  const int days = static_cast<int>(values.size()), width = static_cast<int>(area.width());
  const bool by_column = days > width;
  ChartCurve curve(jump);
  for (int i = 0; i < days; ++i)
    curve.Add(by_column ? static_cast<int>(area.width() * i / days) : i, values[i]);
  return CurvePath(Frame{area, by_column ? width : days, low, high}, curve);
}

QImage DrawDaylightChart(const ChartDays& days, const ChartText& text, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  p.setPen(kInk);
  p.setFont(Font(20, true));
  p.drawText(QPointF(kLeft, 32), Q(text.title));
  p.setFont(Font(14));
  p.drawText(QPointF(kLeft, 56), Q(text.subtitle));
  Legend(p, 80, days.HasTwilight());
  if (days.Columns().empty()) return image;

  const ChartPanels panels = ChartLayout(size);
  const int n = static_cast<int>(days.Columns().size());
  TimesPanel(p, Frame{panels.times, n, 0, 24}, days, text.clock_name);
  DayLengthPanel(p, Frame{panels.day_length, n, 0, 24}, days);
  ElevationPanel(p, Frame{panels.elevation, n, 0, 90}, days);
  for (const QRect& r : {panels.times, panels.day_length, panels.elevation}) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
  }
  return image;
}

QImage DrawDaylightChart(const std::vector<SunRow>& rows, const ChartText& text, QSize size) {
  ChartDays days(static_cast<int>(rows.size()), ChartLayout(size).times.width());
  for (const SunRow& row : rows) days.Add(row);
  return DrawDaylightChart(days, text, size);
}

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
