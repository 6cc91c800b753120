// What a daylight chart keeps of its days: every day while the days fit the panels' pixel
// columns, one summary a pixel column beyond, so that a chart of ten thousand years holds no
// more than a chart of three.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "cli/table/sun_table.h"

namespace orvalin {

// The days of one column that a curve passes through without a break: drawn as the first, least,
// greatest and last value.
struct ColumnRun {
  int column = 0;
  bool joined = false;  // continues the run before it
  double first = 0, low = 0, high = 0, last = 0;

  void Add(double v);
};

// One curve's runs, a value at a time; broken where a value is missing or jumps by more than
// `jump` (a time crossing midnight).
class ChartCurve {
 public:
  explicit ChartCurve(double jump) : jump_(jump) {}
  void Add(int column, const std::optional<double>& value);
  const std::vector<ColumnRun>& Runs() const { return runs_; }

 private:
  double jump_;
  std::optional<double> previous_;
  int runs_in_column_ = 0;
  std::vector<ColumnRun> runs_;
};

// The hours some days of a column are filled: those within a day, and those across midnight
// (from `from` to 24 and from 0 to `to`).
struct HourBand {
  bool all_day = false;
  std::optional<std::pair<double, double>> within, across;

  void Add(double from, double to);
};

struct ChartColumn {
  Day date;  // its first day
  // Its day that starts the roundest year (most trailing zeros, the first on a tie), so that
  // labels every 10 or 500 years find theirs; its first day that starts a month.
  std::optional<Day> year_start, month_start;
  SunOutcome status = SunOutcome::Complete;  // of its first day
  bool one_status = true;                    // every day of it has that status
  HourBand twilight, daylight;
  std::optional<double> longest_day;  // hours
  bool elevation_known = false;       // on some day of it
};

class ChartDays {
 public:
  // `days` rows will be added, drawn `columns` pixels wide. No default constructor, so that a
  // chart of `{}` stays a chart of no rows.
  ChartDays(int days, int columns);
  void Add(const SunRow& row);

  int Days() const { return added_; }
  const std::vector<ChartColumn>& Columns() const { return columns_; }
  bool HasTwilight() const { return twilight_; }
  const ChartCurve& Sunrise() const { return sunrise_; }
  const ChartCurve& Culmination() const { return culmination_; }
  const ChartCurve& Sunset() const { return sunset_; }
  const ChartCurve& DayLength() const { return day_length_; }
  const ChartCurve& Elevation() const { return elevation_; }

 private:
  int ColumnOf(int day) const;

  int days_, width_, added_ = 0;
  std::vector<ChartColumn> columns_;
  bool twilight_ = false;
  ChartCurve sunrise_, culmination_, sunset_, day_length_, elevation_;
};

}  // namespace orvalin
