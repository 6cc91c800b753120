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
  return ComputeSunDay(place.longitude_west, place.latitude, horizon,
                       static_cast<std::int16_t>(static_cast<unsigned>(day.day())),
                       static_cast<std::int16_t>(static_cast<unsigned>(day.month())),
                       static_cast<std::int16_t>(static_cast<int>(day.year())));
}

UtDay ComputeUtDay(const TablePlace& place, Day day, const Clock& clock,
                   const SunSettings& settings) {
  UtDay u{day, SunAt(place, day, settings.horizon), std::nullopt, {}};
  if (settings.twilight) u.twilight = SunAt(place, day, *settings.twilight);
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

void TwilightOf(const SunDay& twilight, SunRow& row) {
  row.twilight_status = twilight.outcome;
  switch (twilight.outcome) {
    case SunOutcome::Complete:
      break;
    case SunOutcome::NoSunset:
      row.twilight_note = "no dawn or dusk: the sun stays above the twilight's altitude";
      break;
    case SunOutcome::NoSunrise:
      row.twilight_note = "no dawn or dusk: the sun stays below the twilight's altitude";
      break;
    case SunOutcome::Fault:
      row.twilight_note = ReportText(Description(twilight.fault), twilight.step, "EPHEMERIDES");
      break;
  }
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
  if (u.twilight) TwilightOf(*u.twilight, row);
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
  double last_moment = -std::numeric_limits<double>::infinity();
  for (int i = 0; i < 3; ++i) {
    const auto& local = around[i]->local[e];
    if (!local || local->date != row.date) continue;
    const double moment = 24.0 * (i - 1) + *EventHours(*around[i], e);
    if (moment - last_moment < kSameEventHours) continue;
    last_moment = moment;
    if (slot.count++ > 0) continue;
    const int count = slot.count;
    slot = Known(*local);
    slot.count = count;
    slot.local.day_shift = 0;
    if (AngleValue* azimuth = AzimuthOf(row, e)) *azimuth = Angle(EventAzimuth(around[i]->sun, e));
  }
}

SunRow LocalRow(Day day, const std::array<const UtDay*, 3>& around, const Clock& clock) {
  SunRow row = RowOf(*around[NoonDay(day, clock)], false);
  row.date = day;
  for (int e = 0; e < kEvents; ++e) {
    const bool twilight = e == kDawn || e == kDusk;
    if (twilight && !around[1]->twilight) continue;
    GatherEvent(row, e, around);
    const int count = EventOf(row, e).count;
    if (count > 1) AddNote(row, std::string("two ") + kEventPlural[e] + " on this day");
    if (count == 0 && (twilight ? row.twilight_status : row.status) == SunOutcome::Complete) {
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

SunRow ComputeRow(const TablePlace& place, Day day, const Clock& clock,
                  const SunSettings& settings) {
  if (clock.IsUniversal()) return RowOf(ComputeUtDay(place, day, clock, settings));
  const UtDay before = ComputeUtDay(place, Day{sys_days(day) - days{1}}, clock, settings);
  const UtDay same = ComputeUtDay(place, day, clock, settings);
  const UtDay after = ComputeUtDay(place, Day{sys_days(day) + days{1}}, clock, settings);
  return LocalRow(day, {&before, &same, &after}, clock);
}

void ForEachRow(const TablePlace& place, Day first, Day last, const Clock& clock,
                const std::function<void(const SunRow&)>& sink, const SunSettings& settings) {
  const sys_days end{last};
  const auto compute = [&](sys_days d) { return ComputeUtDay(place, Day{d}, clock, settings); };
  if (clock.IsUniversal()) {
    for (sys_days d{first}; d <= end; d += days{1}) sink(RowOf(compute(d)));
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
    sink(LocalRow(Day{d}, {&window[0], &window[1], &window[2]}, clock));
  }
}

std::vector<SunRow> ComputeRows(const TablePlace& place, Day first, Day last, const Clock& clock,
                                const SunSettings& settings) {
  std::vector<SunRow> rows;
  ForEachRow(
      place, first, last, clock, [&](const SunRow& row) { rows.push_back(row); }, settings);
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
