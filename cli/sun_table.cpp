#include "cli/sun_table.h"

#include "common/failure.h"
#include "engine/sun_day.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

EventTime Event(const std::optional<double>& ut_hours, Day day, const Clock& clock) {
  EventTime e;
  if (!ut_hours) return e;
  e.known = true;
  e.local = clock.At(day, *ut_hours);
  e.text = TimeText(e.local.hours);
  return e;
}

AngleValue Angle(const std::optional<double>& degrees) {
  AngleValue a;
  if (!degrees) return a;
  a.known = true;
  a.degrees = *degrees;
  a.text = AngleText(*degrees);
  return a;
}

}  // namespace

std::string TablePlace::Label() const {
  std::string where = latitude_text + ", " + longitude_text;
  if (name.empty()) return where;
  return name + (country.empty() ? "" : ", " + country) + " (" + where + ")";
}

SunRow ComputeRow(const TablePlace& place, Day day, const Clock& clock) {
  const SunDay sun = ComputeSunDay(place.longitude_west, place.latitude, kHorizonAltitude,
                                   static_cast<std::int16_t>(static_cast<unsigned>(day.day())),
                                   static_cast<std::int16_t>(static_cast<unsigned>(day.month())),
                                   static_cast<std::int16_t>(static_cast<int>(day.year())));
  SunRow row;
  row.date = day;
  row.sunrise = Event(sun.SunriseTime, day, clock);
  row.culmination = Event(sun.CulminationTime, day, clock);
  row.sunset = Event(sun.SunsetTime, day, clock);
  row.sunrise_azimuth = Angle(sun.SunriseAzimuth);
  row.culmination_azimuth = Angle(sun.CulminationAzimuth);
  row.sunset_azimuth = Angle(sun.SunsetAzimuth);
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
  }
  if (row.day_length_known) row.day_length_text = TimeText(row.day_length);
  return row;
}

std::vector<SunRow> ComputeRows(const TablePlace& place, const std::vector<Day>& days,
                                const Clock& clock) {
  std::vector<SunRow> rows;
  rows.reserve(days.size());
  for (const Day& d : days) rows.push_back(ComputeRow(place, d, clock));
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
