// The sun's path over a day: where it stands every few minutes, in text, CSV or JSON, and drawn
// as elevation against azimuth.
#pragma once

#include <QImage>
#include <ostream>
#include <vector>

#include "cli/table_format.h"

namespace orvalin {

struct PathPoint {
  LocalTime time;                                 // on the table's clock
  double azimuth, elevation, apparent_elevation;  // degrees
  bool up;                                        // above the horizon altitude in use
};

// One point every `minutes` from the day's first moment on the clock to its last; none for a
// day the clock skipped.
std::vector<PathPoint> SunPathOfDay(const TablePlace& place, Day day, const Clock& clock,
                                    int minutes, const SunSettings& settings);

void WritePath(std::ostream& out, const TableStyle& style, const TablePlace& place,
               const Clock& clock, const std::vector<PathPoint>& points, bool first_place);
void EndPaths(std::ostream& out, const TableStyle& style, int places);

// Elevation against azimuth, the whole hours of the clock marked. Needs a ChartApplication.
QImage DrawPathChart(const std::vector<PathPoint>& points, const std::string& title,
                     const std::string& subtitle);

}  // namespace orvalin
