#include "cli/daylight_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "cli/tool_errors.h"

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
constexpr int kShowPointsUpTo = 62;  // days; a short span gets a dot a day

QFont Font(int pixels, bool bold = false) {
  QFont f("DejaVu Sans");
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Maps day indexes and values into one panel.
struct Frame {
  QRectF area;
  int days;
  double low, high;
  // Whole pixels, so that neighbouring columns meet without a seam.
  double ColumnLeft(int i) const { return std::round(area.left() + area.width() * i / days); }
  double X(int i) const { return area.left() + area.width() * (i + 0.5) / days; }
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

// Grid lines at the starts of months (or years, or days for short spans), labelled under the
// panel.
void XAxis(QPainter& p, const Frame& f, const std::vector<SunRow>& rows) {
  const int n = f.days;
  const bool by_year = n > 800, by_day = n <= kShowPointsUpTo;
  std::vector<int> ticks;
  for (int i = 0; i < n; ++i) {
    const Day d = rows[i].date;
    const bool start = by_day ? true
                       : by_year
                           ? (d.month() == std::chrono::January && d.day() == std::chrono::day{1})
                           : d.day() == std::chrono::day{1};
    if (start || i == 0) ticks.push_back(i);
  }
  p.setFont(Font(12));
  const QFontMetrics metrics(p.font());
  const int every =
      by_day ? std::max(1, static_cast<int>(std::ceil(n * 46.0 / f.area.width()))) : 1;
  for (std::size_t t = 0; t < ticks.size(); ++t) {
    const int i = ticks[t];
    const int next = t + 1 < ticks.size() ? ticks[t + 1] : n;
    const double x = by_day ? f.X(i) : f.ColumnLeft(i);
    if ((i > 0 || by_day) && !(by_day && i % every != 0)) {
      p.setPen(QPen(kGrid, 1));
      p.drawLine(QPointF(x, f.area.top()), QPointF(x, f.area.bottom()));
    }
    if (by_day && i % every != 0) continue;
    const Day d = rows[i].date;
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

// The days of one pixel column that a curve passes through without a break: drawn as the
// column's least and greatest value, so that a path has a few points a column however many days
// the chart spans.
struct ColumnRun {
  int column = -1;
  bool joined = false;  // continues the run of the column before
  double first = 0, low = 0, high = 0, last = 0;

  void Start(int c, double v, bool join) { *this = {c, join, v, v, v, v}; }
  void Add(double v) {
    low = std::min(low, v), high = std::max(high, v);
    last = v;
  }
  void AddTo(QPainterPath& path, const Frame& f) const {
    if (column < 0) return;
    const double x = f.area.left() + column + 0.5;
    if (joined) {
      path.lineTo(x, f.Y(first));
    } else {
      path.moveTo(x, f.Y(first));
    }
    for (const double v : {low, high, last}) path.lineTo(x, f.Y(v));
  }
};

// One line through the days that have a value; broken where a value is missing or jumps by more
// than `jump` (a time crossing midnight). More days than pixel columns: min and max per column.
QPainterPath CurvePath(const Frame& f, const std::vector<std::optional<double>>& values,
                       double jump) {
  QPainterPath path;
  const bool by_column = f.days > static_cast<int>(f.area.width());
  ColumnRun run;
  std::optional<double> previous;
  for (int i = 0; i < f.days; ++i) {
    const auto& v = values[i];
    const bool joined = v && previous && std::abs(*v - *previous) <= jump;
    previous = v;
    if (!by_column) {
      if (v) joined ? path.lineTo(f.X(i), f.Y(*v)) : path.moveTo(f.X(i), f.Y(*v));
      continue;
    }
    const int column = static_cast<int>(f.area.width() * i / f.days);
    if (joined && column == run.column) {
      run.Add(*v);
      continue;
    }
    run.AddTo(path, f);
    run = ColumnRun{};
    if (v) run.Start(column, *v, joined);
  }
  run.AddTo(path, f);
  return path;
}

void Curve(QPainter& p, const Frame& f, const std::vector<std::optional<double>>& values,
           const QPen& pen, double jump) {
  const QPainterPath path = CurvePath(f, values, jump);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  if (f.days <= kShowPointsUpTo) {
    p.setBrush(pen.color());
    for (int i = 0; i < f.days; ++i) {
      if (values[i]) p.drawEllipse(QPointF(f.X(i), f.Y(*values[i])), 3.0, 3.0);
    }
  }
}

std::optional<double> Hours(const EventTime& e) {
  return e.known ? std::optional<double>(e.local.hours) : std::nullopt;
}

// Runs of polar days or nights wide enough to carry a word.
void PolarLabels(QPainter& p, const Frame& f, const std::vector<SunRow>& rows) {
  p.setFont(Font(13, true));
  for (int i = 0; i < f.days;) {
    const SunOutcome s = rows[i].status;
    int end = i + 1;
    while (end < f.days && rows[end].status == s) ++end;
    const QRectF band(QPointF(f.ColumnLeft(i), f.area.top()),
                      QPointF(f.ColumnLeft(end), f.area.bottom()));
    if ((s == SunOutcome::NoSunset || s == SunOutcome::NoSunrise) && band.width() >= 70) {
      const bool day = s == SunOutcome::NoSunset;
      p.setPen(day ? kInk : QColor(Qt::white));
      p.drawText(band, Qt::AlignCenter,
                 day ? "polar day\nsun up\nall day" : "polar night\nsun down\nall day");
    }
    i = end;
  }
}

// From `from` to `to` hours of day i, across midnight when `to` comes first.
void FillHours(QPainter& p, const Frame& f, int i, double from, double to, const QColor& colour) {
  if (to >= from) {
    p.fillRect(f.Column(i, from, to), colour);
  } else {
    p.fillRect(f.Column(i, from, 24), colour);
    p.fillRect(f.Column(i, 0, to), colour);
  }
}

// The twilight band lies under the daylight: from dawn to dusk, or all day when the sun never
// goes below the twilight's altitude.
void TwilightBand(QPainter& p, const Frame& f, int i, const SunRow& r) {
  if (r.twilight_status == SunOutcome::NoSunset) {
    p.fillRect(f.Column(i, 0, 24), kTwilight);
  } else if (r.dawn.known && r.dusk.known) {
    FillHours(p, f, i, r.dawn.local.hours, r.dusk.local.hours, kTwilight);
  }
}

void TimesPanel(QPainter& p, const Frame& f, const std::vector<SunRow>& rows,
                const std::string& clock) {
  p.fillRect(f.area, kNight);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int i = 0; i < f.days; ++i) {
    const SunRow& r = rows[i];
    TwilightBand(p, f, i, r);
    if (r.status == SunOutcome::NoSunset) {
      p.fillRect(f.Column(i, 0, 24), kDaylight);
    } else if (r.status == SunOutcome::Complete && r.sunrise.known && r.sunset.known) {
      FillHours(p, f, i, r.sunrise.local.hours, r.sunset.local.hours, kDaylight);
    }
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  YAxis(p, f, 3, [](double v) { return QString::asprintf("%02d:00", static_cast<int>(v)); });
  XAxis(p, f, rows);
  std::vector<std::optional<double>> rise, noon, set;
  for (const SunRow& r : rows) {
    rise.push_back(Hours(r.sunrise));
    noon.push_back(Hours(r.culmination));
    set.push_back(Hours(r.sunset));
  }
  Curve(p, f, noon, QPen(kCulmination, 2, Qt::DashLine), 12);
  Curve(p, f, rise, QPen(kSunrise, 3), 12);
  Curve(p, f, set, QPen(kSunset, 3), 12);
  PolarLabels(p, f, rows);
  PanelTitle(p, f, "Sunrise, culmination and sunset: time of day, " + Q(clock));
}

void DayLengthPanel(QPainter& p, const Frame& f, const std::vector<SunRow>& rows) {
  p.fillRect(f.area, kPanelBack);
  std::vector<std::optional<double>> length;
  for (int i = 0; i < f.days; ++i) {
    const SunRow& r = rows[i];
    length.push_back(r.day_length_known ? std::optional<double>(r.day_length) : std::nullopt);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (r.day_length_known) p.fillRect(f.Column(i, 0, r.day_length), kLengthFill);
    p.setRenderHint(QPainter::Antialiasing, true);
  }
  YAxis(p, f, 6, [](double v) { return QString::asprintf("%d h", static_cast<int>(v)); });
  XAxis(p, f, rows);
  Curve(p, f, length, QPen(kLengthLine, 2), 24);
  PanelTitle(p, f, "Day length (hours)");
}

// The computation stops before the culmination on most polar days and nights: say so in the gap.
void GapNotes(QPainter& p, const Frame& f, const std::vector<SunRow>& rows) {
  p.setFont(Font(12));
  p.setPen(QColor(110, 110, 110));
  for (int i = 0; i < f.days;) {
    int end = i;
    while (end < f.days && !rows[end].elevation.known) ++end;
    const QRectF gap(QPointF(f.ColumnLeft(i), f.area.top()),
                     QPointF(f.ColumnLeft(end), f.area.bottom()));
    if (end > i && gap.width() >= 90) {
      const bool day = rows[(i + end) / 2].status == SunOutcome::NoSunset;
      p.drawText(gap, Qt::AlignCenter,
                 day ? "not computed\non polar days" : "not computed\non polar nights");
    }
    i = std::max(end, i + 1);
  }
}

void ElevationPanel(QPainter& p, Frame f, const std::vector<SunRow>& rows) {
  p.fillRect(f.area, kPanelBack);
  std::vector<std::optional<double>> elevation;
  for (const SunRow& r : rows) {
    elevation.push_back(r.elevation.known ? std::optional<double>(r.elevation.degrees)
                                          : std::nullopt);
    if (r.elevation.known) f.low = std::min(f.low, std::floor(r.elevation.degrees / 30) * 30);
  }
  YAxis(p, f, 30, [](double v) { return QString::asprintf("%d\u00B0", static_cast<int>(v)); });
  XAxis(p, f, rows);
  Curve(p, f, elevation, QPen(kElevation, 3), 180);
  GapNotes(p, f, rows);
  PanelTitle(p, f, "Sun's elevation at culmination (degrees)");
}

bool HasTwilight(const std::vector<SunRow>& rows) {
  return std::any_of(rows.begin(), rows.end(), [](const SunRow& r) {
    return r.dawn.known || r.dusk.known || r.twilight_status == SunOutcome::NoSunset;
  });
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
  return CurvePath(Frame{area, static_cast<int>(values.size()), low, high}, values, jump);
}

QImage DrawDaylightChart(const std::vector<SunRow>& rows, const ChartText& text, QSize size) {
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
  Legend(p, 80, HasTwilight(rows));
  if (rows.empty()) return image;

  const ChartPanels panels = ChartLayout(size);
  const int n = static_cast<int>(rows.size());
  TimesPanel(p, Frame{panels.times, n, 0, 24}, rows, text.clock_name);
  DayLengthPanel(p, Frame{panels.day_length, n, 0, 24}, rows);
  ElevationPanel(p, Frame{panels.elevation, n, 0, 90}, rows);
  for (const QRect& r : {panels.times, panels.day_length, panels.elevation}) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
  }
  return image;
}

void SaveChartPng(const QImage& image, const std::string& path) {
  if (!image.save(Q(path), "PNG")) throw ToolFailure(path + ": the chart cannot be written");
}

}  // namespace orvalin
