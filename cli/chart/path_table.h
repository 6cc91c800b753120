// The sun's path over a day: where it stands every few minutes, in text, CSV or JSON, and drawn
// as elevation against azimuth.
#pragma once

#include <QImage>
#include <ostream>
#include <vector>

#include "cli/table/sun_moments.h"
#include "cli/table/table_format.h"

namespace orvalin {

struct PathPoint {
  LocalTime time;                                 // on the table's clock
  double azimuth, elevation, apparent_elevation;  // degrees
  bool up;                                        // above the horizon altitude in use
  std::optional<MoonSeen> moon;                   // when the moon is asked for
};

// One point every `minutes` from the day's first moment on the clock to its last; none for a
// day the clock skipped. With `settings.moon`, the moon at each point too.
std::vector<PathPoint> SunPathOfDay(const TablePlace& place, Day day, const Clock& clock,
                                    int minutes, const SunSettings& settings);

// Paths written as they are computed, a day's points at a time: memory stays that of a day over
// any span.
class PathWriter {
 public:
  PathWriter(std::ostream& out, const TableStyle& style) : out_(out), style_(style) {}
  void BeginPlace(const TablePlace& place, const Clock& clock);
  void Points(const std::vector<PathPoint>& points);
  void End();

 private:
  void EndPlace();
  void MoonCells(const PathPoint& p);

  std::ostream& out_;
  const TableStyle& style_;
  const TablePlace* place_ = nullptr;
  const Clock* clock_ = nullptr;
  SunRow moon_row_;  // a point's moon, for the table's columns of the moon at a time of day
  int places_ = 0;
  long long points_ = 0;  // of the current place
};

// Elevation against azimuth, the whole hours of the clock marked. Needs a ChartApplication.
QImage DrawPathChart(const std::vector<PathPoint>& points, const std::string& title,
                     const std::string& subtitle);

}  // namespace orvalin
