#include "cli/chart/chart_days.h"

#include <algorithm>
#include <cmath>

namespace orvalin {
namespace {

// How far a value may move from one day to the next and still be joined by the curve.
constexpr double kTimeJump = 12;  // hours: a time crossing midnight breaks the line
constexpr double kLengthJump = 24;
constexpr double kElevationJump = 180;

// Breaks beyond these in one column (a status changing every day) merge into its last run.
constexpr int kRunsPerColumn = 4;

int TrailingZeros(int year) {
  int zeros = 0;
  for (; year != 0 && year % 10 == 0; year /= 10) ++zeros;
  return zeros;
}

std::optional<double> Hours(const EventTime& e) {
  return e.known ? std::optional<double>(e.local.hours) : std::nullopt;
}

// A day's stretches as one band: all day, one stretch within the day, or one across midnight
// when the day starts and ends in light (a brief dip between is drawn as light).
void AddStretches(HourBand& band, const std::vector<Stretch>& stretches) {
  if (stretches.empty()) return;
  const Stretch& first = stretches.front();
  const Stretch& last = stretches.back();
  if (first.from <= 0 && last.to >= 24) {
    if (stretches.size() == 1) {
      band.all_day = true;
    } else {
      band.Add(last.from, first.to);
    }
    return;
  }
  band.Add(first.from, last.to);
}

}  // namespace

void ColumnRun::Add(double v) {
  low = std::min(low, v), high = std::max(high, v);
  last = v;
}

void ChartCurve::Add(int column, const std::optional<double>& value) {
  const bool joined = value && previous_ && std::abs(*value - *previous_) <= jump_;
  previous_ = value;
  if (!value) return;
  const bool same_column = !runs_.empty() && runs_.back().column == column;
  if (same_column && (joined || runs_in_column_ >= kRunsPerColumn)) {
    runs_.back().Add(*value);
    return;
  }
  runs_in_column_ = same_column ? runs_in_column_ + 1 : 1;
  runs_.push_back({column, joined, *value, *value, *value, *value});
}

void HourBand::Add(double from, double to) {
  auto& band = to >= from ? within : across;
  band = band ? std::pair(std::min(band->first, from), std::max(band->second, to))
              : std::pair(from, to);
}

ChartDays::ChartDays(int days, int columns)
    : days_(days),
      width_(columns),
      sunrise_(kTimeJump),
      culmination_(kTimeJump),
      sunset_(kTimeJump),
      day_length_(kLengthJump),
      elevation_(kElevationJump) {}

int ChartDays::ColumnOf(int day) const {
  if (days_ <= width_) return day;
  return std::min(width_ - 1, static_cast<int>(static_cast<double>(width_) * day / days_));
}

void ChartDays::Add(const SunRow& row) {
  const int column = ColumnOf(added_++);
  if (static_cast<int>(columns_.size()) <= column) {
    columns_.emplace_back();
    columns_.back().date = row.date;
    columns_.back().status = row.status;
  }
  ChartColumn& c = columns_.back();
  using std::chrono::January, std::chrono::day;
  if (!c.month_start && row.date.day() == day{1}) c.month_start = row.date;
  const auto year = [](Day d) { return static_cast<int>(d.year()); };
  if (row.date.day() == day{1} && row.date.month() == January &&
      (!c.year_start || TrailingZeros(year(row.date)) > TrailingZeros(year(*c.year_start))))
    c.year_start = row.date;
  c.one_status = c.one_status && row.status == c.status;

  AddStretches(c.twilight, row.twilight_light);
  AddStretches(c.daylight, row.daylight);
  twilight_ =
      twilight_ || row.dawn.known || row.dusk.known || row.twilight_status == SunOutcome::NoSunset;

  if (row.day_length_known) c.longest_day = std::max(c.longest_day.value_or(0), row.day_length);
  c.elevation_known = c.elevation_known || row.elevation.known;
  sunrise_.Add(column, Hours(row.sunrise));
  culmination_.Add(column, Hours(row.culmination));
  sunset_.Add(column, Hours(row.sunset));
  day_length_.Add(column, row.day_length_known ? std::optional(row.day_length) : std::nullopt);
  elevation_.Add(column, row.elevation.known ? std::optional(row.elevation.degrees) : std::nullopt);
}

}  // namespace orvalin
