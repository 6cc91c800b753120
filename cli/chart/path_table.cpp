#include "cli/chart/path_table.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "cli/table/moon_day.h"
#include "cli/table/table_columns.h"
#include "common/escaped_text.h"
#include "common/out_text.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

constexpr int kDigits = 6;
constexpr int kTextDegrees = 2;
constexpr double kMinutesPerHour = 60;

std::string Deg(double v, int digits = kDigits) { return Decimal(v, digits); }

std::string Iso(const PathPoint& p) {
  return IsoTimestamp(p.time.date, p.time.hours, p.time.offset_seconds);
}

using table::Column;

// The table's columns of the moon at a time of day: a path gives them at each of its points.
bool IsMoonAtTime(const Column& c) {
  return (c.shown & table::kAt) != 0 && (c.shown & table::kMoon) != 0;
}

// The table's "at_moon_azimuth" is the path's "moon_azimuth_deg", as its "at_azimuth" is the
// path's "azimuth_deg": everything on a path is at its point's time.
std::string PathKey(const Column& c) {
  constexpr std::string_view kAtPrefix = "at_";
  std::string_view key = c.key;
  if (key.starts_with(kAtPrefix)) key.remove_prefix(kAtPrefix.size());
  return std::string(key) + std::string(table::IsPlain(c.kind) ? "" : table::CsvSuffix(c.kind));
}

// The moon's header cells after the sun's, each led by `separator`.
std::string MoonHeaders(const TableFormat format, std::string_view separator) {
  std::string headers;
  for (const Column& c : table::TableColumns()) {
    if (IsMoonAtTime(c))
      headers.append(separator).append(format == TableFormat::Text ? c.header : PathKey(c));
  }
  return headers;
}

// Degrees as the sun's beside them; the table's own text of a plain number.
std::string PathValue(const Column& c, const table::Cell& cell, int digits) {
  return c.kind == table::Kind::Degrees ? Deg(cell.number, digits) : cell.text;
}

}  // namespace

std::vector<PathPoint> SunPathOfDay(const TablePlace& place, Day day, const Clock& clock,
                                    int minutes, const SunSettings& settings) {
  std::vector<PathPoint> points;
  const std::optional<Clock::UtSpan> span = clock.DayInUt(day);
  if (!span) return points;
  const CivilDate date = CivilDateOf(day);
  const SunPath path(ObserverAt(place, settings.horizon), date);
  // One sky and one ephemeris a day: their setting up outweighs a point's.
  std::optional<MoonSky> moon;
  std::optional<MoonTables> tables;
  if (settings.moon) {
    moon.emplace(MoonObserverAt(place, settings.observer_metres), date);
    tables.emplace();
  }
  const double step = minutes / kMinutesPerHour;
  for (int k = 0;; ++k) {
    const double ut = span->from + k * step;
    if (ut >= span->to - 1e-9) break;
    const SunPosition p = path.PositionAt(ut);
    points.push_back({clock.AtHours(day, ut), p.azimuth, p.elevation,
                      ApparentElevation(p.elevation), p.elevation > settings.horizon,
                      moon ? std::optional(MoonSeenAt(*moon, date, ut, tables->phases)) : std::nullopt});
  }
  return points;
}

void PathWriter::BeginPlace(const TablePlace& place, const Clock& clock) {
  EndPlace();
  const bool first = places_++ == 0;
  place_ = &place;
  clock_ = &clock;
  points_ = 0;
  switch (style_.format) {
    case TableFormat::Text:
      if (!first) out_ << '\n';
      out_ << place.Label() << "\nTimes in " << clock.Description()
           << ".\nTrue azimuths; elevations geometric and as refraction shows them (10 \xC2\xB0"
           << "C, 1010 hPa), in degrees.\n\nDate        Time      Azimuth  Elevation  Apparent  "
              "Up"
           << (style_.sun.moon ? " " + MoonHeaders(style_.format, "  ") : "") << '\n';
      break;
    case TableFormat::Csv:
      if (first) {
        out_ << "place,time,azimuth_deg,elevation_deg,apparent_elevation_deg,up"
             << (style_.sun.moon ? MoonHeaders(style_.format, ",") : "") << '\n';
      }
      break;
    case TableFormat::Ics:  // refused before: a path has no events
      break;
    case TableFormat::Json:
      out_ << (first ? "{\"paths\": [\n" : ",\n") << "  {\"place\": " << JsonString(place.name)
           << ", \"clock\": " << JsonString(clock.Name()) << ", \"points\": [";
      break;
  }
}

void PathWriter::Points(const std::vector<PathPoint>& points) {
  for (const PathPoint& p : points) {
    switch (style_.format) {
      case TableFormat::Text: {
        const std::string az = Deg(p.azimuth, kTextDegrees), el = Deg(p.elevation, kTextDegrees),
                          ap = Deg(p.apparent_elevation, kTextDegrees);
        out_ << IsoDate(p.time.date) << "  " << ClockText(p.time.hours, false, true) << "  "
             << std::string(7 - std::min<std::size_t>(7, az.size()), ' ') << az << "  "
             << std::string(9 - std::min<std::size_t>(9, el.size()), ' ') << el << "  "
             << std::string(8 - std::min<std::size_t>(8, ap.size()), ' ') << ap << "  "
             << (p.up ? "yes" : p.moon ? "no " : "no");
        MoonCells(p);
        out_ << '\n';
        break;
      }
      case TableFormat::Csv:
        out_ << CsvCell(place_->name) << ',' << Iso(p) << ',' << Deg(p.azimuth) << ','
             << Deg(p.elevation) << ',' << Deg(p.apparent_elevation) << ','
             << (p.up ? "true" : "false");
        MoonCells(p);
        out_ << '\n';
        break;
      case TableFormat::Ics:
        break;
      case TableFormat::Json:
        out_ << (points_ == 0 ? "\n" : ",\n") << R"(    {"time": ")" << Iso(p)
             << R"(", "azimuth_deg": )" << Deg(p.azimuth)
             << ", \"elevation_deg\": " << Deg(p.elevation)
             << ", \"apparent_elevation_deg\": " << Deg(p.apparent_elevation)
             << ", \"up\": " << (p.up ? "true" : "false");
        MoonCells(p);
        out_ << "}";
        break;
    }
    ++points_;
  }
}

void PathWriter::MoonCells(const PathPoint& p) {
  if (!p.moon) return;
  SetMoonAt(moon_row_.moon, *p.moon);
  const table::Context context{moon_row_, *place_, *clock_, false};
  for (const Column& c : table::TableColumns()) {
    if (!IsMoonAtTime(c)) continue;
    const table::Cell cell = c.value(context);
    switch (style_.format) {
      case TableFormat::Text: {
        const std::string value = PathValue(c, cell, kTextDegrees);
        out_ << "  " << std::string(c.header.size() - std::min(c.header.size(), value.size()), ' ')
             << value;
        break;
      }
      case TableFormat::Csv:
        out_ << ',' << PathValue(c, cell, kDigits);
        break;
      case TableFormat::Ics:
        break;
      case TableFormat::Json:
        out_ << ", \"" << PathKey(c) << "\": " << PathValue(c, cell, kDigits);
        break;
    }
  }
}

void PathWriter::EndPlace() {
  if (place_ != nullptr && style_.format == TableFormat::Json) out_ << "]}";
  place_ = nullptr;
}

void PathWriter::End() {
  EndPlace();
  if (style_.format == TableFormat::Json) out_ << (places_ == 0 ? "{\"paths\": [" : "") << "\n]}\n";
}

QImage DrawPathChart(const std::vector<PathPoint>& points, const std::string& title,
                     const std::string& subtitle) {
  constexpr int kWidth = 1000, kHeight = 560, kLeft = 70, kRight = 30, kTop = 80, kBottom = 50;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF area(kLeft, kTop, kWidth - kLeft - kRight, kHeight - kTop - kBottom);
  double low = -10, high = 10;
  for (const PathPoint& q : points) {
    low = std::min(low, std::floor(q.elevation / 10) * 10);
    high = std::max(high, std::ceil(q.elevation / 10) * 10);
  }
  const auto x = [&](double az) { return area.left() + area.width() * az / 360; };
  const auto y = [&](double el) {
    return area.bottom() - area.height() * (el - low) / (high - low);
  };
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  p.setFont(font);
  p.setPen(QColor(128, 128, 128, 110));
  for (int az = 0; az <= 360; az += 45) {
    p.drawLine(QPointF(x(az), area.top()), QPointF(x(az), area.bottom()));
    p.drawText(QRectF(x(az) - 30, area.bottom() + 4, 60, 16), Qt::AlignCenter,
               QString::number(az) + "\u00B0");
  }
  for (double el = low; el <= high + 1e-9; el += 10) {
    p.drawLine(QPointF(area.left(), y(el)), QPointF(area.right(), y(el)));
    p.drawText(QRectF(0, y(el) - 8, kLeft - 8, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(el) + "\u00B0");
  }
  p.setPen(QPen(QColor(33, 33, 33), 1.5));
  p.drawLine(QPointF(area.left(), y(0)), QPointF(area.right(), y(0)));
  p.setPen(QPen(QColor(240, 125, 0), 2.5));
  for (std::size_t k = 1; k < points.size(); ++k) {
    // No line across north, where the azimuth turns from 360 to 0.
    if (std::fabs(points[k].azimuth - points[k - 1].azimuth) > 180) continue;
    p.drawLine(QPointF(x(points[k - 1].azimuth), y(points[k - 1].elevation)),
               QPointF(x(points[k].azimuth), y(points[k].elevation)));
  }
  p.setPen(QColor(33, 33, 33));
  for (const PathPoint& q : points) {
    const double minutes = q.time.hours * kMinutesPerHour;
    if (std::fabs(minutes - std::round(minutes / 60) * 60) > 1e-6) continue;  // whole hours only
    const QPointF at(x(q.azimuth), y(q.elevation));
    p.drawEllipse(at, 3, 3);
    p.drawText(QRectF(at.x() - 20, at.y() - 20, 40, 14), Qt::AlignCenter,
               QString::number(static_cast<int>(std::lround(q.time.hours)) % 24) + "h");
  }
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(kLeft, 10, area.width(), 28), Qt::AlignLeft, QString::fromStdString(title));
  font.setPixelSize(14);
  font.setBold(false);
  p.setFont(font);
  p.drawText(QRectF(kLeft, 40, area.width(), 22), Qt::AlignLeft, QString::fromStdString(subtitle));
  return image;
}

}  // namespace orvalin
