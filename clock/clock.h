// The clocks a time is shown on: universal time, a place's stored offset, or a time zone; for the
// tools' tables and the window's tooltips alike, so both convert and round a time one way.
#pragma once

#include <QTimeZone>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "clock/day.h"

namespace orvalin {

// A moment on a clock: its date there, the hours of that date, and how many days the date lies
// after (+1) or before (-1) the universal day the moment was given on.
struct LocalTime {
  Day date;
  double hours = 0;
  int day_shift = 0;
  int offset_seconds = 0;  // the clock's offset from universal time at that moment
};

// The widest a clock may differ from universal time, hours either way: the world's zones keep
// within -12 and +14, and a table's local day must lie among the universal days around it.
inline constexpr int kMaxOffsetHours = 26;

// A clock that cannot serve: an offset beyond kMaxOffsetHours. Its text is a whole message.
struct ClockFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Clock {
 public:
  static Clock Universal();
  // Whole hours east of Greenwich, as the places file stores them; ClockFailure beyond
  // kMaxOffsetHours.
  static Clock Gmt(int hours);
  // A zone of the system's database, links included ("Europe/Zurich", "US/Eastern"), "UTC", or
  // "local" (the system's own zone); nullopt for anything else, such as a city alone ("Paris"),
  // an abbreviation ("AEST") or a POSIX rule ("XYZ-99"), which the time zone library would
  // otherwise take for a zone of its own making.
  static std::optional<Clock> Zone(std::string_view id);
  // The zones of the database nearest a name that is none, as a whole or by their last part,
  // small and capital letters alike and within an edit per four letters (three at most): "Paris",
  // "Pariss" and "europe/paris" give "Europe/Paris". A few at most, the nearest; none when none is
  // near.
  static std::vector<std::string> ZonesLike(std::string_view typed);

  bool IsUniversal() const { return kind_ == Kind::Universal; }

  // "UT", "GMT+1", "Europe/Zurich".
  const std::string& Name() const { return name_; }
  // A phrase for headings: "universal time (UT)", "GMT+1 (the place's offset, no daylight
  // saving)", "Europe/Zurich local time (daylight saving included)", "EST local time (no
  // daylight saving)", "Etc/GMT+5 local time (UTC-05:00, no daylight saving)".
  std::string Description() const;

  // The moment `ut_hours` (0 to 24) of the universal day `day`, on this clock. ClockFailure when
  // the clock is then more than kMaxOffsetHours from universal time.
  LocalTime At(Day day, double ut_hours) const;
  // The same for any hours from 0 h UT of `day`, earlier or later days included.
  LocalTime AtHours(Day day, double hours_from_midnight) const;

  // The universal hours, counted from 0 h UT of `day`, from the first moment of the calendar
  // day `day` on this clock to the first moment of the next; nothing for a day the clock
  // skipped. A day it repeated is one span.
  struct UtSpan {
    double from, to;
  };
  std::optional<UtSpan> DayInUt(Day day) const;
  // The universal hours, from 0 h UT of `day`, at which this clock reads `clock_hours` on `day`
  // (a time that a change of offset skipped reads as the offset before it).
  double UtHoursOf(Day day, double clock_hours) const;

 private:
  enum class Kind { Universal, Gmt, Zone };
  Clock(Kind kind, int hours, const QTimeZone& zone);
  void RefuseBeyondMaxOffset(int offset_seconds, std::string_view when) const;
  std::string ZoneRule() const;
  int ZoneOffsetSeconds(long long utc_ms) const;  // ClockFailure beyond kMaxOffsetHours
  int SpanOffsetSeconds(long long utc_ms) const;
  long long OffsetMs(long long utc_ms) const;
  long long DayStartMs(long long local_midnight_ms) const;
  void StepToNextTransition() const;

  Kind kind_;
  int hours_;
  QTimeZone zone_;
  std::string name_;
  // The zone's offset between two transitions, kept: asking the zone for every event would
  // make a year on its clock cost several years in universal time.
  struct OffsetSpan {
    long long from_ms = 0, until_ms = 0;  // empty until the first question
    int offset_seconds = 0;
    bool next_known = false;  // the offset from until_ms on
    int next_offset_seconds = 0;
  };
  mutable OffsetSpan span_;
};

}  // namespace orvalin
