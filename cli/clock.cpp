#include "cli/clock.h"

#include <QByteArray>
#include <QDateTime>
#include <cmath>

namespace orvalin {

Clock Clock::Universal() { return Clock(Kind::Universal, 0, QTimeZone()); }

Clock Clock::Gmt(int hours) { return Clock(Kind::Gmt, hours, QTimeZone()); }

std::optional<Clock> Clock::Zone(std::string_view id) {
  const QByteArray name(id.data(), static_cast<qsizetype>(id.size()));
  // Qt also takes "UTC+05:00"-style ids; only names of the database carry daylight saving.
  if (id.empty() || !QTimeZone::isTimeZoneIdAvailable(name)) return std::nullopt;
  const QTimeZone zone(name);
  if (!zone.isValid()) return std::nullopt;
  return Clock(Kind::Zone, 0, zone);
}

std::string Clock::Name() const {
  switch (kind_) {
    case Kind::Universal:
      return "UT";
    case Kind::Gmt:
      return (hours_ < 0 ? "GMT-" : "GMT+") + std::to_string(std::abs(hours_));
    case Kind::Zone:
      return zone_.id().toStdString();
  }
  return {};
}

std::string Clock::Description() const {
  switch (kind_) {
    case Kind::Universal:
      return "universal time (UT)";
    case Kind::Gmt:
      return Name() + " (the place's offset, no daylight saving)";
    case Kind::Zone:
      return Name() + " local time (daylight saving included)";
  }
  return {};
}

LocalTime Clock::At(Day day, double ut_hours) const {
  double offset_hours = 0;
  if (kind_ == Kind::Gmt) {
    offset_hours = hours_;
  } else if (kind_ == Kind::Zone) {
    const qint64 day_ms =
        static_cast<qint64>(std::chrono::sys_days(day).time_since_epoch().count()) * 86'400'000;
    const auto moment = QDateTime::fromMSecsSinceEpoch(
        day_ms + std::llround(ut_hours * 3'600'000.0), QTimeZone::utc());
    offset_hours = zone_.offsetFromUtc(moment) / 3600.0;
  }
  LocalTime t{day, ut_hours, 0, static_cast<int>(std::lround(offset_hours * 3600))};
  if (offset_hours == 0) return t;
  t.hours = ut_hours + offset_hours;
  t.day_shift = static_cast<int>(std::floor(t.hours / 24));
  t.hours -= 24.0 * t.day_shift;
  if (t.day_shift != 0) t.date = Day{std::chrono::sys_days(day) + std::chrono::days{t.day_shift}};
  return t;
}

}  // namespace orvalin
