#include "cli/clock.h"

#include <QByteArray>
#include <QDateTime>
#include <cmath>
#include <limits>

namespace orvalin {

Clock Clock::Universal() { return Clock(Kind::Universal, 0, QTimeZone()); }

Clock Clock::Gmt(int hours) { return Clock(Kind::Gmt, hours, QTimeZone()); }

namespace {

constexpr std::string_view kSystemZone = "local";
constexpr qint64 kMsPerDay = 86'400'000;

}  // namespace

std::optional<Clock> Clock::Zone(std::string_view id) {
  if (id == kSystemZone) return Clock(Kind::Zone, 0, QTimeZone::systemTimeZone());
  const QByteArray name(id.data(), static_cast<qsizetype>(id.size()));
  // Qt lists only the zone table's names as available, yet opens the database's links
  // ("US/Eastern", "Etc/UTC") when asked for them by name.
  if (id.empty()) return std::nullopt;
  const QTimeZone zone(name);
  if (!zone.isValid()) return std::nullopt;
  return Clock(Kind::Zone, 0, zone);
}

Clock::Clock(Kind kind, int hours, const QTimeZone& zone)
    : kind_(kind), hours_(hours), zone_(zone) {
  switch (kind_) {
    case Kind::Universal:
      name_ = "UT";
      break;
    case Kind::Gmt:
      name_ = (hours_ < 0 ? "GMT-" : "GMT+") + std::to_string(std::abs(hours_));
      break;
    case Kind::Zone:
      name_ = zone_.id().toStdString();
      break;
  }
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
        static_cast<qint64>(std::chrono::sys_days(day).time_since_epoch().count()) * kMsPerDay;
    offset_hours = ZoneOffsetSeconds(day_ms + std::llround(ut_hours * 3'600'000.0)) / 3600.0;
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

namespace orvalin {

namespace {

QDateTime UtcMoment(long long utc_ms) {
  return QDateTime::fromMSecsSinceEpoch(utc_ms, QTimeZone::utc());
}

}  // namespace

// The span after the current one, from the transition that ends it to the next.
void Clock::StepToNextTransition() const {
  span_.from_ms = span_.until_ms;
  span_.offset_seconds = span_.next_offset_seconds;
  const QTimeZone::OffsetData next = zone_.nextTransition(UtcMoment(span_.from_ms));
  span_.next_known = next.atUtc.isValid();
  span_.until_ms =
      span_.next_known ? next.atUtc.toMSecsSinceEpoch() : std::numeric_limits<long long>::max();
  span_.next_offset_seconds = next.offsetFromUtc;
}

int Clock::ZoneOffsetSeconds(long long utc_ms) const {
  if (utc_ms >= span_.from_ms && utc_ms < span_.until_ms) return span_.offset_seconds;
  // Days come in order: most questions past the span fall in the one after it.
  if (utc_ms >= span_.until_ms && span_.next_known) {
    StepToNextTransition();
    if (utc_ms < span_.until_ms) return span_.offset_seconds;
  }
  const QDateTime moment = UtcMoment(utc_ms);
  // No transition on a side: the offset holds for ever on that side.
  span_.from_ms = std::numeric_limits<long long>::min();
  span_.until_ms = std::numeric_limits<long long>::max();
  span_.next_known = false;
  if (!zone_.hasTransitions()) {
    span_.offset_seconds = zone_.offsetFromUtc(moment);
    return span_.offset_seconds;
  }
  const QTimeZone::OffsetData previous = zone_.previousTransition(moment.addMSecs(1));
  if (previous.atUtc.isValid()) {
    span_.from_ms = previous.atUtc.toMSecsSinceEpoch();
    span_.offset_seconds = previous.offsetFromUtc;
  } else {
    span_.offset_seconds = zone_.offsetFromUtc(moment);
  }
  const QTimeZone::OffsetData next = zone_.nextTransition(moment);
  span_.next_known = next.atUtc.isValid();
  if (span_.next_known) {
    span_.until_ms = next.atUtc.toMSecsSinceEpoch();
    span_.next_offset_seconds = next.offsetFromUtc;
  }
  return span_.offset_seconds;
}

}  // namespace orvalin
