#include "cli/table/sun_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "cli/table/day_crossings.h"
#include "cli/table/sun_moments.h"
#include "common/out_text.h"
#include "engine/helpers.h"
#include "engine/sun_day.h"

namespace orvalin {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

enum Event { kSunrise, kCulmination, kSunset, kDawn, kDusk, kEvents };
constexpr const char* kEventPlural[kEvents] = {"sunrises", "culminations", "sunsets", "dawns",
                                               "dusks"};
constexpr const char* kEventName[kEvents] = {"sunrise", "culmination", "sunset", "dawn", "dusk"};

// Two finds of one event from neighbouring universal days lie closer than this; two real
// events of a kind lie about a day apart.
constexpr double kSameEventHours = 2;

// A universal day's results, its events already on the table's clock.
struct UtDay {
  Day day;
  SunDay sun;
  std::optional<SunDay> twilight;
  std::array<std::optional<LocalTime>, kEvents> local;
};

const std::optional<double>& EventHours(const UtDay& u, int e) {
  static const std::optional<double> kNone;
  switch (e) {
    case kSunrise:
      return u.sun.SunriseTime;
    case kCulmination:
      return u.sun.CulminationTime;
    case kSunset:
      return u.sun.SunsetTime;
    case kDawn:
      return u.twilight ? u.twilight->SunriseTime : kNone;
    default:
      return u.twilight ? u.twilight->SunsetTime : kNone;
  }
}

// Dawn and dusk have no azimuth column.
std::optional<double> EventAzimuth(const SunDay& s, int e) {
  if (e == kSunrise) return s.SunriseAzimuth;
  if (e == kCulmination) return s.CulminationAzimuth;
  if (e == kSunset) return s.SunsetAzimuth;
  return std::nullopt;
}

EventTime& EventOf(SunRow& row, int e) {
  EventTime* events[kEvents] = {&row.sunrise, &row.culmination, &row.sunset, &row.dawn, &row.dusk};
  return *events[e];
}

AngleValue* AzimuthOf(SunRow& row, int e) {
  if (e == kSunrise) return &row.sunrise_azimuth;
  if (e == kCulmination) return &row.culmination_azimuth;
  if (e == kSunset) return &row.sunset_azimuth;
  return nullptr;
}

SunDay SunAt(const TablePlace& place, Day day, double horizon) {
  return ComputeSunDay(ObserverAt(place, horizon), CivilDateOf(day));
}

UtDay ComputeUtDay(const TablePlace& place, Day day, const Clock& clock,
                   const SunSettings& settings) {
  UtDay u{day, SunAt(place, day, settings.horizon), std::nullopt, {}};
  // Other clocks find dawn and dusk as crossings of their own days.
  if (settings.twilight && clock.IsUniversal()) u.twilight = SunAt(place, day, *settings.twilight);
  for (int e = 0; e < kEvents; ++e) {
    if (const auto& hours = EventHours(u, e)) u.local[e] = clock.At(day, *hours);
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

// What a row says of a day without crossings, or of a failure.
std::string OutcomeNote(const SunDay* failed, SunOutcome outcome) {
  switch (outcome) {
    case SunOutcome::Complete:
      break;
    case SunOutcome::NoSunset:
      return "no sunset: the sun stays up all day";
    case SunOutcome::NoSunrise:
      return "no sunrise: the sun stays down all day";
    case SunOutcome::Fault:
      if (failed) return FaultReport(*failed);
  }
  return {};
}

std::string TwilightNote(const SunDay* failed, SunOutcome outcome) {
  switch (outcome) {
    case SunOutcome::NoSunset:
      return "no dawn or dusk: the sun stays above the twilight's altitude";
    case SunOutcome::NoSunrise:
      return "no dawn or dusk: the sun stays below the twilight's altitude";
    default:
      return OutcomeNote(failed, outcome);
  }
}

// The window's day as stretches of daylight: sunset may come before sunrise in UT.
std::vector<Stretch> Daylight(const SunDay& sun) {
  if (sun.outcome == SunOutcome::NoSunset && !sun.event_elsewhere) return {{0, 24}};
  if (!sun.SunriseTime || !sun.SunsetTime) return {};
  const double rise = *sun.SunriseTime, set = *sun.SunsetTime;
  if (rise <= set) return {{rise, set}};
  return {{0, set}, {rise, 24}};
}

// The row of one universal day, as the window shows it; without its events, what a local day
// takes from it.
SunRow RowOf(const UtDay& u, bool with_events = true) {
  const SunDay& sun = u.sun;
  SunRow row;
  row.date = u.day;
  for (int e = 0; with_events && e < kEvents; ++e) {
    if (u.local[e]) EventOf(row, e) = Known(*u.local[e]);
    if (AngleValue* azimuth = AzimuthOf(row, e)) *azimuth = Angle(EventAzimuth(sun, e));
  }
  row.elevation = Angle(sun.CulminationElevation);
  row.status = sun.outcome;
  row.note = OutcomeNote(&sun, sun.outcome);
  row.event_elsewhere = sun.event_elsewhere;
  if (sun.event_elsewhere) {
    row.note = std::string(sun.outcome == SunOutcome::NoSunrise ? "no sunrise" : "no sunset") +
               " in this UT day: one falls just before it, the next just after";
  }
  if (with_events) row.daylight = Daylight(sun);
  if (sun.DayLength) {
    row.day_length_known = true;
    row.day_length = *sun.DayLength;
    row.day_length_text = TimeText(row.day_length);
  }
  if (u.twilight) {
    row.twilight_status = u.twilight->outcome;
    row.twilight_note = TwilightNote(&*u.twilight, u.twilight->outcome);
    if (with_events) row.twilight_light = Daylight(*u.twilight);
  }
  return row;
}

// Which of the three universal days around `day` holds its noon on the clock: 0, 1 or 2. An
// offset beyond a day either way (no real clock has one) counts as the nearest.
int NoonDay(Day day, const Clock& clock) {
  const double noon_ut = 12 - clock.At(day, 12).offset_seconds / 3600.0;
  return std::clamp(1 + static_cast<int>(std::floor(noon_ut / 24)), 0, 2);
}

// Culminations of the universal days around `day` that fall on it, once each.
void GatherCulmination(SunRow& row, const std::array<const UtDay*, 3>& around) {
  EventTime& slot = row.culmination;
  double last_moment = -std::numeric_limits<double>::infinity();
  for (int i = 0; i < 3; ++i) {
    const auto& local = around[i]->local[kCulmination];
    if (!local || local->date != row.date) continue;
    const double moment = 24.0 * (i - 1) + *EventHours(*around[i], kCulmination);
    if (moment - last_moment < kSameEventHours) continue;
    last_moment = moment;
    LocalTime shown = *local;
    shown.day_shift = 0;
    const double azimuth = around[i]->sun.CulminationAzimuth.value_or(0);
    if (slot.count++ > 0) {
      slot.later.push_back({shown, azimuth});
      continue;
    }
    const int count = slot.count;
    slot = Known(shown);
    slot.count = count;
    row.culmination_azimuth = Angle(around[i]->sun.CulminationAzimuth);
  }
}

// The crossings of a direction into an event's slot, the first one's azimuth beside it.
void Show(const std::vector<DayCrossings::Found>& found, EventTime& slot, AngleValue* azimuth) {
  slot = AsEvent(found);
  if (azimuth && !found.empty()) *azimuth = Angle(found.front().degrees);
}

// Only the events a row does not show once are named; a second one with its time, which the
// row's columns leave out.
void NoteCounts(SunRow& row, int e) {
  const EventTime& event = EventOf(row, e);
  if (event.count > 1 && !event.later.empty()) {
    AddNote(row, std::string("two ") + kEventPlural[e] + " on this day (the second at " +
                     ClockText(event.later.front().local.hours, false, true) + ")");
  }
  if (event.count == 0) AddNote(row, std::string("no ") + kEventName[e] + " on this day");
}

void SunriseAndSunset(SunRow& row, const TablePlace& place, const LocalDay& day,
                      const SunSettings& settings) {
  const DayCrossings horizon(place, day, settings.horizon);
  Show(horizon.Of(true), row.sunrise, &row.sunrise_azimuth);
  Show(horizon.Of(false), row.sunset, &row.sunset_azimuth);
  row.status = horizon.Status();
  row.day_length_known = true;
  row.day_length = horizon.Stretches(row.daylight);
  row.day_length_text = TimeText(row.day_length);
  row.note = OutcomeNote(nullptr, row.status);
}

void DawnAndDusk(SunRow& row, const TablePlace& place, const LocalDay& day, double altitude) {
  const DayCrossings twilight(place, day, altitude);
  Show(twilight.Of(true), row.dawn, nullptr);
  Show(twilight.Of(false), row.dusk, nullptr);
  row.twilight_status = twilight.Status();
  twilight.Stretches(row.twilight_light);
  row.twilight_note = TwilightNote(nullptr, row.twilight_status);
}

SunRow LocalRow(const TablePlace& place, const LocalDay& day,
                const std::array<const UtDay*, 3>& around, const SunSettings& settings) {
  SunRow row = RowOf(*around[NoonDay(day.date, day.clock)], false);
  row.date = day.date;
  row.event_elsewhere = false;  // a universal day's gap: the local day has its own crossings
  GatherCulmination(row, around);
  if (row.status == SunOutcome::Fault) return row;
  SunriseAndSunset(row, place, day, settings);
  if (row.status == SunOutcome::Complete) {
    for (const int e : {kSunrise, kCulmination, kSunset}) NoteCounts(row, e);
  }
  if (!settings.twilight) return row;
  DawnAndDusk(row, place, day, *settings.twilight);
  if (row.twilight_status == SunOutcome::Complete) {
    NoteCounts(row, kDawn);
    NoteCounts(row, kDusk);
  }
  return row;
}

// A row of the universal clock: the window's day and what the table was asked beside it.
SunRow UtRow(const TablePlace& place, const UtDay& u, const Clock& clock,
             const SunSettings& settings, MoonTables& moon) {
  SunRow row = RowOf(u);
  AddAskedMoments(row, place, LocalDay{u.day, {0, 24}, clock}, settings, moon);
  return row;
}

SunRow ClockRow(const TablePlace& place, const LocalDay& day,
                const std::array<const UtDay*, 3>& around, const SunSettings& settings,
                MoonTables& moon) {
  SunRow row = LocalRow(place, day, around, settings);
  AddAskedMoments(row, place, day, settings, moon);
  return row;
}

}  // namespace

void AddNote(SunRow& row, const std::string& text) {
  row.note += (row.note.empty() ? "" : "; ") + text;
}

Observer ObserverAt(const TablePlace& place, double horizon) {
  return {place.latitude, place.longitude, horizon};
}

std::string TablePlace::Label() const {
  std::string where = latitude_text + ", " + longitude_text;
  if (name.empty()) return where;
  return name + (country.empty() ? "" : ", " + country) + " (" + where + ")";
}

void ForEachRow(const TablePlace& place, Day first, Day last, const Clock& clock,
                const std::function<void(const SunRow&)>& sink, const SunSettings& settings,
                const std::function<void(Day)>& skipped) {
  const sys_days end{last};
  const auto compute = [&](sys_days d) { return ComputeUtDay(place, Day{d}, clock, settings); };
  MoonTables moon;
  if (clock.IsUniversal()) {
    for (sys_days d{first}; d <= end; d += days{1}) {
      sink(UtRow(place, compute(d), clock, settings, moon));
    }
    return;
  }
  // A window over the universal days around the local one, moved a day at a time.
  std::array<UtDay, 3> window = {compute(sys_days(first) - days{1}), compute(sys_days(first)),
                                 compute(sys_days(first) + days{1})};
  for (sys_days d{first}; d <= end; d += days{1}) {
    if (d > sys_days(first)) {
      window[0] = window[1];
      window[1] = window[2];
      window[2] = compute(d + days{1});
    }
    const std::optional<Clock::UtSpan> span = clock.DayInUt(Day{d});
    if (!span) {
      if (skipped) skipped(Day{d});
      continue;
    }
    sink(ClockRow(place, LocalDay{Day{d}, *span, clock}, {&window[0], &window[1], &window[2]},
                  settings, moon));
  }
}

std::chrono::sys_seconds MomentOfEvent(const EventTime& e) {
  using std::chrono::seconds;
  return std::chrono::sys_seconds{sys_days{e.local.date}} +
         seconds{std::llround(e.local.hours * 3600)} - seconds{e.local.offset_seconds};
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
