#include "cli/sun_table.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/failure.h"
#include "engine/helpers.h"
#include "engine/sun_day.h"

namespace orvalin {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

enum Event { kSunrise, kCulmination, kSunset, kEvents };
constexpr const char* kEventPlural[kEvents] = {"sunrises", "culminations", "sunsets"};
constexpr const char* kEventName[kEvents] = {"sunrise", "culmination", "sunset"};

// Two finds of one event from neighbouring universal days lie closer than this; two real
// events of a kind lie about a day apart.
constexpr double kSameEventHours = 2;

// A universal day's results, its events already on the table's clock.
struct UtDay {
  Day day;
  SunDay sun;
  std::array<std::optional<LocalTime>, kEvents> local;
};

const std::optional<double>& EventHours(const SunDay& s, int e) {
  return e == kSunrise ? s.SunriseTime : e == kCulmination ? s.CulminationTime : s.SunsetTime;
}

const std::optional<double>& EventAzimuth(const SunDay& s, int e) {
  return e == kSunrise       ? s.SunriseAzimuth
         : e == kCulmination ? s.CulminationAzimuth
                             : s.SunsetAzimuth;
}

EventTime& EventOf(SunRow& row, int e) {
  return e == kSunrise ? row.sunrise : e == kCulmination ? row.culmination : row.sunset;
}

AngleValue& AzimuthOf(SunRow& row, int e) {
  return e == kSunrise       ? row.sunrise_azimuth
         : e == kCulmination ? row.culmination_azimuth
                             : row.sunset_azimuth;
}

UtDay ComputeUtDay(const TablePlace& place, Day day, const Clock& clock) {
  UtDay u{day,
          ComputeSunDay(place.longitude_west, place.latitude, kHorizonAltitude,
                        static_cast<std::int16_t>(static_cast<unsigned>(day.day())),
                        static_cast<std::int16_t>(static_cast<unsigned>(day.month())),
                        static_cast<std::int16_t>(static_cast<int>(day.year()))),
          {}};
  for (int e = 0; e < kEvents; ++e) {
    if (const auto& hours = EventHours(u.sun, e)) u.local[e] = clock.At(day, *hours);
  }
  return u;
}

EventTime Known(const LocalTime& local) { return {true, local, TimeText(local.hours), 1}; }

AngleValue Angle(const std::optional<double>& degrees) {
  AngleValue a;
  if (!degrees) return a;
  a.known = true;
  a.degrees = *degrees;
  a.text = AngleText(*degrees);
  return a;
}

// The row of one universal day, as the window shows it; without its events, what a local day
// takes from it.
SunRow RowOf(const UtDay& u, bool with_events = true) {
  const SunDay& sun = u.sun;
  SunRow row;
  row.date = u.day;
  for (int e = 0; with_events && e < kEvents; ++e) {
    if (u.local[e]) EventOf(row, e) = Known(*u.local[e]);
    AzimuthOf(row, e) = Angle(EventAzimuth(sun, e));
  }
  row.elevation = Angle(sun.CulminationElevation);
  row.status = sun.outcome;
  switch (sun.outcome) {
    case SunOutcome::Complete:
      break;
    case SunOutcome::NoSunset:
      row.note = "no sunset: the sun stays up all day";
      break;
    case SunOutcome::NoSunrise:
      row.note = "no sunrise: the sun stays down all day";
      break;
    case SunOutcome::Fault:
      row.note = ReportText(Description(sun.fault), sun.step, "EPHEMERIDES");
      break;
  }
  if (sun.DayLength) {
    row.day_length_known = true;
    row.day_length = *sun.DayLength;
    row.day_length_text = TimeText(row.day_length);
  }
  return row;
}

void AddNote(SunRow& row, const std::string& text) {
  row.note += (row.note.empty() ? "" : "; ") + text;
}

// Which of the three universal days around `day` holds its noon on the clock: 0, 1 or 2.
int NoonDay(Day day, const Clock& clock) {
  const double noon_ut = 12 - clock.At(day, 12).offset_seconds / 3600.0;
  return 1 + static_cast<int>(std::floor(noon_ut / 24));
}

// Events of kind `e` from the universal days around `day` that fall on it, once each.
void GatherEvent(SunRow& row, int e, const std::array<const UtDay*, 3>& around) {
  EventTime& slot = EventOf(row, e);
  AngleValue& azimuth = AzimuthOf(row, e);
  double last_moment = -std::numeric_limits<double>::infinity();
  for (int i = 0; i < 3; ++i) {
    const auto& local = around[i]->local[e];
    if (!local || local->date != row.date) continue;
    const double moment = 24.0 * (i - 1) + *EventHours(around[i]->sun, e);
    if (moment - last_moment < kSameEventHours) continue;
    last_moment = moment;
    if (slot.count++ > 0) continue;
    const int count = slot.count;
    slot = Known(*local);
    slot.count = count;
    slot.local.day_shift = 0;
    azimuth = Angle(EventAzimuth(around[i]->sun, e));
  }
}

SunRow LocalRow(Day day, const std::array<const UtDay*, 3>& around, const Clock& clock) {
  SunRow row = RowOf(*around[NoonDay(day, clock)], false);
  row.date = day;
  for (int e = 0; e < kEvents; ++e) {
    GatherEvent(row, e, around);
    const int count = EventOf(row, e).count;
    if (count > 1) AddNote(row, std::string("two ") + kEventPlural[e] + " on this day");
    if (count == 0 && row.status == SunOutcome::Complete) {
      AddNote(row, std::string("no ") + kEventName[e] + " on this day");
    }
  }
  return row;
}

}  // namespace

std::string TablePlace::Label() const {
  std::string where = latitude_text + ", " + longitude_text;
  if (name.empty()) return where;
  return name + (country.empty() ? "" : ", " + country) + " (" + where + ")";
}

SunRow ComputeRow(const TablePlace& place, Day day, const Clock& clock) {
  if (clock.IsUniversal()) return RowOf(ComputeUtDay(place, day, clock));
  const UtDay before = ComputeUtDay(place, Day{sys_days(day) - days{1}}, clock);
  const UtDay same = ComputeUtDay(place, day, clock);
  const UtDay after = ComputeUtDay(place, Day{sys_days(day) + days{1}}, clock);
  return LocalRow(day, {&before, &same, &after}, clock);
}

void ForEachRow(const TablePlace& place, Day first, Day last, const Clock& clock,
                const std::function<void(const SunRow&)>& sink) {
  const sys_days end{last};
  if (clock.IsUniversal()) {
    for (sys_days d{first}; d <= end; d += days{1}) sink(RowOf(ComputeUtDay(place, Day{d}, clock)));
    return;
  }
  // A window over the universal days around the local one, moved a day at a time.
  std::array<UtDay, 3> window = {ComputeUtDay(place, Day{sys_days(first) - days{1}}, clock),
                                 ComputeUtDay(place, first, clock),
                                 ComputeUtDay(place, Day{sys_days(first) + days{1}}, clock)};
  for (sys_days d{first}; d <= end; d += days{1}) {
    if (d > sys_days(first)) {
      window[0] = std::move(window[1]);
      window[1] = std::move(window[2]);
      window[2] = ComputeUtDay(place, Day{d + days{1}}, clock);
    }
    sink(LocalRow(Day{d}, {&window[0], &window[1], &window[2]}, clock));
  }
}

std::vector<SunRow> ComputeRows(const TablePlace& place, Day first, Day last, const Clock& clock) {
  std::vector<SunRow> rows;
  ForEachRow(place, first, last, clock, [&](const SunRow& row) { rows.push_back(row); });
  return rows;
}

std::string_view StatusName(SunOutcome status) {
  switch (status) {
    case SunOutcome::Complete:
      return "complete";
    case SunOutcome::NoSunrise:
      return "no sunrise";
    case SunOutcome::NoSunset:
      return "no sunset";
    case SunOutcome::Fault:
      return "fault";
  }
  return {};
}

}  // namespace orvalin
