#include "cli/table_format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "cli/out_text.h"
#include "cli/tool_errors.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

constexpr int kDigits = 6;             // hours to 4 ms, degrees to 0.004"
constexpr int kTextDegrees = 1;        // decimals of the text table's angles
constexpr int kWindowTimeWidth = 15;   // " 23h 59mn 59.9s"
constexpr int kWindowAngleWidth = 16;  // "  327° 43' 1.96\""
constexpr int kDateWidth = 10;         // "2027-03-01"
constexpr int kAngleWidth = 5;         // "327.7"
constexpr int kSecondsWidth = 8;       // "07:15:49"
constexpr int kMinutesWidth = 5;       // "07:15"

// How a column's value spreads over the formats: a plain text, a plain decimal, or the window's
// text beside a decimal (and, for an event, its date on the clock).
enum class Kind { Plain, Number, Event, Degrees, Hours };

// One value of a row; `known` false leaves cells empty and makes JSON null.
struct Cell {
  bool known = false;
  std::string text;  // the window's text, or the plain value
  double number = 0;
  Day date{};              // Event: its date on the table's clock
  int offset_seconds = 0;  // Event: the clock's offset then
};

Cell Plain(std::string text) { return {true, std::move(text)}; }
Cell Of(const EventTime& e) {
  return {e.known, e.text, e.local.hours, e.local.date, e.local.offset_seconds};
}
Cell Of(const AngleValue& a) { return {a.known, a.text, a.degrees}; }

bool IsPlain(Kind kind) { return kind == Kind::Plain || kind == Kind::Number; }

struct Context {
  const SunRow& row;
  const TablePlace& place;
  const Clock& clock;
  bool twilight;
};

// Where a column appears: the readable text table, the window's texts, CSV, JSON; only with a
// twilight; in the readable table only without one, to keep it within 100 columns.
enum Shown : unsigned {
  kReadable = 1,
  kWindow = 2,
  kCsv = 4,
  kJson = 8,
  kAll = 15,
  kTwilight = 16,
  kReadableWithoutTwilight = 32,
  kAt = 64,       // only with a time of day
  kGolden = 128,  // only with golden hours
  kBlue = 256,    // only with blue hours
};

struct Column {
  std::string_view key;           // CSV header and JSON member
  std::string_view header;        // in the window's texts
  std::string_view short_header;  // in the readable table, when shorter than the header
  Kind kind;
  unsigned shown;
  Cell (*value)(const Context&);
};

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
  for (const auto& [e, name] : events) {
    if (e->count == 1 || (!twilight && (e == &r.dawn || e == &r.dusk))) continue;
    note += (note.empty() ? "" : ", ") + std::string(e->count == 0 ? "no " : "2 ") + name +
            (e->count > 1 ? "s" : "");
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
     [](const Context& c) { return Plain(Decimal(c.place.latitude, kDigits)); }},
    {"longitude_deg", "", "", Kind::Number, kCsv,
     [](const Context& c) { return Plain(Decimal(-c.place.longitude_west, kDigits)); }},
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
     [](const Context& c) { return Of(c.row.sunrise_azimuth); }},
    {"culmination", "Culmination", "Culmin.", Kind::Event, kAll,
     [](const Context& c) { return Of(c.row.culmination); }},
    {"culmination_azimuth", "Azimuth", "", Kind::Degrees, kWindow | kCsv | kJson,
     [](const Context& c) { return Of(c.row.culmination_azimuth); }},
    {"sunset", "Sunset", "", Kind::Event, kAll, [](const Context& c) { return Of(c.row.sunset); }},
    {"sunset_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kReadableWithoutTwilight,
     [](const Context& c) { return Of(c.row.sunset_azimuth); }},
    {"dusk", "Dusk", "", Kind::Event, kAll | kTwilight,
     [](const Context& c) { return Of(c.row.dusk); }},
    {"day_length", "Day length", "Length", Kind::Hours, kAll,
     [](const Context& c) {
       return Cell{c.row.day_length_known, c.row.day_length_text, c.row.day_length};
     }},
    {"elevation", "Elevation", "Elev.", Kind::Degrees, kAll,
     [](const Context& c) { return Of(c.row.elevation); }},
    {"at", "At", "", Kind::Event, kAll | kAt, [](const Context& c) { return Of(c.row.at); }},
    {"at_azimuth", "Azimuth", "Az.", Kind::Degrees, kAll | kAt,
     [](const Context& c) { return Of(c.row.at_azimuth); }},
    {"at_elevation", "Elevation", "Elev.", Kind::Degrees, kAll | kAt,
     [](const Context& c) { return Of(c.row.at_elevation); }},
    {"at_apparent_elevation", "Apparent", "App.", Kind::Degrees, kAll | kAt,
     [](const Context& c) { return Of(c.row.at_apparent_elevation); }},
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
     }},
    {"twilight_note", "", "", Kind::Plain, kCsv | kJson | kTwilight,
     [](const Context& c) {
       return Cell{!c.row.twilight_note.empty(), c.row.twilight_note};
     }},
    {"note", "Note", "", Kind::Plain, kReadable,
     [](const Context& c) { return Plain(ShortNote(c.row, c.twilight)); }},
};

std::string TextOf(const Column& c, const Cell& cell, const TableStyle& style) {
  if (!cell.known) return {};
  if (style.window_texts || IsPlain(c.kind)) return cell.text;
  if (c.kind == Kind::Degrees) return Decimal(cell.number, kTextDegrees);
  return ClockText(cell.number, style.minutes, c.kind == Kind::Event);
}

std::string_view Header(const Column& c, const TableStyle& style) {
  return style.window_texts || c.short_header.empty() ? c.header : c.short_header;
}

int TextWidth(const Column& c, const TableStyle& style) {
  int value = 0;
  switch (c.kind) {
    case Kind::Plain:
    case Kind::Number:
      value = c.key == "note" ? 0 : kDateWidth;  // the note ends the line unpadded
      break;
    case Kind::Event:
    case Kind::Hours:
      value = style.window_texts ? kWindowTimeWidth : style.minutes ? kMinutesWidth : kSecondsWidth;
      break;
    case Kind::Degrees:
      value = style.window_texts ? kWindowAngleWidth : kAngleWidth;
      break;
  }
  return std::max(value, static_cast<int>(Header(c, style).size()));
}

bool Present(const Column& c, const TableStyle& style, Shown where) {
  if ((c.shown & where) == 0) return false;
  const bool twilight = style.sun.twilight.has_value();
  if ((c.shown & kTwilight) && !twilight) return false;
  if (((c.shown & kAt) && !style.sun.at) || ((c.shown & kGolden) && !style.sun.golden) ||
      ((c.shown & kBlue) && !style.sun.blue)) {
    return false;
  }
  return !(where == kReadable && twilight && (c.shown & kReadableWithoutTwilight));
}

bool InText(const Column& c, const TableStyle& style) {
  return Present(c, style, style.window_texts ? kWindow : kReadable);
}

std::string TextLine(const TableStyle& style,
                     const std::function<std::string(const Column&)>& text) {
  std::string line;
  for (const Column& c : kColumns) {
    if (!InText(c, style)) continue;
    const std::string cell = text(c);
    const auto width = static_cast<std::size_t>(TextWidth(c, style));
    const std::string fill(width - std::min(width, CharacterCount(cell)), ' ');
    if (!line.empty()) line += "  ";
    line += IsPlain(c.kind) ? cell + fill : fill + cell;
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line + '\n';
}

// The suffix of the decimal beside the window's text: CSV "_deg", JSON "degrees".
std::string_view CsvSuffix(Kind kind) { return kind == Kind::Degrees ? "_deg" : "_h"; }
std::string_view JsonNumberKey(Kind kind) { return kind == Kind::Degrees ? "degrees" : "hours"; }

std::string CsvHeader(const TableStyle& style) {
  std::string header;
  for (const Column& c : kColumns) {
    if (!Present(c, style, kCsv)) continue;
    if (!header.empty()) header += ',';
    header += c.key;
    if (c.kind == Kind::Event) header += ',' + std::string(c.key) + "_date";
    if (!IsPlain(c.kind)) header += ',' + std::string(c.key) + std::string(CsvSuffix(c.kind));
    if (c.kind == Kind::Event) header += ',' + std::string(c.key) + "_time";
  }
  return header;
}

std::string CsvCells(Kind kind, const Cell& cell) {
  switch (kind) {
    case Kind::Plain:
      return cell.known ? CsvCell(cell.text) : std::string();
    case Kind::Number:
      return cell.text;  // a decimal: a spreadsheet must read "-68.3" as the number it is
    case Kind::Event:
      if (!cell.known) return ",,,";
      return CsvCell(cell.text) + ',' + IsoDate(cell.date) + ',' + Decimal(cell.number, kDigits) +
             ',' + IsoTimestamp(cell.date, cell.number, cell.offset_seconds);
    case Kind::Degrees:
    case Kind::Hours:
      if (!cell.known) return ",";
      return CsvCell(cell.text) + ',' + Decimal(cell.number, kDigits);
  }
  return {};
}

std::string CsvLine(const Context& context, const TableStyle& style) {
  std::string line;
  const char* separator = "";
  for (const Column& c : kColumns) {
    if (!Present(c, style, kCsv)) continue;
    line += separator + CsvCells(c.kind, c.value(context));
    separator = ",";
  }
  return line + '\n';
}

// An ISO 8601 date or time as a JSON string: it holds nothing JSON escapes.
std::string JsonIso(std::string iso) { return '"' + std::move(iso) + '"'; }

std::string JsonValue(Kind kind, const Cell& cell) {
  if (!cell.known) return "null";
  if (IsPlain(kind)) return JsonString(cell.text);
  std::string object = "{\"text\": " + JsonString(cell.text);
  if (kind == Kind::Event) object += ", \"date\": " + JsonIso(IsoDate(cell.date));
  object += ", \"" + std::string(JsonNumberKey(kind)) + "\": " + Decimal(cell.number, kDigits);
  if (kind == Kind::Event) {
    object += ", \"time\": " + JsonIso(IsoTimestamp(cell.date, cell.number, cell.offset_seconds));
  }
  return object + "}";
}

std::string JsonRow(const Context& context, const TableStyle& style) {
  std::string object;
  for (const Column& c : kColumns) {
    if (!Present(c, style, kJson)) continue;
    object += object.empty() ? "{" : ", ";
    object += "\"" + std::string(c.key) + "\": " + JsonValue(c.kind, c.value(context));
  }
  return object + "}";
}

std::string JsonPlace(const TablePlace& place) {
  return "{\"name\": " + JsonString(place.name) + ", \"country\": " + JsonString(place.country) +
         ", \"latitude\": " + JsonString(place.latitude_text) +
         ", \"longitude\": " + JsonString(place.longitude_text) +
         ", \"latitude_deg\": " + Decimal(place.latitude, kDigits) +
         ", \"longitude_deg\": " + Decimal(-place.longitude_west, kDigits) +
         ", \"longitude_west_deg\": " + Decimal(place.longitude_west, kDigits) +
         ", \"gmt\": " + (place.gmt_hours ? std::to_string(*place.gmt_hours) : "null") +
         ", \"zone\": " + (place.zone.empty() ? "null" : JsonString(place.zone)) + "}";
}

// The clock's and the altitudes' members, each followed by a comma and `separator`.
// The horizon altitude in use: as given, or to a ten-thousandth of a degree once lowered by the
// dip of an observer's height.
std::string HorizonText(const SunSettings& sun, bool window_texts = false) {
  if (sun.observer_metres > 0) return Decimal(sun.horizon, 4);
  return window_texts ? NumberText(sun.horizon) : ShortestDecimal(sun.horizon);
}

std::string JsonClock(const Clock& clock, const SunSettings& sun, std::string_view separator) {
  const std::string next = "," + std::string(separator);
  return "\"clock\": " + JsonString(clock.Name()) + next +
         "\"clock_description\": " + JsonString(clock.Description()) + next +
         "\"horizon_deg\": " + HorizonText(sun) + next +
         (sun.observer_metres > 0
              ? "\"observer_elevation_m\": " + ShortestDecimal(sun.observer_metres) + next
              : "") +
         (sun.twilight ? "\"twilight_deg\": " + ShortestDecimal(*sun.twilight) + next : "");
}

void TextHeading(std::ostream& out, const TablePlace& place, const Clock& clock,
                 const TableStyle& style) {
  out << place.Label() << '\n';
  const std::string horizon =
      HorizonText(style.sun, style.window_texts) +
      (style.sun.observer_metres > 0 ? "\xC2\xB0 (lowered by the dip of the horizon " +
                                           ShortestDecimal(style.sun.observer_metres) + " m up)"
                                     : "\xC2\xB0");
  const std::string twilight =
      style.sun.twilight ? "; dawn and dusk at " + ShortestDecimal(*style.sun.twilight) + "\xC2\xB0"
                         : "";
  if (style.window_texts) {
    out << "Times in " << clock.Description() << "; true azimuths; sunrise and sunset at a"
        << " horizon altitude of " << horizon << twilight << ".\n\n";
  } else {
    out << "Times in " << clock.Description() << ".\n"
        << "True azimuths in degrees; sunrise and sunset at a horizon altitude of " << horizon
        << twilight << ".\n\n";
  }
  out << TextLine(style, [&](const Column& c) { return std::string(Header(c, style)); });
}

}  // namespace

TableFormat ParseTableFormat(std::string_view option, std::string_view text) {
  if (text == "text") return TableFormat::Text;
  if (text == "csv") return TableFormat::Csv;
  if (text == "json") return TableFormat::Json;
  if (text == "ics") return TableFormat::Ics;
  throw BadUsage(std::string(option) + " \"" + std::string(text) +
                 "\": expected text, csv, json or ics");
}

TableWriter::TableWriter(std::ostream& out, const TableStyle& style) : out_(out), style_(style) {
  if (style_.format == TableFormat::Csv) out_ << CsvHeader(style_) << '\n';
  if (style_.format == TableFormat::Json && style_.many_places) out_ << "{\n  \"places\": [";
  if (style_.format == TableFormat::Ics) {
    ics_.emplace(out_, std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
  }
}

void TableWriter::BeginPlace(const TablePlace& place, const Clock& clock) {
  const bool first = places_++ == 0;
  place_ = &place;
  clock_ = &clock;
  switch (style_.format) {
    case TableFormat::Text:
      if (!first) out_ << '\n';
      TextHeading(out_, place, clock, style_);
      break;
    case TableFormat::Csv:
    case TableFormat::Ics:
      break;
    case TableFormat::Json:
      if (style_.many_places) {
        if (!first) out_ << (rows_ == 0 ? "]}," : "\n    ]},");
        out_ << "\n    {\"place\": " << JsonPlace(place) << ",\n    "
             << JsonClock(clock, style_.sun, " ") << "\"days\": [";
      } else {
        out_ << "{\n  \"place\": " << JsonPlace(place) << ",\n  "
             << JsonClock(clock, style_.sun, "\n  ") << "\"days\": [";
      }
      break;
  }
  rows_ = 0;
}

void TableWriter::Row(const SunRow& row) {
  const Context context{row, *place_, *clock_, style_.sun.twilight.has_value()};
  switch (style_.format) {
    case TableFormat::Text:
      out_ << TextLine(style_,
                       [&](const Column& c) { return TextOf(c, c.value(context), style_); });
      break;
    case TableFormat::Csv:
      out_ << CsvLine(context, style_);
      break;
    case TableFormat::Json:
      out_ << (rows_ == 0 ? "\n" : ",\n") << (style_.many_places ? "      " : "    ")
           << JsonRow(context, style_);
      break;
    case TableFormat::Ics:
      ics_->Row(*place_, row);
      break;
  }
  ++rows_;
}

void TableWriter::Skipped(Day day) {
  if (style_.format != TableFormat::Text) return;
  out_ << (style_.window_texts ? DateText(day) : IsoDate(day)) << "  skipped by the clock of "
       << clock_->Name() << ": that day never came there\n";
}

void TableWriter::End() {
  if (ics_) ics_->End();
  if (style_.format != TableFormat::Json) return;
  if (style_.many_places) {
    if (places_ > 0) out_ << (rows_ == 0 ? "]}" : "\n    ]}");
    out_ << (places_ == 0 ? "]\n}\n" : "\n  ]\n}\n");
  } else {
    out_ << (rows_ == 0 ? "]\n}\n" : "\n  ]\n}\n");
  }
}

void WriteTable(std::ostream& out, TableFormat format, const TablePlace& place, const Clock& clock,
                const std::vector<SunRow>& rows) {
  TableStyle style;
  style.format = format;
  TableWriter writer(out, style);
  writer.BeginPlace(place, clock);
  for (const SunRow& r : rows) writer.Row(r);
  writer.End();
}

const std::string& TableCsvHeader() {
  static const std::string header = CsvHeader(TableStyle{});
  return header;
}

}  // namespace orvalin
