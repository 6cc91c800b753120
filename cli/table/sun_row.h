// A row of a table: the sun's events of one day at one place, texts as the window shows them and
// decimal values, on a chosen clock; the place and what the table computes beside the day.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/table/day_span.h"
#include "clock/clock.h"
#include "engine/coordinates.h"
#include "engine/sun_day.h"

namespace orvalin {

struct TablePlace {
  std::string name;  // without filling blanks; empty for typed coordinates
  std::string country;
  std::string latitude_text;  // as stored or typed, without filling blanks
  std::string longitude_text;
  Latitude latitude{0};
  Longitude longitude{0};
  std::optional<std::int16_t> gmt_hours;  // the stored offset, for places from the file
  std::string zone;                       // IANA, "" when unknown

  // "Geneva, Switzerland (46 12 0 N, 6 9 0 E)", or just the coordinates.
  std::string Label() const;
};

// The engine's observer at `place`, the sun rising and setting at `horizon`.
Observer ObserverAt(const TablePlace& place, double horizon);

// An event of a day after the first of its kind.
struct LaterEvent {
  LocalTime local;
  double azimuth = 0;  // degrees, for the kinds whose azimuth a row shows
};

struct EventTime {
  bool known = false;
  LocalTime local;   // on the table's clock
  std::string text;  // TimeText of local.hours: the window's text when the clock is UT
  int count = 0;     // on a local day: how many such events it holds (0, 1 or 2)
  std::vector<LaterEvent> later{};  // on a local day: its other events of the kind, in order
};

struct AngleValue {
  bool known = false;
  double degrees = 0;
  std::string text;  // AngleText
};

// A band of the sun's altitude, degrees: golden or blue hour.
struct AltitudeBand {
  double low, high;
};

// What a table computes beside the window's day.
struct SunSettings {
  double horizon = kHorizonAltitude;  // altitude of the sun's centre at rise and set, degrees
  double observer_metres = 0;         // its dip is already in `horizon`
  std::optional<double> twilight;     // altitude of dawn and dusk, degrees
  std::optional<double> at;           // a time of each day on the table's clock, hours
  std::optional<AltitudeBand> golden, blue;
  bool moon = false;  // the moon's events, phase and light beside the sun's
};

// A stretch of the row's day with the sun above an altitude, in hours of its clock from the
// day's start (its end is 24 on any day).
struct Stretch {
  double from = 0, to = 0;
};

struct SunRow {
  Day date;
  SunOutcome status = SunOutcome::Complete;
  // Why a row is not complete: "no sunset: the sun stays up all day", "no sunrise: ...", or a
  // failure report "<description> in line <step> of EPHEMERIDES"; on a local day also an event
  // missing from it or found twice.
  std::string note;
  // On the universal clock: the window's "no sunrise" or "no sunset" for a day whose event falls
  // just before and just after it, the sun rising and setting all the same.
  bool event_elsewhere = false;
  EventTime sunrise, culmination, sunset;
  AngleValue sunrise_azimuth, culmination_azimuth, sunset_azimuth, elevation;
  // On the universal clock the window's length; on any other, the time the sun's centre spends
  // above the horizon altitude within the day. Known on every row but a failed one.
  bool day_length_known = false;
  double day_length = 0;  // hours
  std::string day_length_text;
  // When the sun is above the horizon altitude, and above the twilight's altitude.
  std::vector<Stretch> daylight, twilight_light;
  // With a twilight: the sun passing its altitude, morning and evening, and why they are missing.
  EventTime dawn, dusk;
  SunOutcome twilight_status = SunOutcome::Complete;
  std::string twilight_note;
  // With a time of day: the sun then, geometric and apparent elevation.
  EventTime at;
  AngleValue at_azimuth, at_elevation, at_apparent_elevation;
  // With golden or blue hours: the sun entering and leaving the band in the morning and in the
  // evening.
  struct BandTimes {
    EventTime morning_start, morning_end, evening_start, evening_end;
  };
  BandTimes golden, blue;
  // With the moon: its rises, upper transits and sets within the day, the name of its phase,
  // and its light at 12:00 of the day's clock.
  struct MoonDay {
    EventTime rise, transit, set;
    EventTime principal;  // the principal phase the day holds
    // With a time of day: the moon then, and its illuminated fraction.
    AngleValue at_azimuth, at_elevation, at_apparent_elevation;
    std::optional<double> at_illuminated;
    AngleValue rise_azimuth, transit_elevation, set_azimuth;
    std::string phase;
    bool light_known = false;
    double illuminated = 0;  // fraction of the disc, 0 to 1
    double age = 0;          // days since the last new moon
  };
  MoonDay moon;
};

// Adds a clause to the row's note.
void AddNote(SunRow& row, const std::string& text);

// The universal moment of an event shown on a clock, to the second.
std::chrono::sys_seconds MomentOfEvent(const EventTime& e);

// "complete", "no sunrise", "no sunset", "fault"
std::string_view StatusName(SunOutcome status);

}  // namespace orvalin
