#include "cli/table/table_columns.h"

#include <utility>

#include "common/out_text.h"
#include "engine/helpers.h"

namespace orvalin::table {
namespace {

Cell Plain(std::string text) { return {true, std::move(text)}; }
Cell Of(const LocalTime& t) { return {true, TimeText(t.hours), t.hours, t.date, t.offset_seconds}; }
Cell Of(const EventTime& e) {
  Cell cell{e.known, e.text, e.local.hours, e.local.date, e.local.offset_seconds};
  for (const LaterEvent& later : e.later) cell.more.push_back(Of(later.local));
  return cell;
}
Cell Of(const AngleValue& a) { return {a.known, a.text, a.degrees}; }
// An event's azimuth, with those of the day's later events of the kind.
Cell Of(const AngleValue& a, const EventTime& e) {
  Cell cell = Of(a);
  for (const LaterEvent& later : e.later) cell.more.push_back(Of(AngleValue{true, later.azimuth, AngleText(later.azimuth)}));
  return cell;
}

// "Waxing Crescent", the longest name of a phase.
constexpr int kLongestPhaseName = 15;
// The moon's light: the fraction to 0.0001 of the disc, the age to 9 s.
constexpr int kLightDigits = 4;
Cell Light(bool known, double value) {
  return {known, known ? Decimal(value, kLightDigits) : std::string(), value};
}

// Short, for the readable table: what the note says at length.
std::string ShortNote(const SunRow& r, bool twilight) {
  if (r.event_elsewhere)
    return r.status == SunOutcome::NoSunrise ? "no sunrise in UT day" : "no sunset in UT day";
  if (r.status == SunOutcome::NoSunset) return "sun up all day";
  if (r.status == SunOutcome::NoSunrise) return "sun down all day";
  if (r.status == SunOutcome::Fault) return r.note;
  if (twilight && r.twilight_status == SunOutcome::NoSunset) return "twilight all night";
  if (twilight && r.twilight_status == SunOutcome::Fault) return r.twilight_note;
  std::string note;
  const std::pair<const EventTime*, const char*> events[] = {{&r.sunrise, "sunrise"},
                                                             {&r.culmination, "culmination"},
                                                             {&r.sunset, "sunset"},
                                                             {&r.dawn, "dawn"},
                                                             {&r.dusk, "dusk"}};
  const auto add = [&note](const EventTime& e, const char* name) {
    if (e.count == 1) return;
    note += (note.empty() ? "" : ", ") + std::string(e.count == 0 ? "no " : "2 ") + name +
            (e.count > 1 ? "s" : "");
  };
  for (const auto& [e, name] : events) {
    if (twilight || (e != &r.dawn && e != &r.dusk)) add(*e, name);
  }
  // The moon skips a rise or a set about once a month: the readable table says so as well.
  if (r.moon.light_known) {
    add(r.moon.rise, "moonrise");
    add(r.moon.set, "moonset");
  }
  return note;
}

// The table's columns in their order: a new column is one line here.
const Column kColumns[] = {
    {"place", "", "", Kind::Plain, kCsv | kJson,
     [](const Context& c) { return Plain(c.place.name); }},
    {"country", "", "", Kind::Plain, kCsv | kJson,
     [](const Context& c) { return Plain(c.place.country); }},
    {"zone", "", "", Kind::Plain, kCsv | kJson,
     [](const Context& c) {
       return Cell{!c.place.zone.empty(), c.place.zone};
     }},
    {"latitude_deg", "", "", Kind::Number, kCsv,
     [](const Context& c) { return Plain(Decimal(c.place.latitude.Degrees(), kTableDigits)); }},
    {"longitude_deg", "", "", Kind::Number, kCsv,
     [](const Context& c) { return Plain(Decimal(c.place.longitude.East(), kTableDigits)); }},
    {"date", "Date", "", Kind::Plain, kReadable | kCsv | kJson,
     [](const Context& c) { return Plain(IsoDate(c.row.date)); }},
    {"date_text", "Date", "", Kind::Plain, kWindow | kCsv | kJson,
     [](const Context& c) { return Plain(DateText(c.row.date)); }},
    {"clock", "", "", Kind::Plain, kCsv, [](const Context& c) { return Plain(c.clock.Name()); }},
    {"status", "", "", Kind::Plain, kCsv | kJson,
     [](const Context& c) { return Plain(std::string(StatusName(c.row.status))); }},
    {"dawn", "Dawn", "", Kind::Event, kAll | kTwilight,
     [](const Context& c) { return Of(c.row.dawn); }},
    {"sunrise", "Sunrise", "", Kind::Event, kAll,
     [](const Context& c) { return Of(c.row.sunrise); }},
    {"sunrise_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kReadableWithoutTwilight,
     [](const Context& c) { return Of(c.row.sunrise_azimuth, c.row.sunrise); }},
    {"culmination", "Culmination", "Culmin.", Kind::Event, kAll,
     [](const Context& c) { return Of(c.row.culmination); }},
    {"culmination_azimuth", "Azimuth", "", Kind::Degrees, kWindow | kCsv | kJson,
     [](const Context& c) { return Of(c.row.culmination_azimuth, c.row.culmination); }},
    {"sunset", "Sunset", "", Kind::Event, kAll, [](const Context& c) { return Of(c.row.sunset); }},
    {"sunset_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kReadableWithoutTwilight,
     [](const Context& c) { return Of(c.row.sunset_azimuth, c.row.sunset); }},
    {"dusk", "Dusk", "", Kind::Event, kAll | kTwilight,
     [](const Context& c) { return Of(c.row.dusk); }},
    {"day_length", "Day length", "Length", Kind::Hours, kAll,
     [](const Context& c) {
       return Cell{c.row.day_length_known, c.row.day_length_text, c.row.day_length};
     }},
    {"elevation", "Elevation", "Elev.", Kind::Degrees, kAll,
     [](const Context& c) { return Of(c.row.elevation); }},
    {"moonrise", "Moonrise", "", Kind::Event, kAll | kMoon,
     [](const Context& c) { return Of(c.row.moon.rise); }},
    {"moonrise_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kMoon,
     [](const Context& c) { return Of(c.row.moon.rise_azimuth, c.row.moon.rise); }},
    {"moon_transit", "Transit", "", Kind::Event, kAll | kMoon,
     [](const Context& c) { return Of(c.row.moon.transit); }},
    {"moon_transit_elevation", "Elevation", "Elev.", Kind::Degrees, kAll | kMoon,
     [](const Context& c) { return Of(c.row.moon.transit_elevation, c.row.moon.transit); }},
    {"moonset", "Moonset", "", Kind::Event, kAll | kMoon,
     [](const Context& c) { return Of(c.row.moon.set); }},
    {"moonset_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kMoon,
     [](const Context& c) { return Of(c.row.moon.set_azimuth, c.row.moon.set); }},
    {"moon_phase", "Phase", "", Kind::Plain, kAll | kMoon,
     [](const Context& c) {
       return Cell{c.row.moon.light_known, c.row.moon.phase};
     },
     Fill::Padded, kLongestPhaseName},
    {"moon_illumination", "Illum.", "", Kind::Number, kAll | kMoon,
     [](const Context& c) { return Light(c.row.moon.light_known, c.row.moon.illuminated); }},
    {"moon_age_days", "", "", Kind::Number, kCsv | kJson | kMoon,
     [](const Context& c) { return Light(c.row.moon.light_known, c.row.moon.age); }},
    {"at", "At", "", Kind::Event, kAll | kAt, [](const Context& c) { return Of(c.row.at); }},
    {"at_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kAt,
     [](const Context& c) { return Of(c.row.at_azimuth); }},
    {"at_elevation", "Elevation", "Elev.", Kind::Degrees, kAll | kAt,
     [](const Context& c) { return Of(c.row.at_elevation); }},
    {"at_apparent_elevation", "Apparent", "App.", Kind::Degrees, kAll | kAt,
     [](const Context& c) { return Of(c.row.at_apparent_elevation); }},
    {"at_moon_azimuth", "Moon az.", "", Kind::Degrees, kAll | kAt | kMoon,
     [](const Context& c) { return Of(c.row.moon.at_azimuth); }},
    {"at_moon_elevation", "Moon elev.", "", Kind::Degrees, kAll | kAt | kMoon,
     [](const Context& c) { return Of(c.row.moon.at_elevation); }},
    {"at_moon_apparent_elevation", "Moon app.", "", Kind::Degrees, kAll | kAt | kMoon,
     [](const Context& c) { return Of(c.row.moon.at_apparent_elevation); }},
    {"at_moon_illumination", "Illum.", "", Kind::Number, kAll | kAt | kMoon,
     [](const Context& c) {
       const auto& light = c.row.moon.at_illuminated;
       return Light(light.has_value(), light.value_or(0));
     }},
    {"golden_morning_start", "Golden am", "Gold am", Kind::Event, kAll | kGolden,
     [](const Context& c) { return Of(c.row.golden.morning_start); }},
    {"golden_morning_end", "to", "", Kind::Event, kAll | kGolden,
     [](const Context& c) { return Of(c.row.golden.morning_end); }},
    {"golden_evening_start", "Golden pm", "Gold pm", Kind::Event, kAll | kGolden,
     [](const Context& c) { return Of(c.row.golden.evening_start); }},
    {"golden_evening_end", "to", "", Kind::Event, kAll | kGolden,
     [](const Context& c) { return Of(c.row.golden.evening_end); }},
    {"blue_morning_start", "Blue am", "", Kind::Event, kAll | kBlue,
     [](const Context& c) { return Of(c.row.blue.morning_start); }},
    {"blue_morning_end", "to", "", Kind::Event, kAll | kBlue,
     [](const Context& c) { return Of(c.row.blue.morning_end); }},
    {"blue_evening_start", "Blue pm", "", Kind::Event, kAll | kBlue,
     [](const Context& c) { return Of(c.row.blue.evening_start); }},
    {"blue_evening_end", "to", "", Kind::Event, kAll | kBlue,
     [](const Context& c) { return Of(c.row.blue.evening_end); }},
    {"note", "Note", "", Kind::Plain, kWindow | kCsv | kJson,
     [](const Context& c) {
       return Cell{!c.row.note.empty(), c.row.note};
     },
     Fill::EndsLine},
    {"twilight_note", "", "", Kind::Plain, kCsv | kJson | kTwilight,
     [](const Context& c) {
       return Cell{!c.row.twilight_note.empty(), c.row.twilight_note};
     }},
    {"note", "Note", "", Kind::Plain, kReadable,
     [](const Context& c) { return Plain(ShortNote(c.row, c.twilight)); }, Fill::EndsLine},
};

}  // namespace

std::span<const Column> TableColumns() { return kColumns; }

}  // namespace orvalin::table
