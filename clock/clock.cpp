#include "clock/clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/escaped_text.h"
#include "common/out_text.h"
#include "common/text.h"
#include "common/vector_registers.h"

namespace orvalin {

Clock Clock::Universal() { return Clock(Kind::Universal, 0, QTimeZone()); }

Clock Clock::Gmt(int hours) { return Clock(Kind::Gmt, hours, QTimeZone()); }

namespace {

constexpr std::string_view kSystemZone = "local";
constexpr std::string_view kUniversalZone = "UTC";
constexpr qint64 kMsPerDay = 86'400'000;
constexpr int kSecondsPerHour = 3600;
// Where the system keeps its zone database: the folders the time zone library reads.
constexpr const char* kZoneFolders[] = {"/usr/share/zoneinfo/", "/usr/lib/zoneinfo/"};
constexpr QByteArrayView kZoneFileMagic = "TZif";
constexpr std::size_t kLongestZoneName = 255;
// Files of the database that are no zones, wherever they lie in it: the system's own zone under
// its file's name ("local" says it), the rules POSIX TZ strings borrow, and the "-00" of a system
// whose zone was never set.
constexpr QByteArrayView kNotZones[] = {"localtime", "posixrules", "Factory"};
// Zones suggested for a name that is none, at most; and the edits allowed per so many letters
// typed, one at least and three at most: "Pariss" is one edit from Paris.
constexpr std::size_t kSuggestedZones = 3;
constexpr std::size_t kLettersPerEdit = 4;
constexpr std::size_t kMostEdits = 3;

// Letters, digits, "_", "-" and "+" in parts joined by "/": no part that leaves the database's
// folder or names a hidden file.
bool IsZoneName(std::string_view id) {
  if (id.empty() || id.size() > kLongestZoneName || id.front() == '/' || id.back() == '/') {
    return false;
  }
  for (std::size_t at = 0; at < id.size(); ++at) {
    const char c = id[at];
    const bool part_start = at == 0 || id[at - 1] == '/';
    const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '+';
    if (!(word || (c == '/' && !part_start)) || (part_start && c == '-')) return false;
  }
  return true;
}

// A zone file of the database: links and zones the table of zones leaves out count.
bool InZoneDatabase(const QByteArray& id) {
  if (QTimeZone::isTimeZoneIdAvailable(id)) return true;
  for (const char* folder : kZoneFolders) {
    QFile file(QString::fromLatin1(folder) + QString::fromLatin1(id));
    if (file.open(QIODevice::ReadOnly) && file.read(kZoneFileMagic.size()) == kZoneFileMagic) {
      return true;
    }
  }
  return false;
}

QByteArray LastPart(const QByteArray& id) { return id.mid(id.lastIndexOf('/') + 1); }

bool IsNoZone(const QByteArray& id) {
  return std::find(std::begin(kNotZones), std::end(kNotZones), LastPart(id)) != std::end(kNotZones);
}

std::size_t Edits(const QByteArray& a, const QByteArray& b, std::size_t limit) {
  return EditDistance(std::string_view(a.data(), static_cast<std::size_t>(a.size())),
                      std::string_view(b.data(), static_cast<std::size_t>(b.size())), limit);
}

}  // namespace

std::optional<Clock> Clock::Zone(std::string_view id) {
  if (id == kSystemZone) return Clock(Kind::Zone, 0, QTimeZone::systemTimeZone());
  const QByteArray name(id.data(), static_cast<qsizetype>(id.size()));
  if (id != kUniversalZone && !(IsZoneName(id) && !IsNoZone(name) && InZoneDatabase(name))) {
    return std::nullopt;
  }
  const QTimeZone zone(name);
  if (!zone.isValid()) return std::nullopt;
  return Clock(Kind::Zone, 0, zone);
}

std::vector<std::string> Clock::ZonesLike(std::string_view typed) {
  const QByteArray wanted =
      QByteArray(typed.data(), static_cast<qsizetype>(typed.size())).toLower().replace(' ', '_');
  const std::size_t limit = std::clamp<std::size_t>(typed.size() / kLettersPerEdit, 1, kMostEdits);
  std::size_t least = limit + 1;
  std::vector<std::string> nearest;
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
    if (!id.contains('/')) continue;
    const QByteArray lower = id.toLower();
    const std::size_t edits =
        std::min(Edits(wanted, lower, limit), Edits(wanted, LastPart(lower), limit));
    if (edits > limit || edits > least) continue;
    if (edits < least) nearest.clear();
    least = edits;
    if (nearest.size() < kSuggestedZones) nearest.push_back(id.toStdString());
  }
  return nearest;
}

// Every offset of a clock comes through here, whoever asks for it: no local day may lie beyond the
// universal days a table computes around it.
void Clock::RefuseBeyondMaxOffset(int offset_seconds, std::string_view when) const {
  if (std::abs(offset_seconds) <= kMaxOffsetHours * kSecondsPerHour) return;
  throw ClockFailure(Name() + " is " + Decimal(offset_seconds / double{kSecondsPerHour}, 2) +
                    " hours from universal time" + std::string(when) + "; a clock may be " +
                    std::to_string(kMaxOffsetHours) + " hours from it at most");
}

Clock::Clock(Kind kind, int hours, const QTimeZone& zone)
    : kind_(kind), hours_(hours), zone_(zone) {
  switch (kind_) {
    case Kind::Universal:
      name_ = "UT";
      break;
    case Kind::Gmt:
      name_ = (hours_ < 0 ? "GMT-" : "GMT+") + std::to_string(std::abs(hours_));
      RefuseBeyondMaxOffset(hours_ * kSecondsPerHour, "");
      break;
    case Kind::Zone:
      // A TZ of the user's may name the system's zone with any bytes.
      name_ = EscapeControls(zone_.id().toStdString(), Backslash::Kept);
      ClearUpperVectorRegisters();
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
      return Name() + " local time (" + ZoneRule() + ")";
  }
  return {};
}

std::string Clock::ZoneRule() const {
  if (zone_.hasDaylightTime()) return "daylight saving included";
  // No transition at all before the end of time: one offset for ever (Etc/GMT+5, UTC).
  const QDateTime end_of_time(QDate(9999, 12, 31), QTime(0, 0), QTimeZone::utc());
  if (!zone_.hasTransitions() || !zone_.previousTransition(end_of_time).atUtc.isValid()) {
    return "UTC" + OffsetText(zone_.offsetFromUtc(end_of_time)) + ", no daylight saving";
  }
  return "no daylight saving";
}

LocalTime Clock::At(Day day, double ut_hours) const {
  double offset_hours = 0;
  if (kind_ == Kind::Gmt) {
    offset_hours = hours_;
  } else if (kind_ == Kind::Zone) {
    const qint64 day_ms =
        static_cast<qint64>(std::chrono::sys_days(day).time_since_epoch().count()) * kMsPerDay;
    offset_hours = ZoneOffsetSeconds(day_ms + std::llround(ut_hours * 3'600'000.0)) /
                   static_cast<double>(kSecondsPerHour);
  }
  LocalTime t{day, ut_hours, 0, static_cast<int>(std::lround(offset_hours * kSecondsPerHour))};
  if (offset_hours == 0) return t;
  t.hours = ut_hours + offset_hours;
  t.day_shift = static_cast<int>(std::floor(t.hours / 24));
  t.hours -= 24.0 * t.day_shift;
  if (t.day_shift != 0) t.date = Day{std::chrono::sys_days(day) + std::chrono::days{t.day_shift}};
  return t;
}

LocalTime Clock::AtHours(Day day, double hours_from_midnight) const {
  const double whole_days = std::floor(hours_from_midnight / 24);
  return At(Day{std::chrono::sys_days(day) + std::chrono::days{static_cast<int>(whole_days)}},
            hours_from_midnight - 24 * whole_days);
}

long long Clock::OffsetMs(long long utc_ms) const {
  switch (kind_) {
    case Kind::Universal:
      return 0;
    case Kind::Gmt:
      return hours_ * 3'600'000LL;
    case Kind::Zone:
      return ZoneOffsetSeconds(utc_ms) * 1000LL;
  }
  return 0;
}

// The first universal moment whose local date is that of `local_midnight_ms` or later.
long long Clock::DayStartMs(long long local_midnight_ms) const {
  const auto on_or_after = [&](long long utc_ms) {
    return utc_ms + OffsetMs(utc_ms) >= local_midnight_ms;
  };
  long long guess = local_midnight_ms - OffsetMs(local_midnight_ms);
  guess = local_midnight_ms - OffsetMs(guess);
  if (on_or_after(guess) && !on_or_after(guess - 1)) return guess;
  // Midnight skipped or repeated by a change of offset: search the days around for the moment.
  long long low = local_midnight_ms - 2 * kMsPerDay, high = local_midnight_ms + 2 * kMsPerDay;
  while (high - low > 1) {
    const long long middle = low + (high - low) / 2;
    (on_or_after(middle) ? high : low) = middle;
  }
  return high;
}

double Clock::UtHoursOf(Day day, double clock_hours) const {
  constexpr double kMsPerHour = 3'600'000;
  const long long midnight_ms =
      static_cast<long long>(std::chrono::sys_days(day).time_since_epoch().count()) * kMsPerDay;
  const long long local_ms = midnight_ms + std::llround(clock_hours * kMsPerHour);
  long long utc_ms = local_ms - OffsetMs(local_ms);
  utc_ms = local_ms - OffsetMs(utc_ms);
  return static_cast<double>(utc_ms - midnight_ms) / kMsPerHour;
}

std::optional<Clock::UtSpan> Clock::DayInUt(Day day) const {
  const long long midnight_ms =
      static_cast<long long>(std::chrono::sys_days(day).time_since_epoch().count()) * kMsPerDay;
  const long long from = DayStartMs(midnight_ms);
  const long long to = DayStartMs(midnight_ms + kMsPerDay);
  if (to <= from) return std::nullopt;
  constexpr double kMsPerHour = 3'600'000;
  return UtSpan{static_cast<double>(from - midnight_ms) / kMsPerHour,
                static_cast<double>(to - midnight_ms) / kMsPerHour};
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
  const int offset = SpanOffsetSeconds(utc_ms);
  const auto date = std::chrono::floor<std::chrono::days>(
      std::chrono::sys_time<std::chrono::milliseconds>(std::chrono::milliseconds(utc_ms)));
  RefuseBeyondMaxOffset(offset, " on " + IsoDate(Day{date}));
  return offset;
}

int Clock::SpanOffsetSeconds(long long utc_ms) const {
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
